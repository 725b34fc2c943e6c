#pragma once
// The probe of a channel before it plays: is there a stream behind the
// address? It decides on evidence, as soon as there is enough: a failed
// connection or an error status is offline; a media response is online at
// its first bytes (at its head for icy streams) and never searched for
// failure words; a playlist is online when it lists an entry; anything else
// is a text page, judged by the online test on what arrived.
#include <string>
#include <string_view>

#include "fetch/fetch_types.h"
#include "fetch/fetcher.h"
#include "util/task.h"

namespace cd::fetch {

enum class ProbeReason {
    None,         // online
    PlayerOpens,  // a streaming protocol the player opens itself: not probed
    BadAddress,   // a scheme that is neither the web's nor the player's
    UnknownHost,
    Refused,
    NoAnswer,
    NotFound,   // 404 or 410
    HttpError,  // any other status of 400 or above
    Certificate,
    NotAStream,  // a page with failure words, a blank page, an empty playlist
};

struct ProbeVerdict {
    bool online = false;
    ProbeReason reason = ProbeReason::None;
    long status = 0;  // the response's, when there was one
};

/// The reason in a few words for the command line ("refused", "no answer",
/// "not found", "certificate not trusted", "not a stream", ...).
std::string describe(const ProbeVerdict& verdict);

/// True for the streaming protocols the player opens itself (rtsp, rtsps,
/// rtmp, rtmps, mms, mmsh, mmst): they are not probed over http.
bool isPlayerProtocol(std::string_view address);

/// The probe's judgement, fed as the response arrives.
class StreamJudge {
public:
    enum class Decision { Undecided, Online, Offline };

    Decision onHead(const ResponseHead& head);
    Decision onBody(std::string_view body);
    /// The verdict once the fetch has ended, whatever ended it.
    ProbeVerdict finish(const FetchResult& result);

private:
    enum class Kind { Unknown, Media, Playlist, Text };
    Decision decide(bool online, ProbeReason reason);
    Decision decided_ = Decision::Undecided;
    ProbeVerdict verdict_;
    Kind kind_ = Kind::Unknown;
    long status_ = 0;
};

/// True when bytes start like a media container or elementary stream the
/// player plays (MPEG audio, ADTS, MPEG-TS, Ogg, FLAC, MP4, Matroska/WebM,
/// FLV, WAV). Nothing when there are too few bytes to tell yet.
enum class Sniff { Media, NotMedia, TooShort };
Sniff sniffMedia(std::string_view bytes);
/// Sniff for an extended M3U playlist ("#EXTM3U" after an optional BOM).
Sniff sniffPlaylist(std::string_view bytes);
/// True when an M3U text lists at least one entry (a line that is neither
/// blank nor a "#" line). A last line without its line end counts only when
/// complete is true.
bool playlistHasEntry(std::string_view text, bool complete);

/// Probes address within probeBounds(); see the header comment.
util::Task<ProbeVerdict> probeStream(Fetcher& fetcher, std::string address);

}  // namespace cd::fetch
