#pragma once
// HttpGetText and HttpGetWithProgress: every network access of the program.
// The libcurl multi interface runs on the calling (UI) thread and the event
// pump runs between reads, so the window stays responsive and handlers can
// nest inside a fetch.
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "platform/event_pump.h"
#include "ui/control.h"
#include "util/request_sequence.h"

namespace cd::fetch {

using std::chrono::milliseconds;

/// No connection within this time ends the fetch with the empty text.
inline constexpr milliseconds kConnectTimeout{10'000};
/// No byte for this long ends the read; what was read is the result.
inline constexpr milliseconds kStallTimeout{15'000};
/// The online test of a channel click reads at most this much of a body...
inline constexpr std::size_t kProbeMaxBytes = 64 * 1024;
/// ...or for at most this long after the body started, whichever comes first.
inline constexpr milliseconds kProbeMaxBodyTime{4'000};
/// Redirects followed, as a browser would.
inline constexpr long kMaxRedirects = 10;
/// After the first read, pending events run every this often: while bytes
/// pour in (the body callback pauses the transfer so the loop can pump) and
/// while the body waits for more. A window repaints every ~16 ms, so this
/// keeps it live; pumping once per libcurl read instead (thousands a second
/// on a fast link) would cost more than the transfer itself.
inline constexpr milliseconds kPumpInterval{10};
/// libcurl hands over the body in pieces of up to this size (its default is
/// 16 KiB); fewer, larger pieces mean fewer appends on fast links.
inline constexpr long kReadBufferBytes = 64 * 1024;

struct FetchLimits {
    milliseconds connectTimeout = kConnectTimeout;
    milliseconds stallTimeout = kStallTimeout;
    std::size_t maxBytes = 0;     // 0: no cap
    milliseconds maxBodyTime{0};  // 0: no cap
    /// Asked after events have run; false ends the read at once and the
    /// fetch gives "" (the caller has been superseded). Empty: always wanted.
    std::function<bool()> stillWanted;
};

/// Listings, searches, language downloads, reports: time-outs, no size cap.
FetchLimits standardLimits();
/// The bounded probe of a channel or favourite click.
FetchLimits probeLimits();
/// The same probe, given up as soon as ticket is no longer the latest of
/// requests (requests must outlive the fetch).
FetchLimits probeLimits(const util::RequestSequence& requests, util::RequestSequence::Ticket ticket);

class HttpFetcher {
public:
    explicit HttpFetcher(platform::EventPump& pump);

    /// The body of a GET of address (user agent "Mozilla", no proxy, no
    /// cache), exactly as read, whatever the status; "" when the address
    /// cannot be opened or its scheme is not http or https. Redirects are
    /// followed to http and https addresses only.
    std::string HttpGetText(const std::string& address, const FetchLimits& limits = standardLimits());
    /// As HttpGetText with the standard limits, but only a body the server
    /// ended itself: nothing when a time-out, a broken connection, a failed
    /// read or the program's end cut it short. For files that replace a
    /// working one, where a part must never pass for the whole.
    std::optional<std::string> HttpGetWhole(const std::string& address);
    /// As HttpGetText; after each read but the first it sets statusBox's text
    /// to "Downloaded N bytes." before letting events run, and the last such
    /// text, after the body ended, names the total.
    std::string HttpGetWithProgress(const std::string& address, ui::Control& statusBox,
                                    const FetchLimits& limits = standardLimits());

    /// The program is ending: a fetch in progress ends after its current
    /// events and gives "", and later ones return "" without connecting.
    void shutDown() { shutDown_ = true; }
    bool isShutDown() const { return shutDown_; }

private:
    std::string fetch(const std::string& address, const FetchLimits& limits, ui::Control* statusBox, bool* whole);
    platform::EventPump& pump_;
    bool shutDown_ = false;
};

}  // namespace cd::fetch
