#pragma once
// A loopback TCP server that answers each path with exact bytes at exact
// times: a head that drips a line a second, a body that drips a byte at a
// time, a lying Content-Length, silence after the request. A real HTTP
// server cannot be made to misbehave like that, and real servers do.
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cd::test {

struct ScriptStep {
    std::chrono::milliseconds wait{0};  // before the bytes are sent
    std::string bytes;
};

struct Script {
    std::vector<ScriptStep> steps;
    /// Plays the steps again and again until the client goes.
    bool repeat = false;
    /// After the last step: keep the connection open and silent (true) or close it.
    bool hangAtEnd = false;
};

/// A response head with the given status, type and extra header lines.
std::string httpHead(int status, const std::string& contentType, const std::string& extra = {});

class ScriptServer {
public:
    ScriptServer();
    ~ScriptServer();
    ScriptServer(const ScriptServer&) = delete;
    ScriptServer& operator=(const ScriptServer&) = delete;

    /// What a request for path gets (set before the request comes).
    void on(const std::string& path, Script script);
    std::string url(const std::string& path) const;
    std::string host() const;
    int port() const { return port_; }
    /// Requests that have come for path so far.
    int requests(const std::string& path) const;

private:
    void acceptLoop();
    void serve(int fd);
    bool pause(std::chrono::milliseconds d) const;

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, Script> scripts_;
    std::map<std::string, int> counts_;
    std::thread acceptor_;
    std::vector<std::thread> workers_;
    std::vector<int> open_;
};

}  // namespace cd::test
