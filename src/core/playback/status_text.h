#pragma once
// The texts of the status line under the player, from the message table so
// that they follow the chosen language.
#include <string>
#include <string_view>

#include "fetch/fetch_types.h"
#include "fetch/stream_probe.h"
#include "localization/message_table.h"
#include "platform/player.h"

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
/// "Playing NAME: TITLE" when the station sends a title, else "Playing
/// NAME"; either followed by what the player knows of the medium, as
/// "(mp3, 128 kbit/s)" or "(h264, 1280×720, 2400 kbit/s)".
std::string nowPlayingText(const localization::MessageTable& messages, std::string_view name,
                           const platform::MediaInfo& media);
/// The medium's codec, picture size and bitrate, as shown in brackets above;
/// empty when the player knows none of them.
std::string mediaDetails(const platform::MediaInfo& media);
/// "Reconnecting to NAME… (try N of M)".
std::string reconnectingText(const localization::MessageTable& messages, std::string_view name, int attempt, int tries);
/// "NAME stopped: REASON." once reconnecting has given up.
std::string stoppedText(const localization::MessageTable& messages, std::string_view name, std::string_view reason);
/// "NAME stopped." after the user stopped it.
std::string userStoppedText(const localization::MessageTable& messages, std::string_view name);
/// Why a probe found no stream, in the user's words.
std::string reasonText(const localization::MessageTable& messages, const fetch::ProbeVerdict& verdict);

}  // namespace cd::playback
