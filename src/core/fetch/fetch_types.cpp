#include "fetch/fetch_types.h"

#include "util/text.h"

namespace cd::fetch {

bool isWebAddress(std::string_view address) {
    // Only web addresses are fetched: a catalogue line could otherwise make
    // the program read a local file (file://) or speak some other protocol.
    const std::size_t colon = address.find("://");
    if (colon == std::string_view::npos) return false;
    const std::string_view scheme = address.substr(0, colon);
    return util::iequals(scheme, "http") || util::iequals(scheme, "https");
}

std::string_view describe(FetchError error) {
    switch (error) {
        case FetchError::None:
            return "ok";
        case FetchError::BadAddress:
            return "not an http or https address";
        case FetchError::UnknownHost:
            return "unknown host";
        case FetchError::Refused:
            return "connection refused";
        case FetchError::ConnectTimeout:
            return "no connection";
        case FetchError::NoAnswer:
            return "no answer";
        case FetchError::Deadline:
            return "took too long";
        case FetchError::Stalled:
            return "stalled";
        case FetchError::TooSlow:
            return "too slow";
        case FetchError::TooLarge:
            return "too large";
        case FetchError::Certificate:
            return "certificate not trusted";
        case FetchError::Broken:
            return "connection broken";
        case FetchError::Failed:
            return "failed";
    }
    return "failed";
}

std::string ResponseHead::header(std::string_view name) const {
    for (const auto& [n, v] : headers)
        if (util::iequals(n, name)) return std::string(util::trimWhitespace(v));
    return {};
}

std::string ResponseHead::mediaType() const {
    std::string type = header("Content-Type");
    const std::size_t semi = type.find(';');
    if (semi != std::string::npos) type.erase(semi);
    return util::toLower(util::trimWhitespace(type));
}

bool ResponseHead::hasIcyHeaders() const {
    for (const auto& h : headers)
        if (h.first.size() > 4 && util::iequals(std::string_view(h.first).substr(0, 4), "icy-")) return true;
    return false;
}

FetchBounds probeBounds() {
    FetchBounds b;
    b.deadline = kProbeDeadline;
    b.maxBytes = kProbeCap;
    b.capIsError = false;
    return b;
}

FetchBounds reportBounds() {
    FetchBounds b;
    b.deadline = kUnwatchedDeadline;
    b.maxBytes = kReportReplyCap;
    b.capIsError = false;
    return b;
}

FetchBounds pageBounds() {
    FetchBounds b;
    b.deadline = kUnwatchedDeadline;
    b.maxBytes = kPageCap;
    return b;
}

FetchBounds watchedBounds(std::size_t cap) {
    FetchBounds b;
    b.minBytesPerWindow = 30 * 1024;
    b.speedWindow = milliseconds{30'000};
    b.maxBytes = cap;
    return b;
}

}  // namespace cd::fetch
