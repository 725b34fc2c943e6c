#pragma once
// A click on a channel or a channel favourite: the bounded probe of its
// address, then the player or the offline picture and a report.
#include <string>
#include <string_view>

#include "fetch/fetch.h"
#include "fetch/report.h"
#include "platform/player.h"
#include "ui/control.h"
#include "util/request_sequence.h"

namespace cd::fetch {

/// Probes address as the newest of playbackRequests. Online: the player
/// gets the address. Offline: offlinePicture is shown and the address is
/// reported "OFFLINE" with reportValue. A request superseded during the
/// probe (another playback request, the window closing) does neither: its
/// probe was cut short and decided nothing.
void PlayIfOnline(const std::string& address, HttpFetcher& fetcher, Reporter& reporter, platform::Player& player,
                  util::RequestSequence& playbackRequests, ui::Control& offlinePicture, std::string_view reportValue);

}  // namespace cd::fetch
