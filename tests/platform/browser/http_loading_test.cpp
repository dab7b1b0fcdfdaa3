// Pages over HTTP from a server on the loopback interface started by the
// test: redirects, the charset of the Content-Type header, and a form
// posted back in that charset.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/win/text.h"
#include "tests/platform/browser/browser_test_support.h"

namespace browser_test {

namespace {

// Answers one request per connection until stopped; remembers
// "METHOD PATH BODY" of each.
class LoopbackServer {
public:
    LoopbackServer() {
        m_socket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(m_socket, 8) != 0 ||
            getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~LoopbackServer() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        close(m_socket);
    }
    int Port() const { return m_port; }
    std::vector<std::string> Requests() {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    void Serve() {
        while (!m_stop) {
            pollfd waiting{m_socket, POLLIN, 0};
            if (poll(&waiting, 1, 50) <= 0) continue;
            const int connection = accept(m_socket, nullptr, nullptr);
            if (connection < 0) continue;
            Answer(connection);
            close(connection);
        }
    }

    void Answer(int connection) {
        std::string request;
        char buffer[4096];
        std::size_t headerEnd = std::string::npos, wanted = 0;
        while (headerEnd == std::string::npos || request.size() < headerEnd + 4 + wanted) {
            const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0) return;
            request.append(buffer, static_cast<std::size_t>(got));
            headerEnd = request.find("\r\n\r\n");
            if (const std::size_t at = request.find("Content-Length: "); at != std::string::npos)
                wanted = std::stoul(request.substr(at + 16));
        }
        const std::string line = request.substr(0, request.find("\r\n"));
        const std::string method = line.substr(0, line.find(' '));
        const std::string path =
            line.substr(method.size() + 1, line.rfind(' ') - method.size() - 1);
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(method + " " + path + " " + request.substr(headerEnd + 4));
        }
        std::string head, body;
        if (path == "/old") {
            head = "HTTP/1.1 302 Found\r\nLocation: /page.html\r\n";
        } else if (path == "/page.html") {
            head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=windows-1252\r\n";
            body =
                "<title>Caf\xe9</title><form method=post action='/submit'>"
                "<input name=who value=x><input type=submit id=send></form>";
        } else if (path == "/submit") {
            head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n";
            body = "<title>Thanks \xe2\x9c\x93</title>";
        } else {
            head = "HTTP/1.1 404 Not Found\r\nContent-Type: text/html\r\n";
            body = "<title>Nothing here</title>";
        }
        const std::string response = head + "Content-Length: " + std::to_string(body.size()) +
                                     "\r\nConnection: close\r\n\r\n" + body;
        send(connection, response.data(), response.size(), MSG_NOSIGNAL);
    }

    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<std::string> m_requests;
};

class HttpLoading : public BrowserTest {
protected:
    std::u16string Address(const std::string& path) {
        return Utf8ToUtf16("http://127.0.0.1:" + std::to_string(m_server.Port()) + path);
    }
    LoopbackServer m_server;
};

TEST_F(HttpLoading, RedirectsAreFollowedAndTheHeaderCharsetDecodesThePage) {
    ASSERT_NE(0, m_server.Port());
    browser::BrowserWindow& window = Open(Address("/old"));
    EXPECT_EQ(u"Caf\u00e9", window.Title());
    EXPECT_EQ(Address("/page.html"), window.Url());
    EXPECT_EQ(u"windows-1252", window.Document()->Charset());
}

TEST_F(HttpLoading, AFormIsPostedInThePagesCharset) {
    ASSERT_NE(0, m_server.Port());
    browser::BrowserWindow& window = Open(Address("/page.html"));
    EXPECT_EQ("", window.Type(Element(window, u"[name=who]"), u"Zo\u00eb & co"));
    EXPECT_EQ("", window.Click(Element(window, u"#send")));
    EXPECT_EQ(u"Thanks \u2713", window.Title());
    EXPECT_EQ(Address("/submit"), window.Url());
    const std::vector<std::string> requests = m_server.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("POST /submit who=Zo%EB+%26+co", requests[1]);
}

TEST_F(HttpLoading, AnErrorAnswerStillShowsTheServersPage) {
    ASSERT_NE(0, m_server.Port());
    browser::BrowserWindow& window = Open(Address("/gone"));
    EXPECT_EQ(u"Nothing here", window.Title());
}

}  // namespace

}  // namespace browser_test
