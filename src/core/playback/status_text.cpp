#include "playback/status_text.h"

#include <vector>

#include "util/text.h"

namespace cd::playback {

using fetch::FetchError;
using fetch::ProbeReason;

std::string connectingText(const localization::MessageTable& messages, std::string_view name) {
    return util::fillPlaceholders(messages.getMessages("MSG_STATUS_CONNECTING"), {name});
}

std::string playingText(const localization::MessageTable& messages, std::string_view name) {
    return util::fillPlaceholders(messages.getMessages("MSG_STATUS_PLAYING"), {name});
}

std::string offlineText(const localization::MessageTable& messages, std::string_view name,
                        const fetch::ProbeVerdict& verdict) {
    return util::fillPlaceholders(messages.getMessages("MSG_STATUS_OFFLINE"), {name, reasonText(messages, verdict)});
}

std::string notPlayedText(const localization::MessageTable& messages, std::string_view name, std::string_view reason) {
    return util::fillPlaceholders(messages.getMessages("MSG_STATUS_NOTPLAYED"), {name, reason});
}

std::string nowPlayingText(const localization::MessageTable& messages, std::string_view name,
                           const platform::MediaInfo& media) {
    std::string text =
        media.streamTitle.empty() || media.streamTitle == name
            ? playingText(messages, name)
            : util::fillPlaceholders(messages.getMessages("MSG_STATUS_PLAYINGTITLE"), {name, media.streamTitle});
    const std::string details = mediaDetails(media);
    if (!details.empty()) text += " (" + details + ")";
    return text;
}

std::string mediaDetails(const platform::MediaInfo& media) {
    std::vector<std::string> parts;
    const std::string& codec = media.hasVideo() && !media.videoCodec.empty() ? media.videoCodec : media.audioCodec;
    if (!codec.empty()) parts.push_back(codec);
    if (media.hasVideo()) parts.push_back(util::decimal(media.width) + "\xC3\x97" + util::decimal(media.height));  // ×
    if (media.bitrateKbps > 0) parts.push_back(util::decimal(media.bitrateKbps) + " kbit/s");
    std::string out;
    for (const std::string& part : parts) {
        if (!out.empty()) out += ", ";
        out += part;
    }
    return out;
}

std::string reconnectingText(const localization::MessageTable& messages, std::string_view name, int attempt,
                             int tries) {
    return util::fillPlaceholders(messages.getMessages("MSG_STATUS_RECONNECTING"),
                                  {name, util::decimal(attempt), util::decimal(tries)});
}

std::string stoppedText(const localization::MessageTable& messages, std::string_view name, std::string_view reason) {
    return util::fillPlaceholders(messages.getMessages("MSG_STATUS_STOPPED"), {name, reason});
}

std::string userStoppedText(const localization::MessageTable& messages, std::string_view name) {
    return util::fillPlaceholders(messages.getMessages("MSG_STATUS_USERSTOPPED"), {name});
}

std::string reasonText(const localization::MessageTable& messages, const fetch::ProbeVerdict& verdict) {
    switch (verdict.reason) {
        case ProbeReason::Refused:
            return messages.fragment("MSG_REASON_REFUSED");
        case ProbeReason::NoAnswer:
            return messages.fragment("MSG_REASON_NOANSWER");
        case ProbeReason::NotFound:
            return messages.fragment("MSG_REASON_NOTFOUND");
        case ProbeReason::HttpError:
            return util::fillPlaceholders(messages.fragment("MSG_REASON_HTTPERROR"), {util::decimal(verdict.status)});
        case ProbeReason::Certificate:
            return messages.fragment("MSG_REASON_CERTIFICATE");
        case ProbeReason::UnknownHost:
            return messages.fragment("MSG_REASON_UNKNOWNHOST");
        case ProbeReason::BadAddress:
            return messages.fragment("MSG_REASON_BADADDRESS");
        case ProbeReason::NotAStream:
        case ProbeReason::None:
        case ProbeReason::PlayerOpens:
            break;
    }
    return messages.fragment("MSG_REASON_NOTSTREAM");
}

}  // namespace cd::playback
