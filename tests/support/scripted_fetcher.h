#pragma once
// A fetch port whose replies the test releases, one at a time: behaviour
// tests of navigation, favourites, the video site and localization see
// exactly which fetches are on their way and decide when and how each ends,
// with no server and no clock.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "fetch/fetcher.h"

namespace cd::test {

struct ScriptedReply {
    long status = 200;
    std::string contentType = "text/plain";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    /// An error instead of a response (Refused, NoAnswer, ...), or one that
    /// ends the body (Broken, Stalled, ...) after the head and body above.
    fetch::FetchError error = fetch::FetchError::None;
    bool headArrives = true;
};

class ScriptedFetcher : public fetch::Fetcher {
public:
    struct Pending {
        fetch::FetchId id;
        fetch::FetchRequest request;
        std::function<void(fetch::FetchResult)> done;
    };

    fetch::FetchId start(fetch::FetchRequest request, std::function<void(fetch::FetchResult)> done) override {
        if (shutDown_) return 0;
        started.push_back(request.address);
        pending_.push_back(Pending{nextId_, std::move(request), std::move(done)});
        return nextId_++;
    }
    void cancel(fetch::FetchId id) override {
        const auto it = std::find_if(pending_.begin(), pending_.end(), [id](const Pending& p) { return p.id == id; });
        if (it == pending_.end()) return;
        cancelled.push_back(it->request.address);
        pending_.erase(it);
    }
    void shutDown() override {
        shutDown_ = true;
        while (!pending_.empty()) cancel(pending_.front().id);
    }

    std::size_t pendingCount() const { return pending_.size(); }
    bool isPending(const std::string& address) const { return find(address) != pending_.end(); }
    const fetch::FetchRequest* request(const std::string& address) const {
        const auto it = find(address);
        return it == pending_.end() ? nullptr : &it->request;
    }
    std::vector<std::string> pendingAddresses() const {
        std::vector<std::string> out;
        for (const auto& p : pending_) out.push_back(p.request.address);
        return out;
    }
    /// The addresses started whose text contains part, in order.
    std::vector<std::string> startedContaining(const std::string& part) const {
        std::vector<std::string> out;
        for (const auto& a : started)
            if (a.find(part) != std::string::npos) out.push_back(a);
        return out;
    }

    /// Ends the oldest pending fetch of address as the real client would with
    /// this reply: its head and body go through the request's observers (the
    /// body in one piece, cut at the request's cap), then its result is
    /// delivered. False when no such fetch is pending.
    bool reply(const std::string& address, const ScriptedReply& reply) {
        const auto it = find(address);
        if (it == pending_.end()) return false;
        Pending p = std::move(*it);
        pending_.erase(it);
        p.done(resultFor(p.request, reply));
        return true;
    }
    /// Replies to every pending fetch of address (a loop that re-fetches).
    int replyAll(const std::string& address, const ScriptedReply& r) {
        int n = 0;
        while (reply(address, r)) ++n;
        return n;
    }
    /// Ends the oldest pending fetch whose address contains part.
    bool replyContaining(const std::string& part, const ScriptedReply& r) {
        for (const auto& p : pending_)
            if (p.request.address.find(part) != std::string::npos) return reply(p.request.address, r);
        return false;
    }

    std::vector<std::string> started;
    std::vector<std::string> cancelled;

private:
    std::vector<Pending>::const_iterator find(const std::string& address) const {
        return std::find_if(pending_.begin(), pending_.end(),
                            [&address](const Pending& p) { return p.request.address == address; });
    }

    static fetch::FetchResult resultFor(const fetch::FetchRequest& request, const ScriptedReply& reply) {
        fetch::FetchResult r;
        if (!reply.headArrives) {
            r.error = reply.error == fetch::FetchError::None ? fetch::FetchError::NoAnswer : reply.error;
            return r;
        }
        r.gotHead = true;
        r.head.status = reply.status;
        r.head.headers = reply.headers;
        if (!reply.contentType.empty()) r.head.headers.emplace_back("Content-Type", reply.contentType);
        if (request.onHead && !request.onHead(r.head)) {
            r.stopped = true;
            return r;
        }
        const std::size_t cap = request.bounds.maxBytes;
        std::string body = reply.body;
        bool capHit = false;
        if (cap > 0 && body.size() > cap) {
            body.resize(cap);
            capHit = true;
        }
        if (capHit && request.bounds.capIsError) {
            r.error = fetch::FetchError::TooLarge;
            return r;
        }
        r.bodyBytes = body.size();
        if (request.keepBody) r.body = body;
        if (!body.empty()) {
            if (request.onProgress) request.onProgress(body.size());
            if (request.onBody && !request.onBody(r.body.empty() ? body : r.body)) {
                r.stopped = true;
                return r;
            }
        }
        r.capped = capHit;
        r.error = reply.error;
        r.whole = !capHit && reply.error == fetch::FetchError::None;
        return r;
    }

    std::vector<Pending> pending_;
    fetch::FetchId nextId_ = 1;
    bool shutDown_ = false;
};

}  // namespace cd::test
