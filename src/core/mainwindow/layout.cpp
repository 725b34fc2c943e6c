#include "mainwindow/layout.h"

#include <cstdlib>

#include "mainwindow/window_limits.h"

namespace cd::mainwindow {

namespace {

// Margins the layout keeps, in twips.
constexpr int kRightMargin = 600;
constexpr int kBottomMargin = 1000;
constexpr int kPanelBelowVideo = 140;
constexpr int kGap = 60;
constexpr int kFileBrowserReserve = 600;
constexpr int kEditionGap = 60;
constexpr int kStatusGap = 45;
// The video progress line: a one-line text box needs this much height to
// show its text whole (the designer's 285 twips cut it in half).
constexpr int kVideoStatusHeight = 345;

}  // namespace

void ApplyEditionButtons(ui::MainWindow& form, const std::string& companyName) {
    const bool full = companyName == kFullEditionCompany;
    for (ui::Control* c : {form.sportsButton, form.extrasButton, form.adultButton}) c->setVisible(full);
    for (int i = 5; i <= 7; ++i) form.categoryMenuItems[static_cast<std::size_t>(i)]->setVisible(full);
    if (full) form.websiteButton->setLeft(form.adultButton->left() + form.adultButton->width() + kEditionGap);
}

void LayoutMainWindow(ui::MainWindow& f, bool bannerShown, int bannerHeight) {
    ShareExtraWidth(f);
    ui::Control& video = *f.player;
    video.setWidth(std::abs(f.width() - video.left() - kRightMargin));
    video.setHeight(std::abs(f.height() - video.top() - kBottomMargin));

    f.videoPage->move(video.left(), video.top(), video.width(), video.height());
    // The status line sits in the margin below the player.
    f.playerStatus->move(video.left(), video.top() + video.height() + kStatusGap, video.width(),
                         f.playerStatus->height());

    ui::Control& offline = *f.offlinePicture;
    offline.setTop(std::abs(video.height() / 2 - offline.height() / 2 + video.top()));
    offline.setLeft(std::abs(video.width() / 2 - offline.width() / 2 + video.left()));

    // Start-up moved the video area down by the banner's height; adding it
    // back here keeps the panels ending just below the video area.
    ui::Control& panel = *f.channelPanel;
    int panelHeight = video.height() + kPanelBelowVideo;
    if (bannerShown) panelHeight += bannerHeight;
    panel.setHeight(panelHeight);
    for (ui::Control* other : {f.favouritesPanel, f.filesPanel, f.videoSitePanel})
        other->move(panel.left(), panel.top(), panel.width(), panel.height());

    // Each list sits below its search field; the favourites list has the
    // channel list's rectangle.
    ui::ListView& channels = *f.channelList;
    channels.setHeight(std::abs(panel.height() - channels.top() - kGap));
    ui::ListView& favourites = *f.favouritesList;
    favourites.move(channels.left(), channels.top(), channels.width(), channels.height());
    f.channelSearch->setWidth(channels.width());
    f.favouriteSearch->setWidth(favourites.width());

    ui::ListView& videos = *f.videoList;
    ui::Control& status = *f.videoStatus;
    status.setHeight(kVideoStatusHeight);
    videos.setHeight(std::abs(f.favouritesList->height() - status.height() - kGap));
    status.setTop(videos.height() + videos.top() + kGap);

    ui::ListBox& dirs = *f.folderList;
    ui::ListBox& files = *f.fileList;
    dirs.setHeight(std::abs((f.filesPanel->height() - dirs.top() - kFileBrowserReserve) / 2));
    files.move(files.left(), std::abs(dirs.height() + dirs.top() + kGap), files.width(), dirs.height());

    ui::Control& website = *f.websiteButton;
    website.setWidth(std::abs(f.width() - website.left() - kRightMargin));

    const MinimumSize least = MinimumMainWindowSize(f, bannerShown, bannerHeight);
    f.setMinimumSize(least.width, least.height);
}

void resizeMainWindow(ui::MainWindow& form, bool minimised, bool bannerShown, int bannerHeight) {
    if (minimised) return;
    LayoutMainWindow(form, bannerShown, bannerHeight);
}

}  // namespace cd::mainwindow
