// The localization file is keyed by the stored names of the one table in
// src/core/ui: the writer names its elements by them and the reader finds
// the controls by them.
#include <gtest/gtest.h>

#include <string>

#include "localization/element_names.h"
#include "localization_fixture.h"
#include "ui/stored_names.h"
#include "util/text.h"

namespace cd::localization {
namespace {

using testing::LocalizationTest;

class StoredNamesInTheFile : public LocalizationTest {
protected:
    void SetUp() override {
        windows.loadAll();
        addDefaultMessages(languages.messages());
    }
};

// Catches an element written under a name the table does not give (a file
// written by one version and read by another would no longer meet).
TEST_F(StoredNamesInTheFile, WriterNamesEveryTranslatedControlByItsStoredName) {
    const std::string text = languages.localizationFileText();
    int translated = 0;
    for (const ui::StoredName& n : ui::storedNames()) {
        if (n.control.empty()) {
            EXPECT_NE(text.find("<" + windowCaptionElement(n.window) + ">"), std::string::npos) << n.window;
            continue;
        }
        const ui::Form* window = nullptr;
        for (const ui::Form* w : windows.loaded())
            if (w->name() == n.window) window = w;
        ASSERT_NE(window, nullptr) << n.window;
        const ui::Control* control = window->find(std::string(n.control), std::nullopt);
        if (!control) control = window->find(std::string(n.control), 0);
        ASSERT_NE(control, nullptr) << n.control;
        if (translatedParts(control->typeName()) == Translated::Nothing) continue;
        ++translated;
        const std::string prefix = "<" + util::toUpper(n.window) + "_" + util::toUpper(n.control);
        EXPECT_NE(text.find(prefix), std::string::npos) << prefix;
    }
    EXPECT_GT(translated, 70);
}

// Catches a reader that looks a control up by anything but its stored name:
// every caption the writer wrote comes back, changed, on the same control.
TEST_F(StoredNamesInTheFile, ReaderFindsEveryControlByItsStoredName) {
    std::string text = languages.localizationFileText();
    // Every element text becomes its own element name: "<X>text</X>" gives "<X>=X</X>".
    std::string changed;
    std::size_t at = 0;
    while (true) {
        const std::size_t open = text.find("\t\t<", at);
        if (open == std::string::npos) break;
        const std::size_t gt = text.find('>', open);
        const std::string name = text.substr(open + 3, gt - open - 3);
        const std::size_t close = text.find("</" + name + ">", gt);
        changed += text.substr(at, gt + 1 - at) + "=" + name;
        at = close;
    }
    changed += text.substr(at);
    changed =
        util::replaceAll(changed, "<LANGUAGE_NAME>English</LANGUAGE_NAME>", "<LANGUAGE_NAME>Names</LANGUAGE_NAME>");
    writeFile(changed);
    languages.ChangeLanguage(windows.mainWindow, "Names");
    const ui::MainWindow& w = windows.mainWindow;
    EXPECT_EQ(w.tvButton->caption(), "=FORM1_CMDTV");
    EXPECT_EQ(w.channelList->columnText(1), "=FORM1_LISTVIEW1_COL1");
    EXPECT_EQ(w.categoryMenuItems[3]->caption(), "=FORM1_MNUCATITEM3");
    EXPECT_EQ(w.removeFavouriteButton->caption(), "=FORM1_COMMAND1");
    for (const auto& control : w.controls()) {
        if (translatedParts(control->typeName()) != Translated::Caption) continue;
        EXPECT_EQ(control->caption(), "=" + captionElement("FORM1", util::toUpper(control->name()))) << control->name();
    }
}

}  // namespace
}  // namespace cd::localization
