#include "fetch/stream_probe.h"

#include <array>

#include "fetch/online_test.h"
#include "util/text.h"

namespace cd::fetch {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool isMediaType(const std::string& type) {
    static constexpr std::array<std::string_view, 6> kExact = {"application/vnd.apple.mpegurl", "application/x-mpegurl",
                                                               "application/dash+xml",          "application/ogg",
                                                               "application/octet-stream",      "audio/x-mpegurl"};
    if (util::startsWith(type, "audio/") || util::startsWith(type, "video/")) return true;
    for (std::string_view t : kExact)
        if (type == t) return true;
    return false;
}

std::string_view schemeOf(std::string_view address) {
    const std::size_t colon = address.find("://");
    return colon == std::string_view::npos ? std::string_view{} : address.substr(0, colon);
}

unsigned char byteAt(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

}  // namespace

std::string describe(const ProbeVerdict& verdict) {
    switch (verdict.reason) {
        case ProbeReason::None:
            return "a stream";
        case ProbeReason::PlayerOpens:
            return "a streaming protocol the player opens itself";
        case ProbeReason::BadAddress:
            return "not an address the player can open";
        case ProbeReason::UnknownHost:
            return "unknown host";
        case ProbeReason::Refused:
            return "refused";
        case ProbeReason::NoAnswer:
            return "no answer";
        case ProbeReason::NotFound:
            return "not found (HTTP " + util::decimal(verdict.status) + ")";
        case ProbeReason::HttpError:
            return "HTTP error " + util::decimal(verdict.status);
        case ProbeReason::Certificate:
            return "certificate not trusted";
        case ProbeReason::NotAStream:
            return "not a stream";
    }
    return "not a stream";
}

bool isPlayerProtocol(std::string_view address) {
    static constexpr std::array<std::string_view, 7> kSchemes = {"rtsp", "rtsps", "rtmp", "rtmps",
                                                                 "mms",  "mmsh",  "mmst"};
    const std::string_view scheme = schemeOf(address);
    for (std::string_view s : kSchemes)
        if (util::iequals(scheme, s)) return true;
    return false;
}

Sniff sniffMedia(std::string_view b) {
    const auto has = [&](std::size_t at, std::string_view magic) {
        return b.size() >= at + magic.size() && b.substr(at, magic.size()) == magic;
    };
    if (b.size() < 2) return Sniff::TooShort;
    // MPEG audio frames and ADTS start with an 11- or 12-bit sync word.
    if (byteAt(b, 0) == 0xFF && (byteAt(b, 1) & 0xE0) == 0xE0) return Sniff::Media;
    if (b.size() < 12) {
        // Too short to rule out the longer signatures below.
        return Sniff::TooShort;
    }
    if (has(0, "ID3") || has(0, "OggS") || has(0, "fLaC") || has(0, "FLV\x01") || has(0, "\x1A\x45\xDF\xA3"))
        return Sniff::Media;
    if (has(4, "ftyp") || has(4, "styp") || has(4, "moof")) return Sniff::Media;
    if (has(0, "RIFF") && has(8, "WAVE")) return Sniff::Media;
    // A transport stream: a sync byte every 188 bytes. "G" starts many a
    // text, so three packets' worth decide it.
    if (byteAt(b, 0) == 0x47) {
        if (b.size() < 377) return Sniff::TooShort;
        if (byteAt(b, 188) == 0x47 && byteAt(b, 376) == 0x47) return Sniff::Media;
    }
    return Sniff::NotMedia;
}

Sniff sniffPlaylist(std::string_view b) {
    if (util::startsWith(b, kBom)) b.remove_prefix(kBom.size());
    constexpr std::string_view kTag = "#EXTM3U";
    if (b.size() < kTag.size()) return util::startsWith(kTag, b) ? Sniff::TooShort : Sniff::NotMedia;
    return util::startsWith(b, kTag) ? Sniff::Media : Sniff::NotMedia;
}

bool playlistHasEntry(std::string_view text, bool complete) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        const bool ended = end != std::string_view::npos;
        if (!ended) end = text.size();
        const std::string_view line = util::trimWhitespace(text.substr(start, end - start));
        if ((ended || complete) && !line.empty() && line.front() != '#') return true;
        start = end + 1;
    }
    return false;
}

StreamJudge::Decision StreamJudge::decide(bool online, ProbeReason reason) {
    verdict_ = ProbeVerdict{online, reason, status_};
    decided_ = online ? Decision::Online : Decision::Offline;
    return decided_;
}

StreamJudge::Decision StreamJudge::onHead(const ResponseHead& head) {
    if (decided_ != Decision::Undecided) return decided_;
    status_ = head.status;
    if (head.status >= 400)
        return decide(false, head.status == 404 || head.status == 410 ? ProbeReason::NotFound : ProbeReason::HttpError);
    if (head.hasIcyHeaders()) return decide(true, ProbeReason::None);
    if (isMediaType(head.mediaType())) kind_ = Kind::Media;
    return decided_;
}

StreamJudge::Decision StreamJudge::onBody(std::string_view body) {
    if (decided_ != Decision::Undecided || body.empty()) return decided_;
    if (kind_ == Kind::Media) return decide(true, ProbeReason::None);
    if (kind_ == Kind::Unknown) {
        const Sniff media = sniffMedia(body);
        if (media == Sniff::Media) return decide(true, ProbeReason::None);
        const Sniff playlist = sniffPlaylist(body);
        if (playlist == Sniff::Media) {
            kind_ = Kind::Playlist;
        } else if (media == Sniff::NotMedia && playlist == Sniff::NotMedia) {
            kind_ = Kind::Text;
        }
    }
    if (kind_ == Kind::Playlist && playlistHasEntry(body, false)) return decide(true, ProbeReason::None);
    return decided_;
}

ProbeVerdict StreamJudge::finish(const FetchResult& result) {
    if (decided_ != Decision::Undecided) return verdict_;
    // A server that sends a body without any head (HTTP/0.9) is judged on the body.
    if (!result.gotHead && result.body.empty()) {
        switch (result.error) {
            case FetchError::BadAddress:
                return ProbeVerdict{false, ProbeReason::BadAddress, 0};
            case FetchError::UnknownHost:
                return ProbeVerdict{false, ProbeReason::UnknownHost, 0};
            case FetchError::Refused:
                return ProbeVerdict{false, ProbeReason::Refused, 0};
            case FetchError::Certificate:
                return ProbeVerdict{false, ProbeReason::Certificate, 0};
            default:
                return ProbeVerdict{false, ProbeReason::NoAnswer, 0};
        }
    }
    // A head and then silence until the deadline: nobody is sending.
    if (result.body.empty() && (result.error == FetchError::Deadline || result.error == FetchError::Stalled))
        return ProbeVerdict{false, ProbeReason::NoAnswer, status_};
    // What arrived of a body the bounds or the server ended.
    if (kind_ == Kind::Playlist) {
        const bool ok = playlistHasEntry(result.body, true);
        return ProbeVerdict{ok, ok ? ProbeReason::None : ProbeReason::NotAStream, status_};
    }
    if (kind_ == Kind::Unknown && sniffMedia(result.body) == Sniff::Media)
        return ProbeVerdict{true, ProbeReason::None, status_};
    const bool ok = IsOnline(result.body);
    return ProbeVerdict{ok, ok ? ProbeReason::None : ProbeReason::NotAStream, status_};
}

util::Task<ProbeVerdict> probeStream(Fetcher& fetcher, std::string address) {
    if (isPlayerProtocol(address)) co_return ProbeVerdict{true, ProbeReason::PlayerOpens, 0};
    if (!isWebAddress(address)) co_return ProbeVerdict{false, ProbeReason::BadAddress, 0};
    StreamJudge judge;
    FetchRequest request;
    request.address = std::move(address);
    request.bounds = probeBounds();
    request.onHead = [&judge](const ResponseHead& head) {
        return judge.onHead(head) == StreamJudge::Decision::Undecided;
    };
    request.onBody = [&judge](const std::string& body) {
        return judge.onBody(body) == StreamJudge::Decision::Undecided;
    };
    const FetchResult result = co_await fetchAsync(fetcher, std::move(request));
    co_return judge.finish(result);
}

}  // namespace cd::fetch
