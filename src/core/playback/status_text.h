#pragma once
// The texts of the status line under the player, from the message table so
// that they follow the chosen language.
#include <string>
#include <string_view>

#include "fetch/fetch_types.h"
#include "fetch/stream_probe.h"
#include "localization/message_table.h"

namespace cd::playback {

/// "Connecting to NAME…"; name is UTF-8.
std::string connectingText(const localization::MessageTable& messages, std::string_view name);
/// "Playing NAME".
std::string playingText(const localization::MessageTable& messages, std::string_view name);
/// "NAME is offline: REASON."
std::string offlineText(const localization::MessageTable& messages, std::string_view name,
                        const fetch::ProbeVerdict& verdict);
/// "NAME could not be played: REASON." with the player's own words.
std::string notPlayedText(const localization::MessageTable& messages, std::string_view name, std::string_view reason);
/// Why a probe found no stream, in the user's words.
std::string reasonText(const localization::MessageTable& messages, const fetch::ProbeVerdict& verdict);

}  // namespace cd::playback
