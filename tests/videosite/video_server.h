#pragma once
// A loopback video site for the tests: answers every GET with the page the
// test registered for its raw target (path and query as sent), and records
// the targets in the order they arrived.
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "support/loopback_server.h"

namespace cd::test {

class VideoServer {
public:
    VideoServer() {
        server_.server().Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard<std::mutex> lock(mutex_);
            targets_.push_back(req.target);
            const auto it = pages_.find(req.target);
            res.set_content(it == pages_.end() ? std::string() : it->second, "text/html");
        });
        server_.start();
    }

    std::string host() const { return server_.host(); }
    void stop() { server_.stop(); }

    /// The body served for exactly this target.
    void page(const std::string& target, std::string body) {
        std::lock_guard<std::mutex> lock(mutex_);
        pages_[target] = std::move(body);
    }
    std::vector<std::string> targets() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return targets_;
    }
    void clearTargets() {
        std::lock_guard<std::mutex> lock(mutex_);
        targets_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string> pages_;
    std::vector<std::string> targets_;
    // Last, so it stops before the state its handler uses goes away.
    LoopbackServer server_;
};

}  // namespace cd::test
