#pragma once
// Reads the head of an HTTP/1.x request strictly: anything a lenient reader
// might take two ways (folded lines, a length given twice, chunked bodies,
// blanks in the target) is refused, so what the server records is exactly
// what the client meant.
#include <cstddef>
#include <string>
#include <string_view>

#include "http/request.h"

namespace cd::server::http {

struct HeadLimits {
    /// The request line and headers together, blank line included.
    std::size_t maxHeadBytes = 32 * 1024;
    std::size_t maxHeaders = 100;
};

struct HeadResult {
    enum class State { NeedMore, Done, Error };
    State state = State::NeedMore;
    /// Done: the bytes the head took, blank line included.
    std::size_t headLength = 0;
    /// Done: the body's length from Content-Length (0 without one).
    std::size_t contentLength = 0;
    /// Done: the client sent "Expect: 100-continue".
    bool expectContinue = false;
    /// Error: the status to answer (400, 414, 431, 501, 505, ...) and why.
    int status = 0;
    std::string error;
};

/// Parses the head at the start of buffer into request (method, target,
/// path, query, version, headers, keep-alive). scanned carries how far an
/// earlier call looked for the head's end, so a head arriving in pieces is
/// not searched again from the start; start it at 0 for each request.
HeadResult parseHead(std::string_view buffer, std::size_t& scanned, Request& request, const HeadLimits& limits);

}  // namespace cd::server::http
