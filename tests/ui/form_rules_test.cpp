// The small rules the shell follows when it shows a window: separators in
// menus, the smallest size, the button that Return presses.
#include <gtest/gtest.h>

#include <vector>

#include "ui/language_window.h"
#include "ui/main_window.h"
#include "ui/menu_caption.h"

namespace cd::ui {
namespace {

// Catches a "-" entry shown as text, or a caption that merely holds a dash
// taken for a separator.
TEST(MenuCaption, OnlyALoneDashIsASeparator) {
    EXPECT_TRUE(IsSeparatorCaption("-"));
    for (const char* caption : {"", "--", " -", "- ", "Rate 5 Stars - Love it", "&-"})
        EXPECT_FALSE(IsSeparatorCaption(caption)) << caption;
    MainWindow form;
    int separators = 0;
    for (const Control* item : form.channelActionItems) separators += IsSeparatorCaption(item->caption());
    EXPECT_EQ(separators, 1);
}

// Catches a minimum size the shell never hears of, and a change announced
// when nothing changed.
TEST(FormMinimumSize, IsAnnouncedOnceAndKept) {
    MainWindow form;
    std::vector<Change> seen;
    form.subscribeAll([&](Control* control, const ChangeEvent& change) {
        if (!control) seen.push_back(change.what);
    });
    EXPECT_EQ(form.minimumWidth(), 0);
    form.setMinimumSize(9000, 7000);
    form.setMinimumSize(9000, 7000);
    EXPECT_EQ(form.minimumWidth(), 9000);
    EXPECT_EQ(form.minimumHeight(), 7000);
    EXPECT_EQ(seen, std::vector<Change>{Change::Geometry});
}

// Catches a language window whose Return does not press OK, or a main
// window that presses something on Return.
TEST(FormDefaultButton, LanguageWindowPressesOk) {
    LanguageWindow language;
    EXPECT_EQ(language.defaultButton(), language.okButton);
    MainWindow main;
    EXPECT_EQ(main.defaultButton(), nullptr);
}

}  // namespace
}  // namespace cd::ui
