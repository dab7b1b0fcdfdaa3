// Serves the session's virtual hosts (BrowserSession::MapHost) to the live
// engine: Chromium resolves every *.test host, and the hosts mapped before
// the engine started, to this loopback server, which answers from the
// mapped folder as the embedded engine's loader does (page_loader.h).
// Plain HTTP only, one request per connection.
#pragma once

#include <QStringList>
#include <QTcpServer>

namespace webengine {

class VirtualHostServer final : public QTcpServer {
public:
    VirtualHostServer();
    // Listens on a free loopback port; false when it cannot.
    bool Start();
    // Chromium's host resolver rules that send the hosts here.
    QString ResolverRules(const QStringList& extraHosts) const;

private:
    void Serve(QTcpSocket* socket);
};

// The response for one request (the request's bytes up to and with its
// body): status line, headers and body.
QByteArray VirtualHostResponse(const QByteArray& request);

}  // namespace webengine
