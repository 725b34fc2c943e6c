#pragma once
// The player's own report of a medium it cannot open, in the chosen
// language: the engine names its failure by kind, and the words come from
// the message table.
#include <string>
#include <string_view>

#include "localization/message_table.h"

namespace cd::playback {

/// Why the player could not open or play a medium.
enum class PlayerFailure {
    UnknownFormat,  // the bytes are no medium the player knows
    NotOpened,      // the file or address could not be opened
    NothingToPlay,  // opened, but it holds no sound or picture
    NoOutput,       // the sound or picture output could not start
    Other,
};

/// The reason in the user's words, to stand inside another message.
std::string playerFailureReason(const localization::MessageTable& messages, PlayerFailure failure);
/// The title of the player's error box.
std::string playerErrorTitle(const localization::MessageTable& messages);
/// "The medium ADDRESS cannot be played: REASON."; address is UTF-8.
std::string playerErrorText(const localization::MessageTable& messages, std::string_view address,
                            PlayerFailure failure);

}  // namespace cd::playback
