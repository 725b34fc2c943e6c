#include "presentation/banner.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/fakes.h"
#include "ui/main_window.h"

namespace cd::presentation {
namespace {

BrandValues brand() {
    BrandValues b;
    b.bannerFlag = true;
    b.bannerAddress = "http://127.0.0.1:9/banner.html";
    return b;
}

// Catches a wrong clip, a box not at the banner's place, or the banner not moved into the box.
TEST(ShowBanner, TwipsWindowClips280AndPutsTheBannerAtTheBoxOrigin) {
    ui::MainWindow f;
    f.banner->move(5520, 1020, 7335, 945);
    test::FakeBrowser browser;
    ui::Control& box = ShowBanner(f, browser, brand(), false);
    EXPECT_EQ(box.typeName(), "PictureBox");
    EXPECT_EQ(box.name(), "picBox");
    EXPECT_EQ(&box, f.find("picBox"));
    EXPECT_EQ(box.container(), "");
    EXPECT_EQ(box.left(), 5520);
    EXPECT_EQ(box.top(), 1020);
    EXPECT_EQ(box.width(), 7335 - 280);
    EXPECT_EQ(box.height(), 945);
    EXPECT_EQ(f.banner->container(), "picBox");
    EXPECT_EQ(f.banner->left(), 0);
    EXPECT_EQ(f.banner->top(), 0);
    EXPECT_EQ(f.banner->width(), 7335) << "the banner keeps its full width; its right edge is clipped";
    EXPECT_EQ(f.banner->height(), 945);
    EXPECT_EQ(browser.navigated, (std::vector<std::string>{"http://127.0.0.1:9/banner.html"}));
}

// Catches the pixel scale using the twips clip.
TEST(ShowBanner, PixelWindowClips20) {
    ui::MainWindow f;
    f.banner->move(368, 68, 489, 63);
    test::FakeBrowser browser;
    ui::Control& box = ShowBanner(f, browser, brand(), true);
    EXPECT_EQ(box.width(), 489 - 20);
    EXPECT_EQ(box.left(), 368);
    EXPECT_EQ(box.height(), 63);
}

// Catches design-time visibility surviving: the banner must show and the picture must hide.
TEST(ShowBanner, ShowsBoxAndBannerAndHidesThePicture) {
    ui::MainWindow f;
    ASSERT_FALSE(f.banner->visible());
    ASSERT_TRUE(f.bannerPicture->visible());
    test::FakeBrowser browser;
    ui::Control& box = ShowBanner(f, browser, brand(), false);
    EXPECT_TRUE(box.visible());
    EXPECT_TRUE(f.banner->visible());
    EXPECT_FALSE(f.bannerPicture->visible());
}

// Catches the shell not hearing of the new control, or hearing of it only after it was placed.
TEST(ShowBanner, TheShellHearsTheBoxAddedThenPlaced) {
    ui::MainWindow f;
    std::vector<std::pair<std::string, ui::Change>> seen;
    f.subscribeAll([&](ui::Control* c, const ui::ChangeEvent& e) { seen.emplace_back(c ? c->name() : "", e.what); });
    test::FakeBrowser browser;
    ShowBanner(f, browser, brand(), false);
    using Seen = std::pair<std::string, ui::Change>;
    const auto added = std::find(seen.begin(), seen.end(), Seen{"", ui::Change::ControlAdded});
    ASSERT_NE(added, seen.end());
    const auto placed = std::find(seen.begin(), seen.end(), Seen{"picBox", ui::Change::Geometry});
    ASSERT_NE(placed, seen.end());
    EXPECT_LT(added - seen.begin(), placed - seen.begin());
}

// Catches a second set-up adding a second box or moving the box to the window's corner.
TEST(ShowBanner, SecondCallReusesTheBox) {
    ui::MainWindow f;
    test::FakeBrowser browser;
    ui::Control& first = ShowBanner(f, browser, brand(), false);
    const std::size_t controls = f.controls().size();
    ui::Control& second = ShowBanner(f, browser, brand(), false);
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(f.controls().size(), controls);
    EXPECT_EQ(second.left(), 5520);
    EXPECT_EQ(second.width(), 7335 - 280);
    EXPECT_EQ(browser.navigated.size(), 2u);
}

}  // namespace
}  // namespace cd::presentation
