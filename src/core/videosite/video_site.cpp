#include "videosite/video_site.h"

#include "formats/page_charset.h"
#include "util/text.h"
#include "videosite/video_rows.h"
#include "videosite/video_tables.h"

namespace cd::videosite {

VideoSite::VideoSite(ui::MainWindow& form, std::string& regionCode, std::string& currentCategory,
                     fetch::Fetcher& fetcher, platform::Hosts hosts, std::filesystem::path programFolder,
                     VideoPage& page, favourites::Favourites& favourites, std::function<void()> takingScreen)
    : form_(form),
      regionCode_(regionCode),
      currentCategory_(currentCategory),
      fetcher_(fetcher),
      hosts_(std::move(hosts)),
      scraper_(std::move(programFolder)),
      page_(page),
      favourites_(favourites),
      takingScreen_(std::move(takingScreen)) {
    // Pages are decoded to UTF-8 before they are scraped.
    form_.videoList->setTextKind(ui::TextKind::Utf8);
    form_.videoKindBox->clicked.connect([this] { chooseListingKind(); });
    form_.videoCountryBox->clicked.connect([this] { chooseCountry(); });
    form_.videoSearchButton->clicked.connect([this] { search(); });
    // Return in the search box searches, as the button does.
    form_.videoSearchText->keyPressed.connect([this](int key) {
        if (key == 13) search();
    });
    form_.videoList->itemClicked.connect([this](int) { showSelectedVideo(); });
    for (std::size_t i = 0; i < form_.videoActionItems.size(); ++i)
        form_.videoActionItems[i]->clicked.connect([this, i] { chooseVideoAction(static_cast<int>(i)); });
}

void VideoSite::openVideoSite() {
    form_.channelPanel->setVisible(false);
    form_.favouritesPanel->setVisible(false);
    form_.filesPanel->setVisible(false);
    form_.videoSitePanel->setVisible(true);
    form_.videoPage->setVisible(true);
    form_.player->setVisible(false);
    currentCategory_ = kVideoCategory;
    form_.channelList->clear();
    loadVideoListing();
}

void VideoSite::chooseListingKind() { loadVideoListing(); }

void VideoSite::chooseCountry() {
    const std::string& choice = form_.videoCountryBox->text();
    if (choice == kSearchModeEntry) {
        form_.videoSearchText->setVisible(true);
        form_.videoSearchButton->setVisible(true);
        form_.videoKindBox->setVisible(false);
        return;
    }
    if (const auto code = RegionCode(choice)) regionCode_ = std::string(*code);
    form_.videoKindBox->setVisible(true);
    form_.videoSearchButton->setVisible(false);
    form_.videoSearchText->setVisible(false);
    loadVideoListing();
}

void VideoSite::search() { searchVideos(); }

util::Task<> VideoSite::loadPages(std::string base, int pages) {
    ui::Control& status = *form_.videoStatus;
    const auto showProgress = [&status](std::size_t bytes) {
        status.setText("Downloaded " + util::decimal(static_cast<long long>(bytes)) + " bytes.");
    };
    for (int page = 1; page <= pages; ++page) {
        fetch::FetchRequest request;
        request.address = base + util::decimal(page);
        request.bounds = fetch::pageBounds();
        request.onProgress = showProgress;
        fetch::FetchResult result = co_await fetch::fetchAsync(fetcher_, std::move(request));
        // The last progress text names the whole page.
        if (result.bodyBytes > 0) showProgress(result.bodyBytes);
        // A page past its cap was cut off: its last rows could be half ones.
        if (result.error == fetch::FetchError::TooLarge) continue;
        std::string text = formats::DecodePageText(result.body, result.head.header("Content-Type"));
        parseVideoPage(text);
    }
}

void VideoSite::loadVideoListing() {
    form_.videoList->clear();
    listing_.start(loadPages(ListingBase(hosts_.video, form_.videoKindBox->text(), regionCode_), kListingPages));
}

void VideoSite::searchVideos() {
    form_.videoList->clear();
    listing_.start(loadPages(SearchBase(hosts_.videoRegional, form_.videoSearchText->text()), kSearchPages));
}

void VideoSite::parseVideoPage(std::string& page) { AddVideoRows(scraper_.parseVideoPage(page), *form_.videoList); }

void VideoSite::showSelectedVideo() {
    if (form_.dontLoadWhileEditingCheck->checked()) return;
    const auto selected = form_.videoList->selectedItem();
    if (!selected) return;
    const std::string title = selected->text;
    const std::string id = selected->key;
    if (takingScreen_) takingScreen_();
    page_.showVideoPage(title, id);
}

void VideoSite::chooseVideoAction(int index) {
    if (index != 0) return;
    const auto selected = form_.videoList->selectedItem();
    if (!selected) return;
    const std::string title = selected->text;
    const std::string id = selected->key;
    favourites_.addVideoFavourite(title, id);
}

}  // namespace cd::videosite
