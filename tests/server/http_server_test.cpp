// The HTTP side of the server over raw loopback sockets: what well-behaved
// clients do (keep-alive, pipelining, HEAD) and what broken or hostile ones
// do (garbage, slow heads, bodies where none belong).
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "server_test_support.h"

namespace cd::server::test {
namespace {

class HttpServer : public testing::Test {
protected:
    void start(http::ServerLimits limits = {}) { server_ = std::make_unique<InProcessServer>(clock_, "", 0, limits); }

    int connectTo() const {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<std::uint16_t>(server_->port()));
        ::inet_pton(AF_INET, "127.0.0.1", &a.sin_addr);
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        return fd;
    }
    static void send(int fd, const std::string& bytes) {
        ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
    }
    // Everything the server sends until it closes, or until nothing comes for a while.
    static std::string readAll(int fd, int quietMs = 3000) {
        std::string out;
        char buf[4096];
        pollfd p{fd, POLLIN, 0};
        while (::poll(&p, 1, quietMs) > 0) {
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0) break;
            out.append(buf, static_cast<std::size_t>(n));
        }
        return out;
    }
    static int count(const std::string& s, const std::string& what) {
        int n = 0;
        for (auto at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
        return n;
    }

    FakeClock clock_;
    std::unique_ptr<InProcessServer> server_;
};

// Catches pipelined requests answered out of order or dropped, a kept-alive
// connection closed after one answer, and HEAD answered with a body.
TEST_F(HttpServer, KeepAliveAndPipelinedRequestsAreAnsweredInOrder) {
    start();
    const int fd = connectTo();
    std::string requests;
    for (int i = 0; i < 5; ++i)
        requests += "GET " + reportTarget("ch" + std::to_string(i), "FAVORITE", "") + " HTTP/1.1\r\nHost: h\r\n\r\n";
    requests += "GET /nothing HTTP/1.1\r\nHost: h\r\n\r\n";
    requests += "HEAD /banner.html HTTP/1.1\r\nHost: h\r\n\r\n";
    requests += "GET /banner.html HTTP/1.1\r\nHost: h\r\nConnection: close\r\n\r\n";
    send(fd, requests);
    const std::string answers = readAll(fd);
    ::close(fd);
    EXPECT_EQ(count(answers, "HTTP/1.1 200 OK"), 7) << answers;
    EXPECT_EQ(count(answers, "HTTP/1.1 404"), 1);
    EXPECT_EQ(count(answers, "<p>banner</p>"), 1) << "HEAD has no body";
    EXPECT_LT(answers.find("HTTP/1.1 404"), answers.rfind("HTTP/1.1 200")) << "in the order asked";
    EXPECT_TRUE(answers.ends_with("<p>banner</p>")) << "closed after the last";
    EXPECT_EQ(server_->store().totals()->favorite, 5);
}

// Catches garbage or a forbidden body answered with anything but a clean
// error and a closed connection, and the server hurt by it.
TEST_F(HttpServer, BrokenRequestsGetAnErrorAndTheConnectionIsClosed) {
    start();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03", 11), "HTTP/1.1 400"},  // TLS on the plain port
        {"GET / HTTP/1.1\r\nHost: h\r\nX: \x01\r\n\r\n", "HTTP/1.1 400"},
        {"GET / HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n", "HTTP/1.1 501"},
        {"GET /banner.html HTTP/1.1\r\nHost: h\r\nContent-Length: 5\r\n\r\nhello", "HTTP/1.1 413"},
        {"POST /owner/login HTTP/1.1\r\nHost: h\r\nContent-Length: 99999\r\n\r\n", "HTTP/1.1 413"},
        {"PUT /webtv/Data.htm HTTP/1.1\r\nHost: h\r\nContent-Length: 50000000\r\n\r\n", "HTTP/1.1 401"},
        {"GET / HTTP/3.0\r\nHost: h\r\n\r\n", "HTTP/1.1 505"},
    };
    for (const auto& [request, expected] : cases) {
        const int fd = connectTo();
        send(fd, request);
        const std::string answer = readAll(fd);
        ::close(fd);
        EXPECT_EQ(answer.rfind(expected, 0), 0u) << request.substr(0, 40) << " -> " << answer.substr(0, 60);
        EXPECT_NE(answer.find("connection: close"), std::string::npos);
    }
    EXPECT_EQ(server_->client()->Get("/banner.html")->status, 200) << "the server still serves";
}

// Catches a client that holds a connection open by sending its head slowly
// (or not at all) forever, and idle kept-alive connections never closed.
TEST_F(HttpServer, SlowAndIdleConnectionsAreClosed) {
    http::ServerLimits limits;
    limits.headTimeout = std::chrono::milliseconds(1000);
    limits.idleTimeout = std::chrono::milliseconds(1000);
    start(limits);
    const int slow = connectTo();
    const int idle = connectTo();
    send(slow, "GET /banner.html HTTP/1.1\r\n");
    const auto begin = std::chrono::steady_clock::now();
    const std::string answer = readAll(slow, 5000);
    EXPECT_EQ(answer.rfind("HTTP/1.1 408", 0), 0u) << answer;
    EXPECT_EQ(readAll(idle, 5000), "") << "closed without a word";
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
    ::close(slow);
    ::close(idle);
}

// Catches connections accepted past the limit and held, which would let
// one client exhaust the server's descriptors.
TEST_F(HttpServer, ConnectionsPastTheLimitAreRefused) {
    http::ServerLimits limits;
    limits.maxConnections = 4;
    start(limits);
    std::vector<int> held;
    for (int i = 0; i < 4; ++i) held.push_back(connectTo());
    send(held[0], "GET /banner.html HTTP/1.1\r\nHost: h\r\n\r\n");
    EXPECT_NE(readAll(held[0], 500).find("200 OK"), std::string::npos) << "the server took the first four";
    const int extra = connectTo();
    const std::string request = "GET /banner.html HTTP/1.1\r\nHost: h\r\n\r\n";
    ::send(extra, request.data(), request.size(), MSG_NOSIGNAL);  // may meet the close already
    EXPECT_EQ(readAll(extra, 2000), "") << "the fifth is closed at once";
    ::close(extra);
    for (const int fd : held) ::close(fd);
    bool servedAgain = false;
    for (int i = 0; i < 50 && !servedAgain; ++i) {
        const auto r = server_->client()->Get("/banner.html");
        servedAgain = r && r->status == 200;
        if (!servedAgain) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(servedAgain) << "closed connections free their places";
}

}  // namespace
}  // namespace cd::server::test
