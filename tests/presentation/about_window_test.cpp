#include "ui/about_window.h"

#include <gtest/gtest.h>

#include "presentation/about_box.h"

namespace cd::presentation {
namespace {

ProgramValues programFor(int major, int minor) {
    platform::VersionInfo v{"ChannelDeck", "Quenmark Software", "www.channeldeck.test", major, minor, 9};
    ProgramValues p;
    p.brand = MakeBrandValues(v, "banner.test");
    return p;
}

// Catches the revision shown, or major and minor swapped or unseparated.
TEST(AboutBox, VersionIsMajorDotMinorWhateverTheRevision) {
    ui::AboutWindow about;
    const ProgramValues p = programFor(1, 0);
    AboutBox(about, p).load();
    EXPECT_EQ(about.versionValue->caption(), "1.0");
    EXPECT_EQ(VersionText(programFor(12, 34).brand), "12.34");
}

// Catches a label left at its built-in text or given another brand value.
TEST(AboutBox, LoadFillsCaptionAndLabelsFromTheBrandValues) {
    ui::AboutWindow about;
    ASSERT_EQ(about.companyValue->caption(), "Version");
    const ProgramValues p = programFor(3, 1);
    AboutBox(about, p).load();
    EXPECT_EQ(about.caption(), "About ChannelDeck");
    EXPECT_EQ(about.productLabel->caption(), "ChannelDeck");
    EXPECT_EQ(about.companyValue->caption(), "Quenmark Software");
    EXPECT_EQ(about.versionValue->caption(), "3.1");
    EXPECT_EQ(about.websiteValue->caption(), "www.channeldeck.test");
    EXPECT_EQ(about.versionLabel->caption(), "Version:") << "the plain labels keep their texts";
    EXPECT_EQ(about.websiteLabel->caption(), "Website:");
}

}  // namespace
}  // namespace cd::presentation
