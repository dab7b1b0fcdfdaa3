#include "platform/webengine/virtual_host_server.h"

#include <QTcpSocket>

#include "platform/browser/browser_session.h"
#include "platform/browser/page_loader.h"

namespace webengine {

namespace {

constexpr qsizetype kMaxRequest = 1 << 20;

QByteArray ContentType(const QByteArray& path, const std::u16string& charset) {
    const QByteArray lower = path.toLower();
    QByteArray type = "application/octet-stream";
    if (lower.endsWith(".html") || lower.endsWith(".htm") || lower.endsWith('/'))
        type = "text/html";
    else if (lower.endsWith(".pdf"))
        type = "application/pdf";
    else if (lower.endsWith(".txt"))
        type = "text/plain";
    else if (lower.endsWith(".css"))
        type = "text/css";
    else if (lower.endsWith(".js"))
        type = "text/javascript";
    else if (lower.endsWith(".png"))
        type = "image/png";
    else if (lower.endsWith(".jpg") || lower.endsWith(".jpeg"))
        type = "image/jpeg";
    else if (lower.endsWith(".gif"))
        type = "image/gif";
    else if (lower.endsWith(".svg"))
        type = "image/svg+xml";
    if (!charset.empty() && type.startsWith("text/"))
        type += "; charset=" + QString::fromStdU16String(charset).toLatin1();
    return type;
}

// Where the head ends, and the whole request's length; -1 while incomplete.
qsizetype RequestLength(const QByteArray& bytes) {
    const qsizetype headEnd = bytes.indexOf("\r\n\r\n");
    if (headEnd < 0) return -1;
    qsizetype length = 0;
    for (const QByteArray& line : bytes.left(headEnd).split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.toLower().startsWith("content-length:"))
            length = trimmed.mid(15).trimmed().toLongLong();
    }
    const qsizetype total = headEnd + 4 + length;
    return bytes.size() >= total ? total : -1;
}

}  // namespace

QByteArray VirtualHostResponse(const QByteArray& request) {
    const QList<QByteArray> lines = request.left(request.indexOf("\r\n\r\n")).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    QByteArray host;
    for (const QByteArray& line : lines)
        if (line.toLower().startsWith("host:")) host = line.mid(5).trimmed();
    const QByteArray target = first.value(1);
    const qsizetype colon = host.indexOf(':');
    if (colon >= 0) host = host.left(colon);
    browser::LoadedPage page;
    const bool mapped = !host.isEmpty() && target.startsWith('/') &&
                        !browser::BrowserSession::Instance()
                             .MappedFolder(QString::fromLatin1(host).toStdU16String())
                             .empty();
    if (mapped) {
        const QString url = QStringLiteral("http://") + QString::fromLatin1(host + target);
        browser::PageRequest get;
        get.url = url.toStdU16String();
        page = browser::LoadPage(get, [](std::u16string_view name) {
            return browser::BrowserSession::Instance().MappedFolder(name);
        });
    }
    const QByteArray path =
        target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?'));
    const QByteArray body =
        mapped ? QByteArray(page.bytes.data(), static_cast<qsizetype>(page.bytes.size()))
               : QByteArray("<html><body>No such host.</body></html>");
    QByteArray response =
        mapped && page.found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n";
    response +=
        "Content-Type: " + (mapped && page.found ? ContentType(path, page.charset) : "text/html") +
        "\r\nContent-Length: " + QByteArray::number(body.size()) +
        "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
    return response + body;
}

VirtualHostServer::VirtualHostServer() {
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection()) Serve(socket);
    });
}

bool VirtualHostServer::Start() {
    return listen(QHostAddress::LocalHost, 0);
}

QString VirtualHostServer::ResolverRules(const QStringList& extraHosts) const {
    const QString to = QStringLiteral(" 127.0.0.1:") + QString::number(serverPort());
    QStringList rules{QStringLiteral("MAP *.test") + to};
    for (const QString& host : extraHosts) rules << QStringLiteral("MAP ") + host + to;
    return rules.join(QLatin1Char(','));
}

void VirtualHostServer::Serve(QTcpSocket* socket) {
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    auto* buffer = new QByteArray();
    connect(socket, &QObject::destroyed, [buffer] { delete buffer; });
    connect(socket, &QTcpSocket::readyRead, socket, [socket, buffer] {
        *buffer += socket->readAll();
        const qsizetype length = RequestLength(*buffer);
        if (length < 0 && buffer->size() < kMaxRequest) return;
        socket->write(VirtualHostResponse(length < 0 ? QByteArray() : buffer->left(length)));
        socket->disconnectFromHost();
    });
}

}  // namespace webengine
