#include "playback/status_text.h"

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
