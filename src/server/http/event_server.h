#pragma once
// A small HTTP/1.1 server on one epoll loop. The loop only reads, parses and
// writes; a handler answers through a Responder, at once or later from
// another thread (the report intake answers after its commit), so no thread
// waits per connection and thousands of idle or slow clients cost memory,
// not threads. Bodies need Content-Length; each route says how large a body
// it takes before any of it is read.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "http/request_parser.h"
#include "http/responder.h"

namespace cd::server::http {

struct ServerLimits {
    std::size_t maxConnections = 10000;
    /// A request's head must be complete this long after its first byte.
    std::chrono::milliseconds headTimeout{10000};
    /// A kept-alive connection may wait this long for its next request.
    std::chrono::milliseconds idleTimeout{15000};
    /// Reading a body or writing an answer may stall this long.
    std::chrono::milliseconds ioTimeout{30000};
    /// On stop, answers in flight get this long to be written.
    std::chrono::milliseconds drainTimeout{10000};
    HeadLimits head;
};

/// What a handler says once a request's head is read.
struct HeadDecision {
    /// The largest body the request may carry; a longer one gets 413.
    std::size_t maxBody = 0;
    /// An answer given before the body is read (401 before an upload); the
    /// connection is closed after it when a body was announced.
    std::optional<Response> answer;
};

class RequestHandler {
public:
    virtual ~RequestHandler() = default;
    /// Runs on the loop thread; must not block.
    virtual HeadDecision onHead(const Request& head) = 0;
    /// Runs on the loop thread with the whole request; must not block. Call
    /// respond once, now or later from any thread.
    virtual void handle(Request request, Responder respond) = 0;
};

class EventServer {
public:
    explicit EventServer(RequestHandler& handler, ServerLimits limits = {});
    ~EventServer();
    EventServer(const EventServer&) = delete;
    EventServer& operator=(const EventServer&) = delete;

    /// Opens the listening socket; false, with error, when it cannot.
    bool listen(const std::string& hostPort, std::string* error);
    /// "ADDR:PORT" of the listening socket.
    std::string boundAddress() const;
    int port() const;

    /// Serves on the calling thread until stop(); then stops accepting,
    /// lets answers in flight be written (up to drainTimeout) and returns.
    void run();
    /// Safe from any thread and from a signal-handling thread.
    void stop();

private:
    struct Connection;
    using Time = std::chrono::steady_clock::time_point;

    void acceptAll(Time now);
    void onEvent(Connection& c, std::uint32_t events, Time now);
    /// Moves a connection on as far as it can go now; false when it closed.
    bool progress(Connection& c, Time now);
    bool readSome(Connection& c, Time now);
    bool advance(Connection& c, Time now);
    bool answer(Connection& c, Response response, Time now);
    bool flush(Connection& c, Time now);
    bool afterAnswer(Connection& c, Time now);
    bool linger(Connection& c);
    void closeConnection(std::uint64_t id);
    void drainCompletions(Time now);
    void sweep(Time now);
    void beginDrain(Time now);
    const std::string& httpDate();

    RequestHandler& handler_;
    ServerLimits limits_;
    int epoll_ = -1;
    int listener_ = -1;
    bool listenerPaused_ = false;
    Time listenerResume_{};
    std::shared_ptr<CompletionQueue> completions_;
    std::unordered_map<std::uint64_t, std::unique_ptr<Connection>> connections_;
    std::uint64_t nextId_ = 16;
    std::atomic<bool> stopRequested_{false};
    bool draining_ = false;
    Time drainDeadline_{};
    Time lastSweep_{};
    std::int64_t dateSecond_ = -1;
    std::string date_;
};

}  // namespace cd::server::http
