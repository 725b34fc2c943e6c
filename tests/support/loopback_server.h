#pragma once
// A real HTTP server on 127.0.0.1 in the test process (cpp-httplib), on a
// free port, running on its own thread until the object dies.
#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

namespace cd::test {

class LoopbackServer {
public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    /// Register handlers before start().
    httplib::Server& server() { return server_; }
    void start();
    void stop();

    int port() const { return port_; }
    /// "127.0.0.1:PORT", what the configuration takes as a host.
    std::string host() const;
    /// "http://127.0.0.1:PORT" + path.
    std::string url(const std::string& path) const;

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

}  // namespace cd::test
