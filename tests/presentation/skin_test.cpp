#include "presentation/skin.h"

#include <gtest/gtest.h>

#include <memory>

#include "presentation/about_box.h"
#include "presentation/presentation_fakes.h"
#include "ui/about_window.h"
#include "ui/main_window.h"

namespace cd::presentation {
namespace {

using test::ColourlessControl;
using test::FakeSkinObject;
using test::FakeWindowRegions;

constexpr std::int32_t kBack = 0x00112233, kText = 0x00445566, kPicture = 0x00778899;

// A window built in the test, with the control order the test needs.
class TestForm : public ui::Form {
public:
    TestForm() : Form("frmTest", "Test") { resize(4800, 3600); }
    ui::Control& plain(const std::string& type, const std::string& name, const std::string& container = {}) {
        auto c = std::make_unique<ui::Control>(type, name);
        c->setContainer(container);
        return add(std::move(c));
    }
};

// Catches the colour table applied wrongly: a button's text, a label, or a list's text colour.
TEST(SetSkinColours, ColoursEachKindAsItsRowSays) {
    ui::MainWindow f;
    ASSERT_TRUE(SetSkinColours(f, kBack, kText, kPicture));
    EXPECT_EQ(f.tvButton->backColor(), kBack);
    EXPECT_EQ(f.tvButton->foreColor(), std::nullopt) << "a button keeps its text colour";
    EXPECT_EQ(f.channelList->backColor(), kBack);
    EXPECT_EQ(f.channelList->foreColor(), kText);
    for (ui::Control* box :
         {static_cast<ui::Control*>(f.languageBox), f.videoStatus, static_cast<ui::Control*>(f.driveList),
          static_cast<ui::Control*>(f.folderList), static_cast<ui::Control*>(f.fileList)}) {
        EXPECT_EQ(box->backColor(), kBack) << box->name();
        EXPECT_EQ(box->foreColor(), kText) << box->name();
    }
    EXPECT_EQ(f.languageLabel->backColor(), std::nullopt);
    EXPECT_EQ(f.languageLabel->foreColor(), std::nullopt) << "a label gets neither; a skin label covers it";
    EXPECT_EQ(f.bannerPicture->backColor(), kPicture);
    EXPECT_EQ(f.bannerPicture->foreColor(), std::nullopt);
    EXPECT_EQ(f.channelPanel->backColor(), std::nullopt);
    EXPECT_EQ(f.dontLoadWhileEditingCheck->backColor(), std::nullopt);
    EXPECT_EQ(f.fileMenu->backColor(), std::nullopt);
}

// Catches the routine carrying on past a control that refused its colour.
TEST(SetSkinColours, FirstControlThatRefusesEndsTheRoutine) {
    TestForm form;
    ui::Control& button = form.plain("CommandButton", "cmdOne");
    auto* refusing = &form.add(std::make_unique<ColourlessControl>("ListBox", "List1", true, false));
    ui::Control& list = form.plain("ListView", "ListView1");
    EXPECT_FALSE(SetSkinColours(form, kBack, kText, kPicture));
    EXPECT_EQ(button.backColor(), kBack);
    EXPECT_EQ(refusing->backColor(), std::nullopt);
    EXPECT_EQ(list.backColor(), std::nullopt) << "controls after the failing one keep their colours";

    // A text colour refused after the background was set: the background stays, the rest is not reached.
    TestForm second;
    auto* half = &second.add(std::make_unique<ColourlessControl>("TextBox", "Text1", false, true));
    ui::Control& after = second.plain("CommandButton", "cmdAfter");
    EXPECT_FALSE(SetSkinColours(second, kBack, kText, kPicture));
    EXPECT_EQ(half->backColor(), kBack);
    EXPECT_EQ(half->foreColor(), std::nullopt);
    EXPECT_EQ(after.backColor(), std::nullopt);

    // A control that refuses colours but is not in the table is never asked.
    TestForm third;
    third.add(std::make_unique<ColourlessControl>("Label", "Label1", true, true));
    ui::Control& button3 = third.plain("CommandButton", "cmdThree");
    EXPECT_TRUE(SetSkinColours(third, kBack, kText, kPicture));
    EXPECT_EQ(button3.backColor(), kBack);
}

// Catches the shell missing a colour change.
TEST(SetSkinColours, ColourChangesAreAnnounced) {
    TestForm form;
    ui::Control& list = form.plain("ListView", "ListView1");
    int colourEvents = 0;
    list.subscribe([&](ui::Control*, const ui::ChangeEvent& e) { colourEvents += e.what == ui::Change::Colours; });
    SetSkinColours(form, kBack, kText, kPicture);
    EXPECT_EQ(colourEvents, 2);
    SetSkinColours(form, kBack, kText, kPicture);
    EXPECT_EQ(colourEvents, 2) << "setting the same colours again changes nothing";
}

// Catches ApplySkin skipping the colours, reading the wrong values, or not attaching the skin.
TEST(ApplySkin, ColoursFromTheSkinThenAttaches) {
    ui::MainWindow f;
    FakeSkinObject skin;
    skin.background = 0x00010203;
    skin.text = 0x00040506;
    skin.picture = 0x00070809;
    FakeWindowRegions regions;
    ApplySkin(f, &skin, true, &regions);
    EXPECT_EQ(f.tvButton->backColor(), 0x00010203);
    EXPECT_EQ(f.channelList->foreColor(), 0x00040506);
    EXPECT_EQ(f.bannerPicture->backColor(), 0x00070809);
    EXPECT_EQ(skin.reads, 4) << "the fourth value is read with the colours";
    ASSERT_EQ(skin.attached.size(), 1u);
    EXPECT_EQ(skin.attached[0], &f);
    EXPECT_TRUE(regions.calls.empty()) << "this desktop needs no full-window region";
}

// Catches a failing colour read painting the window with made-up colours, or ending the routine.
TEST(ApplySkin, UnreadableColoursAreSkippedAndTheSkinStillAttaches) {
    ui::MainWindow f;
    FakeSkinObject skin;
    skin.text = std::nullopt;
    ApplySkin(f, &skin, true, nullptr);
    EXPECT_EQ(f.tvButton->backColor(), std::nullopt);
    EXPECT_EQ(f.channelList->backColor(), std::nullopt);
    EXPECT_EQ(skin.attached.size(), 1u);

    ui::MainWindow g;
    ApplySkin(g, nullptr, true, nullptr);  // no skin object yet: nothing to do, nothing breaks
    EXPECT_EQ(g.tvButton->backColor(), std::nullopt);
}

// Catches a region made from anything but the window's own full size.
TEST(SetFullWindowRegion, CoversTheWholeWindowWithRepaint) {
    TestForm form;
    FakeWindowRegions regions;
    SetFullWindowRegion(form, regions);
    ASSERT_EQ(regions.calls.size(), 1u);
    EXPECT_EQ(regions.calls[0].window, &form);
    EXPECT_EQ(regions.calls[0].region.left, 0);
    EXPECT_EQ(regions.calls[0].region.top, 0);
    EXPECT_EQ(regions.calls[0].region.right, 4800);
    EXPECT_EQ(regions.calls[0].region.bottom, 3600);
    EXPECT_TRUE(regions.calls[0].repaint);
    EXPECT_FALSE(IsVistaOrLater());
}

// Catches skin labels missing a label, copying the wrong fields, or reusing an index.
TEST(AddSkinLabels, AboutWindowGetsOneOverEachLabel) {
    ui::AboutWindow about;
    const std::size_t before = about.controls().size();
    EXPECT_EQ(AddSkinLabels(about, false), 4);  // addEntryLabel to editorInstructions; the skin labels are not "Label"s
    EXPECT_EQ(about.controls().size(), before + 4);
    for (int i = 1; i <= 4; ++i) {
        ui::Control* skinLabel = about.find("SkinLabel1", i);
        ASSERT_NE(skinLabel, nullptr) << i;
        EXPECT_EQ(skinLabel->typeName(), "SkinLabel");
    }
    const ui::Control* overLabel3 = about.find("SkinLabel1", 2);
    EXPECT_EQ(overLabel3->caption(), "Owned By:");
    EXPECT_EQ(overLabel3->left(), about.ownerLabel->left());
    EXPECT_EQ(overLabel3->top(), about.ownerLabel->top());
    EXPECT_EQ(overLabel3->width(), about.ownerLabel->width());
    EXPECT_EQ(overLabel3->height(), about.ownerLabel->height());
    EXPECT_TRUE(overLabel3->visible());
    EXPECT_NE(about.find("Label3"), nullptr) << "the plain label stays";
    EXPECT_EQ(AddSkinLabels(about, false), 4);
    EXPECT_NE(about.find("SkinLabel1", 8), nullptr) << "a second round continues the array";
}

// Catches the main window's rule taking labels from other containers.
TEST(AddSkinLabels, MainWindowRuleTakesOnlyLabelsBesideTheFirstSkinLabel) {
    TestForm form;
    form.plain("SkinLabel", "SkinLabel1", "Frame9");
    // An array member needs its index; rebuild it as the designer would.
    TestForm designed;
    auto first = std::make_unique<ui::Control>("SkinLabel", "SkinLabel1", 0);
    first->setContainer("Frame9");
    designed.add(std::move(first));
    ui::Control& inside = designed.plain("Label", "Label1", "Frame9");
    inside.setCaption("Inside");
    inside.setVisible(false);
    designed.plain("Label", "Label2", "Frame2");
    designed.plain("Label", "Label3");
    EXPECT_EQ(AddSkinLabels(designed, true), 1);
    const ui::Control* added = designed.find("SkinLabel1", 1);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->caption(), "Inside");
    EXPECT_FALSE(added->visible());
    EXPECT_EQ(added->container(), "Frame9");

    EXPECT_EQ(AddSkinLabels(form, true), 0) << "no SkinLabel1(0): nothing to copy from";

    ui::MainWindow main;
    EXPECT_EQ(AddSkinLabels(main, true), 0) << "the main window's labels all sit in frames";
}

// Catches skinning applied although the flag is off: no colour, no skin label, no attach.
TEST(Skinning, FlagOffLeavesTheAboutWindowAlone) {
    ui::AboutWindow about;
    ProgramValues program;
    FakeSkinObject skin;
    program.skin = &skin;
    program.brand.skinning = false;
    const std::size_t before = about.controls().size();
    AboutBox(about, program).load();
    EXPECT_EQ(about.controls().size(), before);
    EXPECT_EQ(about.picture->backColor(), std::nullopt);
    EXPECT_TRUE(skin.attached.empty());
    EXPECT_EQ(skin.reads, 0);
}

// Catches the about window's skinning steps missing or in the wrong order.
TEST(Skinning, FlagOnSkinsTheAboutWindow) {
    ui::AboutWindow about;
    ProgramValues program;
    FakeSkinObject skin;
    program.skin = &skin;
    program.brand.skinning = true;
    AboutBox(about, program).load();
    EXPECT_NE(about.find("SkinLabel1", 4), nullptr);
    EXPECT_EQ(about.picture->backColor(), skin.picture);
    EXPECT_EQ(about.versionLabel->backColor(), std::nullopt);
    ASSERT_EQ(skin.attached.size(), 1u);
    EXPECT_EQ(skin.attached[0], &about);
}

}  // namespace
}  // namespace cd::presentation

namespace cd::presentation {
namespace {

// Catches the main window's skin step colouring with the flag off, or skipping the skin with it on.
TEST(SkinWindowAtLoad, MainWindowFollowsTheFlag) {
    ProgramValues program;
    FakeSkinObject skin;
    program.skin = &skin;

    ui::MainWindow off;
    program.brand.skinning = false;
    const std::size_t controls = off.controls().size();
    SkinWindowAtLoad(off, program, true, nullptr);
    EXPECT_EQ(off.tvButton->backColor(), std::nullopt);
    EXPECT_EQ(off.controls().size(), controls);
    EXPECT_TRUE(skin.attached.empty());

    ui::MainWindow on;
    program.brand.skinning = true;
    SkinWindowAtLoad(on, program, true, nullptr);
    EXPECT_EQ(on.tvButton->backColor(), skin.background);
    EXPECT_EQ(on.tvButton->foreColor(), std::nullopt);
    EXPECT_EQ(on.favouritesList->foreColor(), skin.text);
    EXPECT_EQ(on.languageLabel->backColor(), std::nullopt);
    EXPECT_EQ(on.controls().size(), controls) << "no label of the main window sits beside SkinLabel1(0)";
    ASSERT_EQ(skin.attached.size(), 1u);
    EXPECT_EQ(skin.attached[0], &on);
}

}  // namespace
}  // namespace cd::presentation
