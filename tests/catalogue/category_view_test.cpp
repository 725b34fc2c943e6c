#include "catalogue/category_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/language_setting.h"
#include "catalogue/line_cipher.h"
#include "localization/message_table.h"
#include "platform/memory_settings_store.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace cd::catalogue {
namespace {

using Strings = std::vector<std::string>;

const std::string kNotFound =
    "TV Channel file was not found.  No channels could be loaded.  Please reinstall or repair this program.";

class CategoryViewTest : public ::testing::Test {
protected:
    CategoryViewTest() : messages(platform::VersionInfo{"ChannelDeck", "Quenmark Software", "", 1, 0, 0}) {
        localization::addDefaultMessages(messages);
    }

    // Writes Data.txt from plain lines, each encoded and ended by CR LF.
    void writeCatalogue(const Strings& plainLines) {
        std::string bytes;
        for (const auto& l : plainLines) bytes += EncodeLine(l) + "\r\n";
        dir.write("Data.txt", bytes);
    }

    // A category switch: category and language set, language box to rebuild.
    void show(const std::string& category, const std::string& language = "All") {
        state.currentCategory = category;
        state.currentLanguage = language;
        state.languageRefresh = true;
        view.LoadCategory();
    }

    Strings names() const {
        Strings out;
        for (int i = 0; i < form.channelList->count(); ++i) out.push_back(form.channelList->item(i).text);
        return out;
    }
    const Strings& entries() const { return form.languageBox->entries(); }

    test::TempDir dir;
    ui::MainWindow form;
    NavigationState state;
    platform::MemorySettingsStore settings;
    test::FakeDialogs dialogs;
    localization::MessageTable messages;
    CategoryView view{form, state, settings, dialogs, messages, dir.path(), "ChannelDeck"};
};

// --- Rows ---

// Catches rows with fields in the wrong columns, records of other categories
// listed, or non-record lines turned into rows.
// Catches a search that ignores the language chosen underneath, loses the
// list's sort, misses the imported channels, or hides rows for good: the
// typed text only narrows what the category and language list.
TEST_F(CategoryViewTest, SearchNarrowsTheListedChannelsOfCategoryLanguageAndImports) {
    writeCatalogue({"Caf\xe9 Paris|http://a/|TV|French", "cafe berlin|http://b/|TV|German",
                    "CAF\xc9 Radio|http://c/|Radio|French", "Zebra|http://z/|TV|French"});
    dir.write("Imported.txt", EncodeLine("Caf\xc3\xa9 Lyon|http://l/|TV|French") + "\r\n");
    show("TV");
    EXPECT_EQ(names(), (Strings{"Caf\xe9 Paris", "cafe berlin", "Zebra", "Caf\xc3\xa9 Lyon"}));

    form.channelList->setSortKey(0);
    form.channelList->setSorted(true);
    form.channelSearch->setText("CAFE");
    form.channelSearch->changed.raise();
    EXPECT_EQ(names(), (Strings{"cafe berlin", "Caf\xc3\xa9 Lyon", "Caf\xe9 Paris"}));
    form.channelList->select(1);
    EXPECT_EQ(form.channelList->selectedItem()->tag, "http://l/");

    show("TV", "French");  // the text stays over a refill
    EXPECT_EQ(names(), (Strings{"Caf\xc3\xa9 Lyon", "Caf\xe9 Paris"}));
    form.channelSearch->keyPressed.raise(27);
    EXPECT_EQ(form.channelSearch->text(), "");
    EXPECT_EQ(names(), (Strings{"Caf\xc3\xa9 Lyon", "Caf\xe9 Paris", "Zebra"}));
}

TEST_F(CategoryViewTest, AllListsEveryRecordOfTheCategoryInFileOrder) {
    writeCatalogue({"Fox|http://fox/live|TV|English", "", "just a note", "Jazz FM|http://jazz|Radio|English",
                    "Arte|mms://arte|TV|French/German|extra|fields", "Zed|http://z|TV|"});
    show("TV");
    EXPECT_EQ(names(), (Strings{"Fox", "Arte", "Zed"}));
    const ui::ListItem& arte = form.channelList->item(1);
    EXPECT_EQ(arte.tag, "mms://arte");
    EXPECT_EQ(arte.subItem(1), "TV");
    EXPECT_EQ(arte.subItem(2), "French/German");
    EXPECT_EQ(arte.subItem(3), "") << "sub-item 3 stays empty outside the editor";
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches an exact-match or case-sensitive language filter.
TEST_F(CategoryViewTest, LanguageFilterIsASubstringTestIgnoringCase) {
    writeCatalogue(
        {"A|a|TV|English", "B|b|TV|French/English", "C|c|TV|english", "D|d|TV|German", "E|e|TV|ENGLISH/Spanish"});
    show("TV", "English");
    EXPECT_EQ(names(), (Strings{"A", "B", "C", "E"}));
}

// Catches a category compared without regard to case, or as a substring.
TEST_F(CategoryViewTest, CategoryMustMatchExactly) {
    writeCatalogue({"A|a|tv|English", "B|b|TV |English", "C|c|TVs|English", "D|d|TV|English"});
    show("TV");
    EXPECT_EQ(names(), (Strings{"D"}));
}

// Catches empty state left empty instead of read and stored as TV and All.
TEST_F(CategoryViewTest, EmptyCategoryAndLanguageBecomeTvAndAll) {
    writeCatalogue({"A|a|TV|English", "B|b|Radio|English"});
    state.languageRefresh = true;
    view.LoadCategory();
    EXPECT_EQ(state.currentCategory, "TV");
    EXPECT_EQ(state.currentLanguage, "All");
    EXPECT_EQ(names(), (Strings{"A"}));
}

// Catches rows kept from the previous call, or a refill that leaves the
// user's column sort (one reset for the shell, not one insert per row).
TEST_F(CategoryViewTest, RefillReplacesRowsKeepsTheSortAndResetsOnce) {
    writeCatalogue({"b|1|TV|x", "C|2|TV|x", "a|3|TV|x", "r|4|Radio|x"});
    form.channelList->addItem(ui::ListItem{"stale", "", "", {}});
    form.channelList->setSortKey(0);
    form.channelList->setSorted(true);
    int resets = 0, inserts = 0;
    form.channelList->subscribe([&](ui::Control*, const ui::ChangeEvent& e) {
        resets += e.what == ui::Change::RowsReset;
        inserts += e.what == ui::Change::RowsInserted;
    });
    show("TV");
    EXPECT_EQ(names(), (Strings{"a", "b", "C"}));
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(inserts, 0);
}

// --- The language box ---

// Catches a language box in the wrong order, without its empty entry, or
// with a text although "All" is not a language.
TEST_F(CategoryViewTest, LanguageBoxIsAllThenSortedNamesWithTheEmptyEntry) {
    writeCatalogue({"A|a|TV|English", "B|b|TV|French/English", "C|c|TV|German", "D|d|TV|/Spanish/", "R|r|Radio|Dutch"});
    show("TV");
    EXPECT_EQ(entries(), (Strings{"All", "", "English", "French", "German", "Spanish"}));
    EXPECT_EQ(form.languageBox->text(), "");
    EXPECT_FALSE(state.languageRefresh);
}

// Catches an empty languages field that is skipped instead of listed.
TEST_F(CategoryViewTest, EmptyLanguagesFieldAddsASecondEmptyEntry) {
    writeCatalogue({"A|a|TV|", "B|b|TV|English", "C|c|TV|"});
    show("TV");
    EXPECT_EQ(entries(), (Strings{"All", "", "", "English"}));
}

// Catches names compared with case, a sort that ignores case, and the tail
// rule missed: "man" is not added once "German" is there, but is before it.
TEST_F(CategoryViewTest, NamesAreDistinctIgnoringCaseTailsIncludedAndSortedByByte) {
    writeCatalogue({"A|a|TV|English", "B|b|TV|english/German", "C|c|TV|man", "D|d|TV|arabic/Zulu"});
    show("TV");
    EXPECT_EQ(entries(), (Strings{"All", "", "English", "German", "Zulu", "arabic"}));
    writeCatalogue({"C|c|TV|man", "A|a|TV|German"});
    show("TV");
    EXPECT_EQ(entries(), (Strings{"All", "", "German", "man"}));
}

// Catches languages gathered only from listed rows, or from other categories.
TEST_F(CategoryViewTest, LanguagesComeFromTheWholeCategoryWhateverTheFilter) {
    writeCatalogue({"A|a|TV|English", "B|b|TV|French", "R|r|Radio|Dutch"});
    show("TV", "French");
    EXPECT_EQ(names(), (Strings{"B"}));
    EXPECT_EQ(entries(), (Strings{"All", "", "English", "French"}));
    EXPECT_EQ(form.languageBox->text(), "French");
}

// Catches a partial language that is not matched as a substring, or a box
// text set although no listed name ends with it.
TEST_F(CategoryViewTest, PartialLanguageListsMatchesAndShowsOnlyAsANameTail) {
    writeCatalogue({"A|a|TV|English", "B|b|TV|Bengali", "C|c|TV|ENGLISH", "D|d|TV|French"});
    show("TV", "Eng");
    EXPECT_EQ(names(), (Strings{"A", "B", "C"}));
    EXPECT_EQ(form.languageBox->text(), "");
    writeCatalogue({"A|a|TV|English", "H|h|TV|Heng"});
    show("TV", "Eng");
    EXPECT_EQ(names(), (Strings{"A", "H"}));
    EXPECT_EQ(form.languageBox->text(), "Eng");
}

// Catches a box rebuilt on every load instead of only after a switch.
TEST_F(CategoryViewTest, WithoutTheRefreshFlagTheBoxIsLeftAlone) {
    writeCatalogue({"A|a|TV|English"});
    form.languageBox->addItem("kept");
    state.currentCategory = "TV";
    state.currentLanguage = "All";
    state.languageRefresh = false;
    view.LoadCategory();
    EXPECT_EQ(entries(), (Strings{"kept"}));
    EXPECT_EQ(names(), (Strings{"A"}));
}

// --- Picking a language ---

// Catches a pick stored under the wrong key, stored for the adult category,
// or one that rebuilds the box.
TEST_F(CategoryViewTest, PickingALanguageStoresItPerCategoryAndRefills) {
    writeCatalogue({"A|a|TV|English", "B|b|TV|French", "R|r|Radio|French", "V|v|Video|French", "X|x|XXX|French",
                    "X2|x2|XXX|English"});
    const Strings expectedKeys[] = {{"TVLang"}, {"RadioLang", "TVLang"}, {"RadioLang", "TVLang", "VideoLang"}};
    int step = 0;
    for (const std::string category : {"TV", "Radio", "Video"}) {
        show(category);
        const Strings before = entries();
        form.languageBox->setText("French");
        view.chooseLanguage();
        EXPECT_EQ(state.currentLanguage, "French");
        EXPECT_EQ(settings.get(languageSettingFor(category).key, ""), "French") << category;
        EXPECT_EQ(entries(), before) << "picking never changes the entries on offer";
        Strings keys;
        for (const auto& [k, v] : settings.values()) keys.push_back(k);
        EXPECT_EQ(keys, expectedKeys[step++]);
    }
    EXPECT_EQ(names(), (Strings{"V"}));

    show("XXX");
    EXPECT_EQ(names(), (Strings{"X", "X2"}));
    form.languageBox->setText("English");
    view.chooseLanguage();
    EXPECT_EQ(names(), (Strings{"X2"})) << "the list is refilled";
    EXPECT_EQ(settings.values().size(), 3u) << "the adult category stores nothing";
    EXPECT_EQ(languageSettingFor("XXX").key, "VideoLang") << "a switch to it reads Video's language";
}

// --- Failures ---

// Catches a missing catalogue that leaves old rows, shows nothing, or
// spends the refresh flag.
TEST_F(CategoryViewTest, MissingCatalogueShowsTheMessageOnEverySwitch) {
    form.channelList->addItem(ui::ListItem{"old", "", "", {}});
    form.languageBox->addItem("All");
    form.languageBox->addItem("English");
    for (int i = 1; i <= 2; ++i) {
        show(i == 1 ? "TV" : "Radio");
        EXPECT_EQ(form.channelList->count(), 0);
        ASSERT_EQ(dialogs.shown.size(), static_cast<std::size_t>(i));
        EXPECT_EQ(dialogs.shown.back().text, kNotFound);
        EXPECT_EQ(dialogs.shown.back().title, "ChannelDeck");
        EXPECT_EQ(dialogs.shown.back().buttons, platform::Buttons::OK);
        EXPECT_TRUE(state.languageRefresh);
        EXPECT_EQ(entries(), (Strings{"All", "English"}));
    }
}

// Catches a short record of the category that is skipped (or crashes)
// instead of stopping the load with the rows so far kept.
TEST_F(CategoryViewTest, ShortRecordOfTheCategoryStopsTheLoadKeepingRowsSoFar) {
    writeCatalogue({"A|a|TV|English", "R|r|Radio", "B|b|TV", "C|c|TV|English"});
    form.languageBox->addItem("previous");
    form.languageBox->setText("previous");
    show("TV");
    EXPECT_EQ(names(), (Strings{"A"})) << "the 3-field Radio line is skipped, the 3-field TV line stops";
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kNotFound);
    EXPECT_EQ(entries(), (Strings{"previous"}));
    EXPECT_EQ(form.languageBox->text(), "previous");
    EXPECT_TRUE(state.languageRefresh);
}

// Catches a two-field line of another category passed over: its category
// cannot be compared, so the load stops there.
TEST_F(CategoryViewTest, TwoFieldLineStopsTheLoadWhateverItsCategory) {
    writeCatalogue({"A|a|TV|English", "name|address", "C|c|TV|English"});
    show("TV");
    EXPECT_EQ(names(), (Strings{"A"}));
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

// Catches lines past the cipher's limit decoded anyway, or the limit off by one.
TEST_F(CategoryViewTest, LineLongerThanTheCipherLimitStopsTheLoad) {
    const std::string atLimit = "L|" + std::string(kCipherLineLimit - 13, 'u') + "|TV|English";
    ASSERT_EQ(atLimit.size(), kCipherLineLimit);
    writeCatalogue({"A|a|TV|English", atLimit, "B|b|TV|English"});
    show("TV");
    EXPECT_EQ(names(), (Strings{"A", "L", "B"}));
    EXPECT_TRUE(dialogs.shown.empty());

    const std::string overLimit = "M|" + std::string(kCipherLineLimit, 'u') + "|Radio|English";
    writeCatalogue({"A|a|TV|English", overLimit, "B|b|TV|English"});
    show("TV");
    EXPECT_EQ(names(), (Strings{"A"}));
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

// Catches a reader that splits at a lone LF, or loses an unterminated last line.
TEST_F(CategoryViewTest, LinesEndAtCrAndTheLastMayLackItsEnd) {
    // Plain byte 201 encodes to LF, which stays inside its line.
    dir.write("Data.txt", EncodeLine("A|a|TV|Eng\xC9lish") + "\r\n" + EncodeLine("B|b|TV|French") + "\r" +
                              EncodeLine("C|c|TV|German"));
    show("TV");
    EXPECT_EQ(names(), (Strings{"A", "B", "C"}));
    EXPECT_EQ(form.channelList->item(0).subItem(2), "Eng\xC9lish");
}

}  // namespace
}  // namespace cd::catalogue
