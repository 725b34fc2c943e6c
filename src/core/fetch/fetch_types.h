#pragma once
// What a fetch is asked to do and what it gives back. Every fetch is bounded
// in connect time, stall time, total time (for those nobody watches) or
// speed (for downloads the user watches), and size.
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cd::fetch {

using std::chrono::milliseconds;

/// No connection within this time ends the fetch.
inline constexpr milliseconds kConnectTimeout{10'000};
/// No byte (header or body) for this long ends the fetch.
inline constexpr milliseconds kStallTimeout{15'000};
/// Redirects followed, as a browser would, to http and https only.
inline constexpr long kMaxRedirects = 10;

struct FetchBounds {
    milliseconds connect = kConnectTimeout;
    milliseconds stall = kStallTimeout;
    /// The whole fetch, headers included; 0: none (watched downloads).
    milliseconds deadline{0};
    /// Slower than this many bytes over speedWindow ends the fetch; 0: no bound.
    std::size_t minBytesPerWindow = 0;
    milliseconds speedWindow{30'000};
    /// The most body bytes wanted; 0: no cap.
    std::size_t maxBytes = 0;
    /// True: more than maxBytes is an error (TooLarge) and the body is not
    /// whole. False: the fetch just stops there, keeping what came (a probe
    /// judging the first bytes of a page).
    bool capIsError = true;
};

enum class FetchError {
    None,
    BadAddress,      // not an http or https address, or not one at all
    UnknownHost,     // the name did not resolve
    Refused,         // nothing listens there
    ConnectTimeout,  // no connection within the connect bound
    NoAnswer,        // connected, but no response head before the deadline
    Deadline,        // the deadline ended the body
    Stalled,         // nothing arrived for the stall bound
    TooSlow,         // slower than the speed bound
    TooLarge,        // the body went past the size cap
    Certificate,     // the server's certificate is not trusted here
    Broken,          // the connection broke or the server ended it early
    Failed,          // anything else
};

/// True for http and https addresses (any letter case), the only ones fetched.
bool isWebAddress(std::string_view address);

/// A few words for the command line and for logs.
std::string_view describe(FetchError error);

/// The final response's status line and headers (a redirect's or an
/// interim response's are not kept).
struct ResponseHead {
    long status = 0;
    /// Header names as sent; lookups ignore letter case.
    std::vector<std::pair<std::string, std::string>> headers;

    /// The first value of header name, trimmed; "" when absent.
    std::string header(std::string_view name) const;
    /// The media type of Content-Type, lower case, without parameters.
    std::string mediaType() const;
    /// True when any header name starts with "icy-" (a shoutcast or icecast stream).
    bool hasIcyHeaders() const;
};

struct FetchRequest {
    std::string address;
    FetchBounds bounds;
    /// Extra request lines ("If-None-Match: ...").
    std::vector<std::string> headers;
    /// False: the body is counted and thrown away (report replies).
    bool keepBody = true;
    /// Called once the final response head has arrived; false stops the
    /// fetch there (the result then says stopped).
    std::function<bool(const ResponseHead&)> onHead;
    /// Called after each piece of body with the body so far; false stops the
    /// fetch there.
    std::function<bool(const std::string& body)> onBody;
    /// Called after each piece of body with the body bytes so far.
    std::function<void(std::size_t bytes)> onProgress;
};

struct FetchResult {
    FetchError error = FetchError::None;
    /// libcurl's words for the error, when there is one.
    std::string errorText;
    bool gotHead = false;
    ResponseHead head;
    std::string body;
    std::size_t bodyBytes = 0;
    /// The server ended the body itself: nothing cut it short.
    bool whole = false;
    /// onHead or onBody said enough.
    bool stopped = false;
    /// The cap stopped a fetch whose cap is not an error.
    bool capped = false;
};

/// The channel probe: 5 s for everything, 64 KiB of a text page at most.
FetchBounds probeBounds();
/// Reports: 30 s, a reply of at most 16 KiB that nobody reads.
FetchBounds reportBounds();
/// Listing and search pages: 30 s, 4 MiB.
FetchBounds pageBounds();
/// A download the user starts and watches: no deadline, but at least
/// 1 KiB/s over 30 s, and cap bytes at most.
FetchBounds watchedBounds(std::size_t cap);

inline constexpr std::size_t kReportReplyCap = 16 * 1024;
inline constexpr std::size_t kPageCap = 4u << 20;
inline constexpr std::size_t kLanguageFileCap = 8u << 20;
inline constexpr std::size_t kProbeCap = 64 * 1024;
inline constexpr milliseconds kProbeDeadline{5'000};
inline constexpr milliseconds kUnwatchedDeadline{30'000};

}  // namespace cd::fetch
