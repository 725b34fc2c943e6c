#include "mainwindow/layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "mainwindow/window_limits.h"
#include "ui/main_window.h"

namespace cd::mainwindow {
namespace {

using ui::Control;
using ui::MainWindow;

struct Rect {
    int left, top, width, height;
    bool operator==(const Rect&) const = default;
};

Rect rectOf(const Control& c) { return {c.left(), c.top(), c.width(), c.height()}; }

std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}

// Start-up's banner step: the player moves down by the banner's height.
constexpr int kBannerHeight = 945;
void moveVideoBelowBanner(MainWindow& f) { f.player->setTop(f.player->top() + kBannerHeight); }

// Catches a wrong margin or order in any of the stretched sizes at an ordinary size.
TEST(LayoutMainWindow, StretchesEveryAreaForAnOrdinarySize) {
    MainWindow f;
    f.resize(16000, 12000);
    LayoutMainWindow(f, false, 0);
    // 250 twips beyond the start width: the panels take 100 of them.
    EXPECT_EQ(rectOf(*f.player), (Rect{5620, 1020, 9780, 9980}));
    EXPECT_EQ(rectOf(*f.offlinePicture), (Rect{7510, 4510, 6000, 3000}));
    EXPECT_EQ(rectOf(*f.channelPanel), (Rect{60, 1020, 5335, 10120}));
    EXPECT_EQ(rectOf(*f.channelSearch), (Rect{180, 900, 5035, 315}));
    EXPECT_EQ(rectOf(*f.channelList), (Rect{180, 1260, 5035, 8800}));
    EXPECT_EQ(rectOf(*f.favouriteSearch), (Rect{180, 900, 5035, 315}));
    EXPECT_EQ(rectOf(*f.favouritesList), (Rect{180, 1260, 5035, 8800}));
    EXPECT_EQ(rectOf(*f.videoList), (Rect{180, 1140, 5035, 8395}));
    // The progress line is tall enough for one line of text, and inside its panel.
    EXPECT_EQ(rectOf(*f.videoStatus), (Rect{180, 9595, 4975, 345}));
    EXPECT_LE(f.videoStatus->top() + f.videoStatus->height(), f.videoSitePanel->height());
    EXPECT_EQ(rectOf(*f.folderList), (Rect{120, 660, 5095, 4430}));
    EXPECT_EQ(rectOf(*f.fileList), (Rect{120, 5150, 5095, 4430}));
    EXPECT_EQ(rectOf(*f.channelActionsButton), (Rect{3640, 180, 1575, 615}));
    EXPECT_EQ(rectOf(*f.websiteButton), (Rect{7980, 60, 7420, 915}));
}

// Catches shared rectangles drifting apart: page/player, the four panels, and
// the two lists with their search fields above them.
TEST(LayoutMainWindow, SharedRectanglesStayIdenticalAtAnySize) {
    MainWindow f;
    for (auto [w, h] : {std::pair{15750, 10935}, {9000, 7000}, {30000, 20000}, {300, 200}, {8000, 2100}}) {
        f.resize(w, h);
        LayoutMainWindow(f, false, 0);
        EXPECT_EQ(rectOf(*f.videoPage), rectOf(*f.player)) << w << "x" << h;
        EXPECT_EQ(rectOf(*f.favouritesList), rectOf(*f.channelList)) << w << "x" << h;
        EXPECT_EQ(rectOf(*f.favouriteSearch), rectOf(*f.channelSearch)) << w << "x" << h;
        for (Control* panel : {f.favouritesPanel, f.filesPanel, f.videoSitePanel})
            EXPECT_EQ(rectOf(*panel), rectOf(*f.channelPanel)) << panel->name() << " at " << w << "x" << h;
    }
}

// Catches a negative size, or a size clamped to zero, in a window smaller than the margins.
TEST(LayoutMainWindow, TinyWindowsGiveAbsoluteSizes) {
    MainWindow f;
    f.resize(1000, 800);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(rectOf(*f.player), (Rect{5520, 1020, 5120, 1220}));
    EXPECT_EQ(f.offlinePicture->top(), 130);
    EXPECT_EQ(f.offlinePicture->left(), 5080);
    EXPECT_EQ(f.channelPanel->height(), 1360);
    EXPECT_EQ(f.channelList->height(), 40);
    EXPECT_EQ(f.favouritesList->height(), 40);
    EXPECT_EQ(f.videoList->height(), 365);
    EXPECT_EQ(f.videoStatus->top(), 1565);
    EXPECT_EQ(f.folderList->height(), 50);
    EXPECT_EQ(f.fileList->top(), 770);
    EXPECT_EQ(f.websiteButton->width(), 7580);

    // A panel lower than the lists' own tops: each inner difference turns positive.
    f.resize(8000, 2100);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(f.player->height(), 80);
    EXPECT_EQ(f.channelPanel->height(), 220);
    EXPECT_EQ(f.channelList->height(), 1100);
    EXPECT_EQ(f.favouritesList->height(), 1100);
    EXPECT_EQ(f.videoList->height(), 695);
    EXPECT_EQ(f.videoStatus->top(), 1895);
    EXPECT_EQ(f.folderList->height(), 520);
    EXPECT_EQ(f.fileList->top(), 1240);
    EXPECT_EQ(f.fileList->height(), 520);
}

// Catches a layout that clamps instead of taking the absolute value: shrinking below the margin grows the area.
TEST(LayoutMainWindow, VideoAreaGrowsAgainAsTheWindowShrinksPastTheMargin) {
    MainWindow f;
    f.resize(16000, 2500);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(f.player->height(), 480);
    f.resize(16000, 1500);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(f.player->height(), 520);
    f.resize(16000, 500);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(f.player->height(), 1520);
}

// Catches the banner height added twice or not at all: panels end 140 twips below the video either way.
TEST(LayoutMainWindow, PanelsEnd140BelowTheVideoAreaWithAndWithoutBanner) {
    for (bool banner : {false, true}) {
        MainWindow f;
        if (banner) moveVideoBelowBanner(f);
        for (auto [w, h] : {std::pair{15750, 10935}, {20000, 14000}, {12000, 6000}}) {
            f.resize(w, h);
            LayoutMainWindow(f, banner, kBannerHeight);
            const Control& video = *f.player;
            const Control& panel = *f.channelPanel;
            EXPECT_EQ(panel.top() + panel.height(), video.top() + video.height() + 140)
                << (banner ? "banner" : "no banner") << " " << w << "x" << h;
        }
    }
    MainWindow withBanner;
    moveVideoBelowBanner(withBanner);
    withBanner.resize(16000, 12000);
    LayoutMainWindow(withBanner, true, kBannerHeight);
    EXPECT_EQ(rectOf(*withBanner.player), (Rect{5620, 1965, 9780, 9035}));
    EXPECT_EQ(rectOf(*withBanner.videoPage), (Rect{5620, 1965, 9780, 9035}));
    EXPECT_EQ(withBanner.banner->left(), 5620) << "the banner stays above the player";
    EXPECT_EQ(withBanner.channelPanel->height(), 10120);
    EXPECT_EQ(withBanner.offlinePicture->top(), 9035 / 2 - 1500 + 1965);
}

// Catches the offline picture placed off the video area's centre.
TEST(LayoutMainWindow, OfflinePictureIsCentredOnTheVideoArea) {
    MainWindow f;
    f.resize(22000, 15000);
    LayoutMainWindow(f, false, 0);
    const Control& v = *f.player;
    const Control& img = *f.offlinePicture;
    EXPECT_EQ(img.left() + img.width() / 2, v.left() + v.width() / 2);
    EXPECT_EQ(img.top() + img.height() / 2, v.top() + v.height() / 2);
    EXPECT_EQ(img.width(), 6000);
    EXPECT_EQ(img.height(), 3000);
    // The status line follows the player: just below it, as wide as it.
    const Control& status = *f.playerStatus;
    EXPECT_EQ(status.left(), v.left());
    EXPECT_EQ(status.width(), v.width());
    EXPECT_GT(status.top(), v.top() + v.height());
    EXPECT_LT(status.top() + status.height(), f.height());
}

// Catches the layout moving a control it must leave alone (buttons, combo boxes, list tops).
TEST(LayoutMainWindow, NothingElseMovesAtTheStartWidth) {
    MainWindow f;
    std::map<const Control*, Rect> before;
    for (const auto& c : f.controls()) before[c.get()] = rectOf(*c);
    f.resize(15750, 13000);
    LayoutMainWindow(f, true, kBannerHeight);
    const std::set<const Control*> laidOut = {f.player,          f.videoPage,     f.offlinePicture, f.channelPanel,
                                              f.favouritesPanel, f.filesPanel,    f.videoSitePanel, f.channelList,
                                              f.favouritesList,  f.videoList,     f.videoStatus,    f.folderList,
                                              f.fileList,        f.websiteButton, f.playerStatus};
    for (const auto& c : f.controls()) {
        if (laidOut.count(c.get())) continue;
        EXPECT_EQ(rectOf(*c), before[c.get()]) << c->name() << (c->index() ? std::to_string(*c->index()) : "");
    }
    EXPECT_EQ(f.websiteButton->left(), before[f.websiteButton].left);
    EXPECT_EQ(f.videoList->top(), 1140);
    EXPECT_EQ(f.folderList->top(), 660);
}

// Catches a minimised window being laid out (its tiny size would crush every control).
TEST(FormResize, MinimisedWindowIsLeftAloneAndRestoringLaysOut) {
    MainWindow f;
    f.resize(16000, 12000);
    resizeMainWindow(f, false, false, 0);
    const Rect video = rectOf(*f.player);
    f.resize(0, 0);
    resizeMainWindow(f, true, false, 0);
    EXPECT_EQ(rectOf(*f.player), video);
    EXPECT_EQ(f.channelPanel->height(), 10120);
    f.resize(18000, 12000);
    resizeMainWindow(f, false, false, 0);
    EXPECT_EQ(f.player->width(), 11880 - (18000 - 15750) * 2 / 5);
}

// Catches a list pane that keeps its start width in a wide window, a player
// that does not start where the panels end, panel buttons left behind the
// widened lists, and a share taken from a narrow window.
TEST(LayoutMainWindow, WideWindowSharesItsExtraWidthWithTheLists) {
    EXPECT_EQ(PanelShareOfExtraWidth(15750), 0);
    EXPECT_EQ(PanelShareOfExtraWidth(12000), 0);
    EXPECT_EQ(PanelShareOfExtraWidth(25750), 4000);
    MainWindow f;
    f.editorPanel->setVisible(true);
    f.resize(25750, 12000);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(f.channelPanel->width(), 9235);
    for (Control* panel : {f.favouritesPanel, f.filesPanel, f.videoSitePanel})
        EXPECT_EQ(rectOf(*panel), rectOf(*f.channelPanel)) << panel->name();
    EXPECT_EQ(f.channelList->left() + f.channelList->width(), 9115);
    EXPECT_EQ(f.videoList->width(), f.channelList->width());
    EXPECT_EQ(f.fileList->width(), f.folderList->width());
    EXPECT_EQ(f.driveList->width(), f.folderList->width());
    EXPECT_EQ(f.channelActionsButton->left() + f.channelActionsButton->width(), 9115);
    EXPECT_EQ(f.removeFavouriteButton->left() + f.removeFavouriteButton->width(), 9115);
    EXPECT_EQ(f.player->left(), 9520);
    EXPECT_EQ(f.player->width(), 25750 - 9520 - 600);
    EXPECT_EQ(f.editorPanel->left(), f.player->left());
    EXPECT_EQ(f.bannerPicture->left(), f.player->left());
    // Narrowed again: everything back at its start place.
    f.resize(15750, 12000);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(f.channelPanel->width(), 5235);
    EXPECT_EQ(f.channelList->width(), 4935);
    EXPECT_EQ(f.channelActionsButton->left(), 3540);
    EXPECT_EQ(f.player->left(), 5520);
}

// Catches a minimum size that cuts off the edition's buttons or the website
// button, or a window too low for the editor panel in editor mode.
TEST(MinimumMainWindowSize, KeepsEveryButtonAndTheEditorInside) {
    MainWindow standard;
    ApplyEditionButtons(standard, "Some Other Company");
    const MinimumSize least = MinimumMainWindowSize(standard, false, 0);
    EXPECT_GE(least.width, standard.websiteButton->left() + 1500 + 600);
    EXPECT_LE(least.width, 15750) << "the start size is allowed";
    EXPECT_LE(least.height, 10935);

    MainWindow full;
    ApplyEditionButtons(full, "Quenmark Software");
    const MinimumSize fullLeast = MinimumMainWindowSize(full, false, 0);
    EXPECT_GE(fullLeast.width, full.adultButton->left() + full.adultButton->width() + 60 + 1500 + 600);
    EXPECT_GT(fullLeast.width, least.width);
    EXPECT_LE(fullLeast.width, 15750);

    full.editorPanel->setVisible(true);
    const MinimumSize editing = MinimumMainWindowSize(full, true, kBannerHeight);
    EXPECT_GE(editing.height, full.editorPanel->top() + full.editorPanel->height() + 810);
    EXPECT_LE(editing.height, 10935);

    // The layout hands it to the window, at its least size too.
    full.resize(1000, 800);
    LayoutMainWindow(full, true, kBannerHeight);
    EXPECT_EQ(full.minimumWidth(), fullLeast.width);
    EXPECT_EQ(full.minimumHeight(), editing.height);
}

// Catches the website button's width being computed from the wrong left edge per edition.
TEST(LayoutMainWindow, WebsiteButtonReachesTheRightMarginInBothEditions) {
    MainWindow standard;
    ApplyEditionButtons(standard, "Some Other Company");
    standard.resize(16000, 12000);
    LayoutMainWindow(standard, false, 0);
    EXPECT_EQ(standard.websiteButton->width(), 16000 - 7980 - 600);

    MainWindow full;
    ApplyEditionButtons(full, "Quenmark Software");
    full.resize(16000, 12000);
    LayoutMainWindow(full, false, 0);
    EXPECT_EQ(full.websiteButton->left(), 11955);
    EXPECT_EQ(full.websiteButton->width(), 16000 - 11955 - 600);
}

bool visibleButtonsOverlap(const MainWindow& f) {
    std::vector<const Control*> row;
    for (const Control* c : {f.tvButton, f.radioButton, f.videoButton, f.favouritesButton, f.videoSiteButton,
                             f.myFilesButton, f.sportsButton, f.extrasButton, f.adultButton, f.websiteButton})
        if (c->visible()) row.push_back(c);
    for (std::size_t i = 0; i < row.size(); ++i)
        for (std::size_t j = i + 1; j < row.size(); ++j) {
            const bool apart = row[i]->left() + row[i]->width() <= row[j]->left() ||
                               row[j]->left() + row[j]->width() <= row[i]->left();
            if (!apart) return true;
        }
    return false;
}

// Catches the edition test being loose (case, blanks) or the extra buttons left hidden in the full edition.
TEST(ApplyEditionButtons, OnlyTheExactCompanyNameShowsTheExtraButtons) {
    MainWindow full;
    ApplyEditionButtons(full, "Quenmark Software");
    for (Control* c : {full.sportsButton, full.extrasButton, full.adultButton}) EXPECT_TRUE(c->visible()) << c->name();
    for (int i = 5; i <= 7; ++i) EXPECT_TRUE(full.categoryMenuItems[i]->visible()) << i;
    EXPECT_EQ(full.websiteButton->left(), full.adultButton->left() + full.adultButton->width() + 60);
    EXPECT_FALSE(visibleButtonsOverlap(full));

    for (const char* name : {"Quenmark Software ", "quenmark software", "", "Quenmark"}) {
        MainWindow other;
        ApplyEditionButtons(other, name);
        for (Control* c : {other.sportsButton, other.extrasButton, other.adultButton})
            EXPECT_FALSE(c->visible()) << c->name() << " for '" << name << "'";
        for (int i = 5; i <= 7; ++i) EXPECT_FALSE(other.categoryMenuItems[i]->visible()) << i;
        EXPECT_TRUE(other.categoryMenuItems[4]->visible());
        EXPECT_TRUE(other.categoryMenuItems[8]->visible());
        EXPECT_EQ(other.websiteButton->left(), 7980);
        EXPECT_FALSE(visibleButtonsOverlap(other)) << name;
    }
}

}  // namespace
}  // namespace cd::mainwindow
