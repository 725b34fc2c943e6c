#include "mainwindow/layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "ui/form1.h"

namespace cd::mainwindow {
namespace {

using ui::Control;
using ui::Form1;

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
void moveVideoBelowBanner(Form1& f) { f.WindowsMediaPlayer1->setTop(f.WindowsMediaPlayer1->top() + kBannerHeight); }

// Catches a wrong margin or order in any of the stretched sizes at an ordinary size.
TEST(LayoutMainWindow, StretchesEveryAreaForAnOrdinarySize) {
    Form1 f;
    f.resize(16000, 12000);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(rectOf(*f.WindowsMediaPlayer1), (Rect{5520, 1020, 9880, 9980}));
    EXPECT_EQ(rectOf(*f.imgOffline), (Rect{7460, 4510, 6000, 3000}));
    EXPECT_EQ(rectOf(*f.Frame1), (Rect{60, 1020, 5235, 10120}));
    EXPECT_EQ(rectOf(*f.ListView1), (Rect{180, 900, 4935, 9160}));
    EXPECT_EQ(rectOf(*f.ListView3), (Rect{180, 1140, 4935, 8815}));
    EXPECT_EQ(rectOf(*f.txtStatus), (Rect{180, 10015, 4875, 285}));
    EXPECT_EQ(rectOf(*f.Dir1), (Rect{120, 660, 4995, 4430}));
    EXPECT_EQ(rectOf(*f.File1), (Rect{120, 5150, 4995, 4430}));
    EXPECT_EQ(rectOf(*f.cmdWebsite), (Rect{7980, 60, 7420, 915}));
}

// Catches shared rectangles drifting apart: page/player, favourites/channels, the four panels.
TEST(LayoutMainWindow, SharedRectanglesStayIdenticalAtAnySize) {
    Form1 f;
    for (auto [w, h] : {std::pair{15750, 10935}, {9000, 7000}, {30000, 20000}, {300, 200}, {8000, 2100}}) {
        f.resize(w, h);
        LayoutMainWindow(f, false, 0);
        EXPECT_EQ(rectOf(*f.wbyoutube), rectOf(*f.WindowsMediaPlayer1)) << w << "x" << h;
        EXPECT_EQ(rectOf(*f.ListView2), rectOf(*f.ListView1)) << w << "x" << h;
        for (Control* panel : {f.Frame3, f.Frame4, f.Frame5})
            EXPECT_EQ(rectOf(*panel), rectOf(*f.Frame1)) << panel->name() << " at " << w << "x" << h;
    }
}

// Catches a negative size, or a size clamped to zero, in a window smaller than the margins.
TEST(LayoutMainWindow, TinyWindowsGiveAbsoluteSizes) {
    Form1 f;
    f.resize(1000, 800);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(rectOf(*f.WindowsMediaPlayer1), (Rect{5520, 1020, 5120, 1220}));
    EXPECT_EQ(f.imgOffline->top(), 130);
    EXPECT_EQ(f.imgOffline->left(), 5080);
    EXPECT_EQ(f.Frame1->height(), 1360);
    EXPECT_EQ(f.ListView1->height(), 400);
    EXPECT_EQ(f.ListView3->height(), 55);
    EXPECT_EQ(f.txtStatus->top(), 1255);
    EXPECT_EQ(f.Dir1->height(), 50);
    EXPECT_EQ(f.File1->top(), 770);
    EXPECT_EQ(f.cmdWebsite->width(), 7580);

    // A panel lower than the lists' own tops: each inner difference turns positive.
    f.resize(8000, 2100);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(f.WindowsMediaPlayer1->height(), 80);
    EXPECT_EQ(f.Frame1->height(), 220);
    EXPECT_EQ(f.ListView1->height(), 740);
    EXPECT_EQ(f.ListView3->height(), 395);
    EXPECT_EQ(f.txtStatus->top(), 1595);
    EXPECT_EQ(f.Dir1->height(), 520);
    EXPECT_EQ(f.File1->top(), 1240);
    EXPECT_EQ(f.File1->height(), 520);
}

// Catches a layout that clamps instead of taking the absolute value: shrinking below the margin grows the area.
TEST(LayoutMainWindow, VideoAreaGrowsAgainAsTheWindowShrinksPastTheMargin) {
    Form1 f;
    f.resize(16000, 2500);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(f.WindowsMediaPlayer1->height(), 480);
    f.resize(16000, 1500);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(f.WindowsMediaPlayer1->height(), 520);
    f.resize(16000, 500);
    LayoutMainWindow(f, false, 0);
    EXPECT_EQ(f.WindowsMediaPlayer1->height(), 1520);
}

// Catches the banner height added twice or not at all: panels end 140 twips below the video either way.
TEST(LayoutMainWindow, PanelsEnd140BelowTheVideoAreaWithAndWithoutBanner) {
    for (bool banner : {false, true}) {
        Form1 f;
        if (banner) moveVideoBelowBanner(f);
        for (auto [w, h] : {std::pair{15750, 10935}, {20000, 14000}, {12000, 6000}}) {
            f.resize(w, h);
            LayoutMainWindow(f, banner, kBannerHeight);
            const Control& video = *f.WindowsMediaPlayer1;
            const Control& panel = *f.Frame1;
            EXPECT_EQ(panel.top() + panel.height(), video.top() + video.height() + 140)
                << (banner ? "banner" : "no banner") << " " << w << "x" << h;
        }
    }
    Form1 withBanner;
    moveVideoBelowBanner(withBanner);
    withBanner.resize(16000, 12000);
    LayoutMainWindow(withBanner, true, kBannerHeight);
    EXPECT_EQ(rectOf(*withBanner.WindowsMediaPlayer1), (Rect{5520, 1965, 9880, 9035}));
    EXPECT_EQ(rectOf(*withBanner.wbyoutube), (Rect{5520, 1965, 9880, 9035}));
    EXPECT_EQ(withBanner.Frame1->height(), 10120);
    EXPECT_EQ(withBanner.imgOffline->top(), 9035 / 2 - 1500 + 1965);
}

// Catches the offline picture placed off the video area's centre.
TEST(LayoutMainWindow, OfflinePictureIsCentredOnTheVideoArea) {
    Form1 f;
    f.resize(22000, 15000);
    LayoutMainWindow(f, false, 0);
    const Control& v = *f.WindowsMediaPlayer1;
    const Control& img = *f.imgOffline;
    EXPECT_EQ(img.left() + img.width() / 2, v.left() + v.width() / 2);
    EXPECT_EQ(img.top() + img.height() / 2, v.top() + v.height() / 2);
    EXPECT_EQ(img.width(), 6000);
    EXPECT_EQ(img.height(), 3000);
    // The status line follows the player: just below it, as wide as it.
    const Control& status = *f.PlayerStatus;
    EXPECT_EQ(status.left(), v.left());
    EXPECT_EQ(status.width(), v.width());
    EXPECT_GT(status.top(), v.top() + v.height());
    EXPECT_LT(status.top() + status.height(), f.height());
}

// Catches the layout moving a control it must leave alone (buttons, combo boxes, list tops).
TEST(LayoutMainWindow, NothingElseMoves) {
    Form1 f;
    std::map<const Control*, Rect> before;
    for (const auto& c : f.controls()) before[c.get()] = rectOf(*c);
    f.resize(19000, 13000);
    LayoutMainWindow(f, true, kBannerHeight);
    const std::set<const Control*> laidOut = {
        f.WindowsMediaPlayer1, f.wbyoutube, f.imgOffline, f.Frame1, f.Frame3, f.Frame4,     f.Frame5,      f.ListView1,
        f.ListView2,           f.ListView3, f.txtStatus,  f.Dir1,   f.File1,  f.cmdWebsite, f.PlayerStatus};
    for (const auto& c : f.controls()) {
        if (laidOut.count(c.get())) continue;
        EXPECT_EQ(rectOf(*c), before[c.get()]) << c->name() << (c->index() ? std::to_string(*c->index()) : "");
    }
    EXPECT_EQ(f.cmdWebsite->left(), before[f.cmdWebsite].left);
    EXPECT_EQ(f.ListView3->top(), 1140);
    EXPECT_EQ(f.Dir1->top(), 660);
}

// Catches a minimised window being laid out (its tiny size would crush every control).
TEST(FormResize, MinimisedWindowIsLeftAloneAndRestoringLaysOut) {
    Form1 f;
    f.resize(16000, 12000);
    Form_Resize(f, false, false, 0);
    const Rect video = rectOf(*f.WindowsMediaPlayer1);
    f.resize(0, 0);
    Form_Resize(f, true, false, 0);
    EXPECT_EQ(rectOf(*f.WindowsMediaPlayer1), video);
    EXPECT_EQ(f.Frame1->height(), 10120);
    f.resize(18000, 12000);
    Form_Resize(f, false, false, 0);
    EXPECT_EQ(f.WindowsMediaPlayer1->width(), 11880);
}

// Catches the website button's width being computed from the wrong left edge per edition.
TEST(LayoutMainWindow, WebsiteButtonReachesTheRightMarginInBothEditions) {
    Form1 standard;
    ApplyEditionButtons(standard, "Some Other Company");
    standard.resize(16000, 12000);
    LayoutMainWindow(standard, false, 0);
    EXPECT_EQ(standard.cmdWebsite->width(), 16000 - 7980 - 600);

    Form1 full;
    ApplyEditionButtons(full, "Quenmark Software");
    full.resize(16000, 12000);
    LayoutMainWindow(full, false, 0);
    EXPECT_EQ(full.cmdWebsite->left(), 11955);
    EXPECT_EQ(full.cmdWebsite->width(), 16000 - 11955 - 600);
}

bool visibleButtonsOverlap(const Form1& f) {
    std::vector<const Control*> row;
    for (const Control* c : {f.cmdTV, f.cmdRadio, f.cmdVideo, f.cmdFavorites, f.cmdYouTube, f.cmdFiles, f.cmdSports,
                             f.cmdExtras, f.cmdXXX, f.cmdWebsite})
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
    Form1 full;
    ApplyEditionButtons(full, "Quenmark Software");
    for (Control* c : {full.cmdSports, full.cmdExtras, full.cmdXXX}) EXPECT_TRUE(c->visible()) << c->name();
    for (int i = 5; i <= 7; ++i) EXPECT_TRUE(full.mnuCatItem[i]->visible()) << i;
    EXPECT_EQ(full.cmdWebsite->left(), full.cmdXXX->left() + full.cmdXXX->width() + 60);
    EXPECT_FALSE(visibleButtonsOverlap(full));

    for (const char* name : {"Quenmark Software ", "quenmark software", "", "Quenmark"}) {
        Form1 other;
        ApplyEditionButtons(other, name);
        for (Control* c : {other.cmdSports, other.cmdExtras, other.cmdXXX})
            EXPECT_FALSE(c->visible()) << c->name() << " for '" << name << "'";
        for (int i = 5; i <= 7; ++i) EXPECT_FALSE(other.mnuCatItem[i]->visible()) << i;
        EXPECT_TRUE(other.mnuCatItem[4]->visible());
        EXPECT_TRUE(other.mnuCatItem[8]->visible());
        EXPECT_EQ(other.cmdWebsite->left(), 7980);
        EXPECT_FALSE(visibleButtonsOverlap(other)) << name;
    }
}

}  // namespace
}  // namespace cd::mainwindow
