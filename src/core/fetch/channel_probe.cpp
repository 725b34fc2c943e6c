#include "fetch/channel_probe.h"

#include "fetch/online_test.h"

namespace cd::fetch {

void PlayIfOnline(const std::string& address, HttpFetcher& fetcher, Reporter& reporter, platform::Player& player,
                  util::RequestSequence& playbackRequests, ui::Control& offlinePicture, std::string_view reportValue) {
    const auto ticket = playbackRequests.begin();
    const std::string body = fetcher.HttpGetText(address, probeLimits(playbackRequests, ticket));
    if (!playbackRequests.isLatest(ticket)) return;
    if (IsOnline(body)) {
        player.setUrl(address);
        return;
    }
    offlinePicture.setVisible(true);
    reporter.SubmitReport(address, "OFFLINE", std::string(reportValue));
}

}  // namespace cd::fetch
