#include "mainwindow/window_limits.h"

#include <algorithm>

namespace cd::mainwindow {

namespace {

// The start geometry of main_window.cpp, which the shares are added to.
constexpr int kPanelWidth = 5235;
constexpr int kPlayerLeft = 5520;
// Room right of the panels' lists and buttons, as at the start.
constexpr int kListRightGap = 120;
constexpr int kStatusRightGap = 180;
constexpr int kFileListRightGap = 120;

// The outer frame: title bar and menu bar above the controls, borders.
constexpr int kFrameHeight = 810;
// The least room the stretched areas keep: a website button that still
// shows a word, a player that still shows a picture, panels whose lists
// still show a few rows.
constexpr int kMinWebsiteWidth = 1500;
constexpr int kMinPlayerWidth = 3000;
constexpr int kMinPanelHeight = 5400;
constexpr int kMinPlayerHeight = 2000;
constexpr int kRightMargin = 600;
constexpr int kBottomMargin = 1000;
constexpr int kPanelBelowVideo = 140;

void widenTo(ui::Control& c, int right) { c.setWidth(std::max(0, right - c.left())); }
void keepRightEdge(ui::Control& c, int right) { c.setLeft(std::max(0, right - c.width())); }

}  // namespace

int PanelShareOfExtraWidth(int windowWidth) { return std::max(0, windowWidth - kStartWindowWidth) * 2 / 5; }

void ShareExtraWidth(ui::MainWindow& f) {
    const int share = PanelShareOfExtraWidth(f.width());
    const int panelWidth = kPanelWidth + share;
    for (ui::Control* panel : {f.channelPanel, f.favouritesPanel, f.filesPanel, f.videoSitePanel})
        panel->setWidth(panelWidth);
    const int inner = panelWidth - kListRightGap;
    for (ui::Control* list : {static_cast<ui::Control*>(f.channelList), static_cast<ui::Control*>(f.favouritesList),
                              static_cast<ui::Control*>(f.videoList)})
        widenTo(*list, inner);
    widenTo(*f.videoStatus, panelWidth - kStatusRightGap);
    for (ui::Control* box : {f.driveList, f.folderList, f.fileList}) widenTo(*box, panelWidth - kFileListRightGap);
    for (ui::Control* button : {f.channelActionsButton, f.videoActionsButton, f.removeFavouriteButton})
        keepRightEdge(*button, inner);

    const int left = kPlayerLeft + share;
    f.player->setLeft(left);
    f.editorPanel->setLeft(left);
    f.bannerPicture->setLeft(left);
    // Once shown, the banner sits in its own box at the banner's place.
    ui::Control* bannerBox = f.banner->container() == "picBox" ? f.find("picBox") : f.banner;
    if (bannerBox) bannerBox->setLeft(left);
}

MinimumSize MinimumMainWindowSize(const ui::MainWindow& f, bool bannerShown, int bannerHeight) {
    int buttonsRight = 0;
    for (const ui::Control* b : {f.tvButton, f.radioButton, f.videoButton, f.favouritesButton, f.videoSiteButton,
                                 f.myFilesButton, f.sportsButton, f.extrasButton, f.adultButton})
        if (b->visible()) buttonsRight = std::max(buttonsRight, b->left() + b->width());
    const int websiteRight = std::max(buttonsRight, f.websiteButton->left()) + kMinWebsiteWidth;
    const int playerRight = kPlayerLeft + kMinPlayerWidth;
    MinimumSize size;
    size.width = std::max(websiteRight, playerRight) + kRightMargin;

    // The panel's height follows the video area's (layout): the window is
    // as tall as a panel of kMinPanelHeight needs.
    const int videoHeight = kMinPanelHeight - kPanelBelowVideo - (bannerShown ? bannerHeight : 0);
    size.height = f.player->top() + std::max(videoHeight, kMinPlayerHeight) + kBottomMargin;
    // The model's sizes are outer sizes, frame included.
    if (f.editorPanel->visible())
        size.height = std::max(size.height, f.editorPanel->top() + f.editorPanel->height() + kFrameHeight);
    return size;
}

}  // namespace cd::mainwindow
