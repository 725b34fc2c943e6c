#pragma once
// Runs the real HttpClient on a poll loop in the test's thread, for tests of
// the fetch layer and of the tool that need a real network peer.
#include <chrono>
#include <optional>

#include "fetch/http_client.h"
#include "platform/poll_event_loop.h"

namespace cd::test {

struct FetchRunner {
    platform::PollEventLoop loop;
    fetch::HttpClient client{loop};

    /// The result of one fetch, or a Failed result saying the test's own
    /// patience ran out (so a hang fails the test instead of hanging it).
    fetch::FetchResult get(fetch::FetchRequest request,
                           std::chrono::milliseconds patience = std::chrono::milliseconds(20'000)) {
        std::optional<fetch::FetchResult> out;
        client.start(std::move(request), [&out](fetch::FetchResult r) { out = std::move(r); });
        loop.runUntil([&out] { return out.has_value(); }, patience);
        if (out) return std::move(*out);
        fetch::FetchResult timedOut;
        timedOut.error = fetch::FetchError::Failed;
        timedOut.errorText = "the test gave up waiting";
        return timedOut;
    }
    fetch::FetchResult get(const std::string& address, fetch::FetchBounds bounds = {}) {
        fetch::FetchRequest request;
        request.address = address;
        request.bounds = bounds;
        return get(std::move(request));
    }
};

}  // namespace cd::test
