#include "presentation/splash.h"

#include <gtest/gtest.h>

#include "presentation/presentation_fakes.h"
#include "ui/splash_window.h"

namespace cd::presentation {
namespace {

using test::FakeMachineStore;
using test::FakeSkinObject;
using test::FakeTimerClock;

class SplashTest : public ::testing::Test {
protected:
    SplashTest() {
        config.version = platform::VersionInfo{"ChannelDeck", "Quenmark Software", "www.channeldeck.test", 2, 3, 4};
        config.hosts.banner = "127.0.0.1:1";
        clock.attach(*form.startTimer, [this] { splash.tick(); });
        form.subscribeAll([this](ui::Control* c, const ui::ChangeEvent& e) {
            if (!c && e.what == ui::Change::Visible && form.visible()) everVisible = true;
        });
    }

    ui::SplashWindow form;
    FakeMachineStore machine;
    ProgramValues program;
    platform::Configuration config;
    FakeSkinObject skin;
    int mainWindowShown = 0;
    int mainShownAtTick = -1;
    bool everVisible = false;
    FakeTimerClock clock;
    Splash splash{form, machine, program, config, &skin, [this] {
                      ++mainWindowShown;
                      mainShownAtTick = clock.ticks;
                  }};
};

// Catches an off-by-one in the counter: the main window opens on the 75th tick of 2 ms, not before.
TEST_F(SplashTest, EndsOnThe75thTick) {
    splash.load();
    EXPECT_TRUE(form.startTimer->enabled());
    clock.advance(148);  // 74 ticks
    EXPECT_EQ(clock.ticks, 74);
    EXPECT_EQ(splash.intTemp(), 148);
    EXPECT_EQ(mainWindowShown, 0);
    EXPECT_TRUE(form.visible());
    clock.advance(2);
    EXPECT_EQ(mainWindowShown, 1);
    EXPECT_EQ(mainShownAtTick, 75);
    EXPECT_FALSE(form.startTimer->enabled());
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(splash.intTemp(), 150);
}

// Catches the splash opening the main window twice, or its counter running on (and overflowing) after the end.
TEST_F(SplashTest, StopsForGoodAfterTheEnd) {
    splash.load();
    clock.advance(1000);
    EXPECT_EQ(mainWindowShown, 1);
    EXPECT_EQ(clock.ticks, 75);
    for (int i = 0; i < 40000; ++i) splash.tick();  // stray ticks queued before the timer stopped
    EXPECT_EQ(mainWindowShown, 1);
    EXPECT_EQ(splash.intTemp(), 150);
}

// Catches a timer that runs before load, or a splash that never starts its timer.
TEST_F(SplashTest, TimerRunsOnlyAfterLoad) {
    clock.advance(500);
    EXPECT_EQ(clock.ticks, 0);
    EXPECT_EQ(mainWindowShown, 0);
    splash.load();
    clock.advance(150);
    EXPECT_EQ(mainWindowShown, 1);
}

// Catches "chkSplash" = "1" being ignored, or stopping the main window from opening.
TEST_F(SplashTest, ChkSplashHidesTheSplashButTheMainWindowStillOpens) {
    machine.values["chkSplash"] = "1";
    splash.load();
    EXPECT_FALSE(form.visible());
    clock.advance(150);
    EXPECT_EQ(mainWindowShown, 1);
    EXPECT_FALSE(everVisible) << "the splash is never visible";
}

// Catches a missing or other "chkSplash" value hiding the splash.
TEST_F(SplashTest, SplashShowsUnlessChkSplashIsExactlyOne) {
    for (const char* value : {"", "0", "yes", " 1", "1 "}) {
        ui::SplashWindow f;
        FakeMachineStore m;
        if (*value) m.values["chkSplash"] = value;
        ProgramValues p;
        Splash s(f, m, p, config, nullptr, [] {});
        s.load();
        EXPECT_TRUE(f.visible()) << "'" << value << "'";
        EXPECT_EQ(m.reads, (std::vector<std::string>{"chkSplash"}));
    }
}

// Catches the brand values not being set before the main window reads them.
TEST_F(SplashTest, LoadSetsTheBrandValuesBeforeTheMainWindowOpens) {
    std::string seenProduct;
    ProgramValues p;
    Splash s(form, machine, p, config, &skin, [&] { seenProduct = p.brand.productName; });
    FakeTimerClock c;
    c.attach(*form.startTimer, [&] { s.tick(); });
    s.load();
    EXPECT_EQ(p.brand.companyName, "Quenmark Software");
    EXPECT_EQ(p.brand.versionMajor, 2);
    c.advance(150);
    EXPECT_EQ(seenProduct, "ChannelDeck");
}

// Catches the skin being used although skinning is off in this build.
TEST_F(SplashTest, SkinningOffLeavesTheSkinUnused) {
    splash.load();
    EXPECT_FALSE(program.brand.skinning);
    EXPECT_EQ(program.skin, nullptr);
    EXPECT_EQ(skin.reads, 0);
    EXPECT_TRUE(skin.attached.empty());
}

}  // namespace
}  // namespace cd::presentation
