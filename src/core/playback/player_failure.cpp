#include "playback/player_failure.h"

#include "util/text.h"

namespace cd::playback {

std::string playerFailureReason(const localization::MessageTable& messages, PlayerFailure failure) {
    switch (failure) {
        case PlayerFailure::UnknownFormat:
            return messages.fragment("MSG_REASON_UNKNOWNFORMAT");
        case PlayerFailure::NotOpened:
            return messages.fragment("MSG_REASON_NOTOPENED");
        case PlayerFailure::NothingToPlay:
            return messages.fragment("MSG_REASON_NOTHINGTOPLAY");
        case PlayerFailure::NoOutput:
            return messages.fragment("MSG_REASON_NOOUTPUT");
        case PlayerFailure::Other:
            break;
    }
    return messages.fragment("MSG_REASON_PLAYERFAILED");
}

std::string playerErrorTitle(const localization::MessageTable& messages) {
    return messages.getMessages("MSG_PLAYER_TITLE");
}

std::string playerErrorText(const localization::MessageTable& messages, std::string_view address,
                            PlayerFailure failure) {
    return util::fillPlaceholders(messages.getMessages("MSG_PLAYER_CANNOTPLAY"),
                                  {address, playerFailureReason(messages, failure)});
}

}  // namespace cd::playback
