#pragma once
// A loopback server with the pages the fetch tests need: fixed bodies, error
// pages, redirects, slow, stalling and endless streams, a header echo and a
// report recorder. Every stream ends when the client goes away or the server
// object dies, so no test can hang on it.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback_server.h"

namespace cd::test {

class FetchTestServer {
public:
    FetchTestServer() {
        auto& s = loop_.server();
        s.Get("/ten", [](const httplib::Request&, httplib::Response& r) { r.set_content("0123456789", "text/plain"); });
        s.Get("/empty", [](const httplib::Request&, httplib::Response& r) { r.set_content("", "text/plain"); });
        s.Get("/notfound", [](const httplib::Request&, httplib::Response& r) {
            r.status = 404;
            r.set_content("<html><body><h1>page NOT FOUND</h1></body></html>", "text/html");
        });
        s.Get("/terror", [](const httplib::Request&, httplib::Response& r) {
            r.set_content("<html>Welcome to Terror TV</html>", "text/html");
        });
        s.Get("/crlf", [](const httplib::Request&, httplib::Response& r) { r.set_content("\r\n\r\n", "text/plain"); });
        s.Get("/spaces", [](const httplib::Request&, httplib::Response& r) { r.set_content("    ", "text/plain"); });
        s.Get("/bytes", [](const httplib::Request&, httplib::Response& r) {
            r.set_content(allBytes(), "application/octet-stream");
        });
        s.Get("/redirect", [](const httplib::Request&, httplib::Response& r) { r.set_redirect("/ten"); });
        s.Get("/redirect-file", [](const httplib::Request&, httplib::Response& r) {
            r.status = 302;
            r.set_header("Location", "file:///etc/passwd");
            r.set_content("moved", "text/plain");
        });
        s.Get("/loop", [](const httplib::Request&, httplib::Response& r) { r.set_redirect("/loop"); });
        s.Get("/headers", [](const httplib::Request& q, httplib::Response& r) {
            r.set_content("UA=" + q.get_header_value("User-Agent") + "\nCC=" + q.get_header_value("Cache-Control") +
                              "\nPRAGMA=" + q.get_header_value("Pragma") + "\n",
                          "text/plain");
        });
        s.Get("/webtv/getData.asp", [this](const httplib::Request& q, httplib::Response& r) {
            std::lock_guard<std::mutex> lock(mutex_);
            targets_.push_back(q.target);
            items_.push_back(q.get_param_value("strItem"));
            r.set_content("thanks", "text/plain");
        });
        // 10 chunks of 100 bytes, 30 ms apart: a long body in small steps.
        s.Get("/slow", [this](const httplib::Request&, httplib::Response& r) {
            r.set_chunked_content_provider("text/plain", [this](std::size_t offset, httplib::DataSink& sink) {
                if (offset >= 1000 || stop_) {
                    sink.done();
                    return true;
                }
                if (offset > 0) std::this_thread::sleep_for(std::chrono::milliseconds(30));
                const std::string chunk(100, static_cast<char>('a' + offset / 100));
                return sink.write(chunk.data(), chunk.size());
            });
        });
        // As fast as the link goes, forever.
        s.Get("/endless", [this](const httplib::Request&, httplib::Response& r) {
            r.set_chunked_content_provider("text/plain", [this](std::size_t, httplib::DataSink& sink) {
                static const std::string chunk(4096, 'x');
                if (stop_) return false;
                return sink.write(chunk.data(), chunk.size());
            });
        });
        // 16 bytes every 50 ms, forever.
        s.Get("/trickle", [this](const httplib::Request&, httplib::Response& r) {
            r.set_chunked_content_provider("text/plain", [this](std::size_t, httplib::DataSink& sink) {
                if (!pause(std::chrono::milliseconds(50))) return false;
                return sink.write("live stream data", 16);
            });
        });
        // A large body of known bytes, as fast as the link goes.
        s.Get("/pattern", [](const httplib::Request&, httplib::Response& r) {
            r.set_content_provider(kPatternBytes, "application/octet-stream",
                                   [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                       std::string chunk(std::min<std::size_t>(length, 256 * 1024), '\0');
                                       for (std::size_t i = 0; i < chunk.size(); ++i)
                                           chunk[i] = patternByte(offset + i);
                                       return sink.write(chunk.data(), chunk.size());
                                   });
        });
        // Accepts the request and never answers.
        s.Get("/silent", [this](const httplib::Request&, httplib::Response& r) {
            pause(std::chrono::seconds(20));
            r.set_content("too late", "text/plain");
        });
        // Starts a body, then falls silent.
        s.Get("/stall-mid-body", [this](const httplib::Request&, httplib::Response& r) {
            r.set_chunked_content_provider("text/plain", [this](std::size_t offset, httplib::DataSink& sink) {
                if (offset == 0) return sink.write("abc", 3);
                return pause(std::chrono::seconds(20)) && false;
            });
        });
        // Starts a body of 1,000 announced bytes, then hangs up.
        s.Get("/broken-off", [](const httplib::Request&, httplib::Response& r) {
            r.set_content_provider(1000, "text/plain", [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                if (offset == 0) return sink.write("<TRANSLATION_ITEMS>", 19);
                return false;
            });
        });
        // Answers after half a second.
        s.Get("/late", [this](const httplib::Request&, httplib::Response& r) {
            pause(std::chrono::milliseconds(500));
            r.set_content("late answer", "text/plain");
        });
        loop_.start();
    }

    ~FetchTestServer() {
        stop_ = true;
        loop_.stop();
    }

    std::string url(const std::string& path) const { return loop_.url(path); }
    std::string host() const { return loop_.host(); }
    int port() const { return loop_.port(); }

    std::vector<std::string> targets() {
        std::lock_guard<std::mutex> lock(mutex_);
        return targets_;
    }
    std::vector<std::string> items() {
        std::lock_guard<std::mutex> lock(mutex_);
        return items_;
    }

    static constexpr std::size_t kPatternBytes = 32u << 20;
    static char patternByte(std::size_t i) { return static_cast<char>((i * 7 + i / 4093) & 0xFF); }

    static std::string allBytes() {
        std::string b;
        for (int i = 0; i < 256; ++i) b += static_cast<char>(i);
        return b;
    }

private:
    // Sleeps up to d; false when the server is going down meanwhile.
    template <typename D>
    bool pause(D d) {
        const auto until = std::chrono::steady_clock::now() + d;
        while (std::chrono::steady_clock::now() < until) {
            if (stop_) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return !stop_;
    }

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::string> targets_;
    std::vector<std::string> items_;
    LoopbackServer loop_;
};

}  // namespace cd::test
