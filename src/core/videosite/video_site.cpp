#include "videosite/video_site.h"

#include "util/text.h"
#include "videosite/video_tables.h"

namespace cd::videosite {

VideoSite::VideoSite(ui::Form1& form, std::string& regionCode, std::string& currentCategory,
                     fetch::HttpFetcher& fetcher, platform::Hosts hosts, std::filesystem::path programFolder,
                     VideoPage& page, favourites::Favourites& favourites)
    : form_(form),
      regionCode_(regionCode),
      currentCategory_(currentCategory),
      fetcher_(fetcher),
      hosts_(std::move(hosts)),
      scraper_(std::move(programFolder)),
      page_(page),
      favourites_(favourites) {}

void VideoSite::cmdYouTube_Click() {
    form_.Frame1->setVisible(false);
    form_.Frame3->setVisible(false);
    form_.Frame4->setVisible(false);
    form_.Frame5->setVisible(true);
    form_.wbyoutube->setVisible(true);
    form_.WindowsMediaPlayer1->setVisible(false);
    currentCategory_ = kVideoCategory;
    form_.ListView1->clear();
    loadVideoListing();
}

void VideoSite::Combo3_Click() { loadVideoListing(); }

void VideoSite::Combo4_Click() {
    const std::string& choice = form_.Combo4->text();
    if (choice == kSearchModeEntry) {
        form_.txtSearch->setVisible(true);
        form_.cmdSearch->setVisible(true);
        form_.Combo3->setVisible(false);
        return;
    }
    if (const auto code = RegionCode(choice)) regionCode_ = std::string(*code);
    form_.Combo3->setVisible(true);
    form_.cmdSearch->setVisible(false);
    form_.txtSearch->setVisible(false);
    loadVideoListing();
}

void VideoSite::cmdSearch_Click() { searchVideos(); }

void VideoSite::loadPages(const std::string& base, int pages, util::RequestSequence::Ticket ticket) {
    fetch::FetchLimits limits;
    limits.stillWanted = [this, ticket] { return listings_.isLatest(ticket); };
    for (int page = 1; page <= pages; ++page) {
        // The fetch lets window events run. A listing started meanwhile has
        // cleared the list and filled it; rows of this older one appended
        // after them would mix two listings, so this one stops.
        std::string body = fetcher_.HttpGetWithProgress(base + util::decimal(page), *form_.txtStatus, limits);
        if (!listings_.isLatest(ticket)) return;
        parseVideoPage(body);
    }
}

void VideoSite::loadVideoListing() {
    const auto ticket = listings_.begin();
    form_.ListView3->clear();
    loadPages(ListingBase(hosts_.video, form_.Combo3->text(), regionCode_), kListingPages, ticket);
}

void VideoSite::searchVideos() {
    const auto ticket = listings_.begin();
    form_.ListView3->clear();
    loadPages(SearchBase(hosts_.videoRegional, form_.txtSearch->text()), kSearchPages, ticket);
}

void VideoSite::parseVideoPage(std::string& page) { scraper_.parseVideoPage(page, *form_.ListView3); }

void VideoSite::ListView3_Click() {
    if (form_.chkLoad->checked()) return;
    const ui::ListItem* selected = form_.ListView3->selectedItem();
    if (!selected) return;
    const std::string title = selected->text;
    const std::string id = selected->key;
    page_.showVideoPage(title, id);
}

void VideoSite::mnuAction2Item_Click(int index) {
    if (index != 0) return;
    const ui::ListItem* selected = form_.ListView3->selectedItem();
    if (!selected) return;
    const std::string title = selected->text;
    const std::string id = selected->key;
    favourites_.AddVideoFavorite(title, id);
}

}  // namespace cd::videosite
