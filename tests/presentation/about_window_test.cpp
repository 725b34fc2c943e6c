#include "presentation/about_window.h"

#include <gtest/gtest.h>

#include "ui/frm_about.h"

namespace cd::presentation {
namespace {

ProgramValues programFor(int major, int minor) {
    platform::VersionInfo v{"ChannelDeck", "Quenmark Software", "www.channeldeck.test", major, minor, 9};
    ProgramValues p;
    p.brand = MakeBrandValues(v, "banner.test");
    return p;
}

// Catches the revision shown, or major and minor swapped or unseparated.
TEST(AboutWindow, VersionIsMajorDotMinorWhateverTheRevision) {
    ui::FrmAbout about;
    const ProgramValues p = programFor(1, 0);
    AboutWindow(about, p).Form_Load();
    EXPECT_EQ(about.lblVersion->caption(), "1.0");
    EXPECT_EQ(VersionText(programFor(12, 34).brand), "12.34");
}

// Catches a label left at its built-in text or given another brand value.
TEST(AboutWindow, LoadFillsCaptionAndLabelsFromTheBrandValues) {
    ui::FrmAbout about;
    ASSERT_EQ(about.lblCompany->caption(), "Version");
    const ProgramValues p = programFor(3, 1);
    AboutWindow(about, p).Form_Load();
    EXPECT_EQ(about.caption(), "About ChannelDeck");
    EXPECT_EQ(about.Label1->caption(), "ChannelDeck");
    EXPECT_EQ(about.lblCompany->caption(), "Quenmark Software");
    EXPECT_EQ(about.lblVersion->caption(), "3.1");
    EXPECT_EQ(about.lblWebsite->caption(), "www.channeldeck.test");
    EXPECT_EQ(about.Label2->caption(), "Version:") << "the plain labels keep their texts";
    EXPECT_EQ(about.Label4->caption(), "Website:");
}

}  // namespace
}  // namespace cd::presentation
