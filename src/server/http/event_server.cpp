#include "http/event_server.h"

#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "http/http_date.h"
#include "http/listen_socket.h"

namespace cd::server::http {

namespace {

constexpr std::uint64_t kListenerTag = 1;
constexpr std::uint64_t kWakeTag = 2;
constexpr std::size_t kReadChunk = 64 * 1024;
// Bodies up to this size are copied behind the head, so an answer is one buffer.
constexpr std::size_t kInlineBody = 16 * 1024;

}  // namespace

struct EventServer::Connection {
    enum class State { Head, Body, Waiting, Writing, Lingering };

    int fd = -1;
    std::uint64_t id = 0;
    std::string peer;
    State state = State::Head;
    std::string in;
    std::size_t scanned = 0;
    Request request;
    HeadResult head;
    bool headOnly = false;
    bool keepAlive = false;
    std::string out;
    std::shared_ptr<const std::string> outShared;
    std::size_t outPos = 0;
    bool closeAfter = false;
    // Edge-triggered readiness: set by an event, cleared when a read or a
    // write finds nothing more to do, so no call is made in vain.
    bool readable = false;
    bool writable = true;
    // The client has ended its side: what it sent is answered, then the
    // connection closes.
    bool peerClosed = false;
    Time deadline{};
};

EventServer::EventServer(RequestHandler& handler, ServerLimits limits)
    : handler_(handler), limits_(limits), completions_(std::make_shared<CompletionQueue>()) {
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    if (epoll_ >= 0 && completions_->wakeFd() >= 0) {
        epoll_event ev{};
        ev.events = EPOLLIN;
        ev.data.u64 = kWakeTag;
        ::epoll_ctl(epoll_, EPOLL_CTL_ADD, completions_->wakeFd(), &ev);
    }
}

EventServer::~EventServer() {
    for (auto& [id, c] : connections_) ::close(c->fd);
    if (listener_ >= 0) ::close(listener_);
    if (epoll_ >= 0) ::close(epoll_);
}

bool EventServer::listen(const std::string& hostPort, std::string* error) {
    if (epoll_ < 0 || completions_->wakeFd() < 0) {
        if (error) *error = "cannot create the event loop";
        return false;
    }
    listener_ = openListenSocket(hostPort, error);
    if (listener_ < 0) return false;
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.u64 = kListenerTag;
    ::epoll_ctl(epoll_, EPOLL_CTL_ADD, listener_, &ev);
    return true;
}

std::string EventServer::boundAddress() const { return listener_ >= 0 ? localAddressOf(listener_) : ""; }

int EventServer::port() const { return listener_ >= 0 ? localPortOf(listener_) : 0; }

void EventServer::stop() {
    stopRequested_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto n = ::write(completions_->wakeFd(), &one, sizeof one);
}

const std::string& EventServer::httpDate() {
    const auto secs =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    if (secs != dateSecond_) {
        dateSecond_ = secs;
        date_ = formatHttpDate(secs);
    }
    return date_;
}

void EventServer::run() {
    completions_->setLoopThread(std::this_thread::get_id());
    std::vector<epoll_event> events(256);
    lastSweep_ = std::chrono::steady_clock::now();
    for (;;) {
        int timeout = 1000;
        if (draining_ || listenerPaused_) timeout = 50;
        const int n = ::epoll_wait(epoll_, events.data(), static_cast<int>(events.size()), timeout);
        const Time now = std::chrono::steady_clock::now();
        for (int i = 0; i < n; ++i) {
            const std::uint64_t tag = events[static_cast<std::size_t>(i)].data.u64;
            if (tag == kListenerTag) {
                acceptAll(now);
            } else if (tag == kWakeTag) {
                std::uint64_t count = 0;
                [[maybe_unused]] const auto r = ::read(completions_->wakeFd(), &count, sizeof count);
            } else {
                const auto it = connections_.find(tag);
                if (it != connections_.end()) onEvent(*it->second, events[static_cast<std::size_t>(i)].events, now);
            }
        }
        drainCompletions(now);
        if (stopRequested_ && !draining_) beginDrain(now);
        if (listenerPaused_ && now >= listenerResume_ && !draining_) {
            epoll_event ev{};
            ev.events = EPOLLIN;
            ev.data.u64 = kListenerTag;
            ::epoll_ctl(epoll_, EPOLL_CTL_ADD, listener_, &ev);
            listenerPaused_ = false;
        }
        if (draining_ || now - lastSweep_ >= std::chrono::seconds(1)) sweep(now);
        if (draining_ && (connections_.empty() || now >= drainDeadline_)) break;
    }
    for (auto& [id, c] : connections_) ::close(c->fd);
    connections_.clear();
}

void EventServer::beginDrain(Time now) {
    draining_ = true;
    drainDeadline_ = now + limits_.drainTimeout;
    if (listener_ >= 0) {
        ::close(listener_);  // also leaves the epoll set
        listener_ = -1;
    }
    // Requests not yet handed to a handler are dropped; answers in flight are written.
    std::vector<std::uint64_t> idle;
    for (auto& [id, c] : connections_)
        if (c->state != Connection::State::Waiting && c->state != Connection::State::Writing) idle.push_back(id);
    for (const auto id : idle) closeConnection(id);
}

void EventServer::acceptAll(Time now) {
    for (;;) {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        const int fd =
            ::accept4(listener_, reinterpret_cast<sockaddr*>(&address), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                // Out of descriptors: stop watching the listener for a moment
                // rather than spin on a connection that cannot be taken.
                ::epoll_ctl(epoll_, EPOLL_CTL_DEL, listener_, nullptr);
                listenerPaused_ = true;
                listenerResume_ = now + std::chrono::milliseconds(50);
            }
            return;
        }
        if (connections_.size() >= limits_.maxConnections) {
            ::close(fd);
            continue;
        }
        auto c = std::make_unique<Connection>();
        c->fd = fd;
        c->id = nextId_++;
        c->peer = addressText(reinterpret_cast<sockaddr*>(&address));
        c->deadline = now + limits_.headTimeout;
        // Registered once for everything; the connection's state decides
        // what an event means, so the set is never changed per request.
        epoll_event ev{};
        ev.events = EPOLLIN | EPOLLOUT | EPOLLRDHUP | EPOLLET;
        ev.data.u64 = c->id;
        if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &ev) != 0) {
            ::close(fd);
            continue;
        }
        connections_.emplace(c->id, std::move(c));
    }
}

void EventServer::closeConnection(std::uint64_t id) {
    const auto it = connections_.find(id);
    if (it == connections_.end()) return;
    ::close(it->second->fd);  // closing also removes it from the epoll set
    connections_.erase(it);
}

void EventServer::onEvent(Connection& c, std::uint32_t events, Time now) {
    if (events & EPOLLERR) {
        // A reset client: what is in flight is still handled, its answer dropped.
        closeConnection(c.id);
        return;
    }
    if (events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP)) c.readable = true;
    if (events & (EPOLLOUT | EPOLLHUP)) c.writable = true;
    progress(c, now);
}

bool EventServer::progress(Connection& c, Time now) {
    switch (c.state) {
        case Connection::State::Writing:
            return !c.writable || flush(c, now);
        case Connection::State::Lingering:
            return linger(c);
        case Connection::State::Waiting:
            return true;  // the handler's answer moves it on
        case Connection::State::Head:
        case Connection::State::Body:
            if (c.readable && !readSome(c, now)) return false;
            return advance(c, now);
    }
    return true;
}

bool EventServer::readSome(Connection& c, Time now) {
    char buf[kReadChunk];
    const ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
    if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
            c.readable = errno == EINTR;
            return true;
        }
        closeConnection(c.id);
        return false;
    }
    if (n == 0) {
        c.readable = false;
        c.peerClosed = true;
        return true;
    }
    // A short read emptied the socket; the next arrival raises a new event.
    c.readable = static_cast<std::size_t>(n) == sizeof buf;
    if (c.state == Connection::State::Head && c.in.empty()) c.deadline = now + limits_.headTimeout;
    if (c.state == Connection::State::Body) c.deadline = now + limits_.ioTimeout;
    c.in.append(buf, static_cast<std::size_t>(n));
    return true;
}

bool EventServer::advance(Connection& c, Time now) {
    for (;;) {
        if (c.state == Connection::State::Head) {
            if (c.in.empty()) {
                if (!c.peerClosed) return true;
                closeConnection(c.id);
                return false;
            }
            c.head = parseHead(c.in, c.scanned, c.request, limits_.head);
            if (c.head.state == HeadResult::State::NeedMore) {
                if (c.readable) {
                    if (!readSome(c, now)) return false;
                    continue;
                }
                if (!c.peerClosed) return true;
                closeConnection(c.id);  // ended in the middle of a head
                return false;
            }
            if (c.head.state == HeadResult::State::Error) {
                c.keepAlive = false;
                auto r = Response::text(c.head.status, c.head.error + "\n");
                r.close = true;
                return answer(c, std::move(r), now);
            }
            c.request.peer = c.peer;
            c.headOnly = c.request.method == "HEAD";
            c.keepAlive = c.request.keepAlive && !c.peerClosed;
            HeadDecision decision = handler_.onHead(c.request);
            if (decision.answer) {
                if (c.head.contentLength > 0) decision.answer->close = true;
                return answer(c, std::move(*decision.answer), now);
            }
            if (c.head.contentLength > decision.maxBody) {
                auto r = Response::text(413, "The request's body is too large.\n");
                r.close = true;
                return answer(c, std::move(r), now);
            }
            c.state = Connection::State::Body;
            c.deadline = now + limits_.ioTimeout;
            if (c.head.expectContinue && c.in.size() < c.head.headLength + c.head.contentLength) {
                static constexpr char kContinue[] = "HTTP/1.1 100 Continue\r\n\r\n";
                const ssize_t sent = ::send(c.fd, kContinue, sizeof kContinue - 1, MSG_NOSIGNAL);
                if (sent != static_cast<ssize_t>(sizeof kContinue - 1)) {
                    closeConnection(c.id);
                    return false;
                }
            }
        }
        if (c.state != Connection::State::Body) return true;
        const std::size_t need = c.head.headLength + c.head.contentLength;
        if (c.in.size() < need) {
            if (c.readable) {
                if (!readSome(c, now)) return false;
                continue;
            }
            if (!c.peerClosed) return true;
            closeConnection(c.id);  // ended in the middle of a body
            return false;
        }
        c.request.body.assign(c.in, c.head.headLength, c.head.contentLength);
        c.in.erase(0, need);
        c.scanned = 0;
        c.state = Connection::State::Waiting;
        c.deadline = Time::max();
        handler_.handle(std::move(c.request), Responder(completions_, c.id));
        c.request = Request{};
        return true;
    }
}

bool EventServer::answer(Connection& c, Response response, Time now) {
    const bool keepAlive =
        c.head.state == HeadResult::State::Done && c.keepAlive && !response.close && !draining_ && !c.peerClosed;
    c.closeAfter = !keepAlive;
    response.close = !keepAlive;
    c.out = serializeHead(response, keepAlive, httpDate());
    c.outShared.reset();
    if (!c.headOnly) {
        if (response.sharedBody && response.sharedBody->size() > kInlineBody)
            c.outShared = std::move(response.sharedBody);
        else
            c.out += response.bodyView();
    }
    c.outPos = 0;
    c.state = Connection::State::Writing;
    c.deadline = now + limits_.ioTimeout;
    c.writable = true;  // an answer is tried at once; EAGAIN says otherwise
    return flush(c, now);
}

bool EventServer::flush(Connection& c, Time now) {
    for (;;) {
        const std::size_t total = c.out.size() + (c.outShared ? c.outShared->size() : 0);
        if (c.outPos >= total) break;
        iovec parts[2];
        int count = 0;
        if (c.outPos < c.out.size()) {
            parts[count++] = {c.out.data() + c.outPos, c.out.size() - c.outPos};
            if (c.outShared) parts[count++] = {const_cast<char*>(c.outShared->data()), c.outShared->size()};
        } else {
            const std::size_t at = c.outPos - c.out.size();
            parts[count++] = {const_cast<char*>(c.outShared->data()) + at, c.outShared->size() - at};
        }
        msghdr msg{};
        msg.msg_iov = parts;
        msg.msg_iovlen = static_cast<std::size_t>(count);
        const ssize_t n = ::sendmsg(c.fd, &msg, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                c.writable = false;
                return true;
            }
            closeConnection(c.id);
            return false;
        }
        c.outPos += static_cast<std::size_t>(n);
        c.deadline = now + limits_.ioTimeout;
    }
    return afterAnswer(c, now);
}

bool EventServer::afterAnswer(Connection& c, Time now) {
    c.out.clear();
    c.outShared.reset();
    c.outPos = 0;
    if (c.closeAfter) {
        // Half-close and read until the client closes: closing with unread
        // input would reset the connection and could destroy the answer
        // before the client has read it.
        ::shutdown(c.fd, SHUT_WR);
        c.state = Connection::State::Lingering;
        c.in.clear();
        c.deadline = now + std::chrono::seconds(2);
        if (c.peerClosed) {
            closeConnection(c.id);
            return false;
        }
        return linger(c);
    }
    c.state = Connection::State::Head;
    c.head = HeadResult{};
    c.headOnly = false;
    c.keepAlive = false;
    c.deadline = now + (c.in.empty() ? limits_.idleTimeout : limits_.headTimeout);
    // A pipelined request may be buffered, or more may have come meanwhile.
    return progress(c, now);
}

bool EventServer::linger(Connection& c) {
    char buf[4096];
    while (c.readable) {
        const ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            closeConnection(c.id);
            return false;
        }
        if (n < 0 && errno != EINTR) c.readable = false;
    }
    return true;
}

void EventServer::drainCompletions(Time now) {
    for (;;) {
        auto done = completions_->take();
        if (done.empty()) return;
        for (auto& [id, response] : done) {
            const auto it = connections_.find(id);
            if (it == connections_.end() || it->second->state != Connection::State::Waiting) continue;
            answer(*it->second, std::move(response), now);
        }
    }
}

void EventServer::sweep(Time now) {
    lastSweep_ = now;
    std::vector<std::uint64_t> expired;
    for (auto& [id, c] : connections_)
        if (c->deadline <= now) expired.push_back(id);
    for (const auto id : expired) {
        const auto it = connections_.find(id);
        if (it == connections_.end()) continue;
        Connection& c = *it->second;
        if ((c.state == Connection::State::Head && !c.in.empty()) || c.state == Connection::State::Body) {
            c.keepAlive = false;
            auto r = Response::text(408, "The request took too long to arrive.\n");
            r.close = true;
            // An answer that cannot be written at once is not waited for.
            if (answer(c, std::move(r), now) && c.state == Connection::State::Writing) closeConnection(id);
        } else {
            closeConnection(id);
        }
    }
}

}  // namespace cd::server::http
