#include "playback/player_failure.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/configuration.h"

namespace cd::playback {
namespace {

// Catches a failure kind whose key is missing from the defaults (an empty
// reason in the box), two kinds that read alike, and a box that loses the
// address or the reason.
TEST(PlayerFailure, EveryKindHasItsOwnWordsAndTheBoxNamesAddressAndReason) {
    localization::MessageTable messages(platform::Configuration::defaults().version);
    localization::addDefaultMessages(messages);
    std::set<std::string> reasons;
    for (PlayerFailure f : {PlayerFailure::UnknownFormat, PlayerFailure::NotOpened, PlayerFailure::NothingToPlay,
                            PlayerFailure::NoOutput, PlayerFailure::Other}) {
        const std::string reason = playerFailureReason(messages, f);
        EXPECT_FALSE(reason.empty());
        EXPECT_TRUE(reasons.insert(reason).second) << reason;
    }
    EXPECT_EQ(playerErrorTitle(messages), "Media Player");
    EXPECT_EQ(playerErrorText(messages, "/music/notes.mp3", PlayerFailure::UnknownFormat),
              "The medium /music/notes.mp3 cannot be played: it is in no format the player knows.");

    // A language that translates the words is followed at once.
    const auto& entries = messages.entries();
    for (int i = 0; i < localization::MessageTable::kSize; ++i)
        if (entries[static_cast<std::size_t>(i)].key == "MSG_PLAYER_CANNOTPLAY")
            messages.setText(i, "Das Medium %1 kann nicht abgespielt werden: %2.");
    EXPECT_EQ(playerErrorText(messages, "x.wav", PlayerFailure::Other),
              "Das Medium x.wav kann nicht abgespielt werden: the player stopped with an error.");
}

}  // namespace
}  // namespace cd::playback
