#pragma once
// Every network access of the program: libcurl's multi interface driven by
// the program's own event loop through its socket and timer callbacks, so a
// fetch never blocks the window and any number run side by side. Only http
// and https are opened (redirects too), user agent "Mozilla", no proxy, no
// cache.
#include <curl/curl.h>

#include <map>
#include <memory>

#include "fetch/fetcher.h"
#include "platform/event_loop.h"

namespace cd::fetch {

class HttpClient : public Fetcher {
public:
    explicit HttpClient(platform::EventLoop& loop);
    ~HttpClient() override;
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    FetchId start(FetchRequest request, std::function<void(FetchResult)> done) override;
    void cancel(FetchId id) override;
    void shutDown() override;

    /// Fetches started and not yet delivered or cancelled.
    std::size_t active() const { return transfers_.size(); }

    struct Transfer;

private:
    static int onSocket(CURL* easy, curl_socket_t fd, int what, void* self, void* socketData);
    static int onTimer(CURLM* multi, long timeoutMs, void* self);
    void socketReady(curl_socket_t fd, bool readable, bool writable);
    void curlTimeout();
    void collectFinished();
    void finish(Transfer& t, FetchError error, const char* text = nullptr);
    void deliverLater(FetchId id);
    void watchdog();
    void armWatchdog();
    void remove(Transfer& t);

    platform::EventLoop& loop_;
    CURLM* multi_ = nullptr;
    std::map<curl_socket_t, std::unique_ptr<platform::EventLoop::SocketWatch>> sockets_;
    std::unique_ptr<platform::EventLoop::Timer> curlTimer_;
    std::unique_ptr<platform::EventLoop::Timer> watchdogTimer_;
    std::map<FetchId, std::unique_ptr<Transfer>> transfers_;
    FetchId nextId_ = 1;
    bool shutDown_ = false;
    std::shared_ptr<bool> alive_;
};

}  // namespace cd::fetch
