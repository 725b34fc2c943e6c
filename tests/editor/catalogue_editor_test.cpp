#include "editor/catalogue_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/line_cipher.h"
#include "localization/message_table.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace cd::editor {
namespace {

constexpr const char* kTitle = "ChannelDeck";

ui::ListItem row(std::string name, std::string category, std::string type, std::string address, std::string tag = {}) {
    ui::ListItem item;
    item.text = std::move(name);
    item.tag = std::move(tag);
    item.subItems = {std::move(category), std::move(type), std::move(address)};
    return item;
}

class CatalogueEditorTest : public ::testing::Test {
protected:
    CatalogueEditorTest() { localization::addDefaultMessages(messages); }

    std::vector<std::string> column(int n) const {
        std::vector<std::string> out;
        for (int i = 0; i < list.count(); ++i) out.push_back(list.item(i).column(n));
        return out;
    }
    void replace(const std::string& find, const std::string& with, const std::string& in) {
        form.findText->setText(find);
        form.replaceWithText->setText(with);
        form.replaceColumnBox->setText(in);
        editor.findAndReplace();
    }

    test::TempDir dir;
    ui::MainWindow form;
    test::FakeDialogs dialogs;
    localization::MessageTable messages{platform::VersionInfo{"ChannelDeck", "Quenmark Software", "", 1, 0, 0}};
    CatalogueEditor editor{form, dialogs, messages, dir.path(), kTitle};
    ui::ListView& list = *form.channelList;
};

// ---- selecting, adding, editing -------------------------------------------

// Catches edit boxes filled from the wrong sub-items.
TEST_F(CatalogueEditorTest, SelectingARowFillsTheEditBoxes) {
    list.addItem(row("Fox", "Radio", "English", "http://fox", "http://old"));
    list.select(0);
    editor.fillFieldsFromSelectedRow();
    EXPECT_EQ(form.editNameText->text(), "Fox");
    EXPECT_EQ(form.editCategoryBox->text(), "Radio");
    EXPECT_EQ(form.editLanguagesText->text(), "English");
    EXPECT_EQ(form.editAddressText->text(), "http://fox") << "the address shown is sub-item 3, not the tag";
    list.select(-1);
    form.editNameText->setText("typed");
    editor.fillFieldsFromSelectedRow();
    EXPECT_EQ(form.editNameText->text(), "typed") << "no selection changes nothing";
}

// Catches Add giving the row a tag, mixing up columns, or clearing the add boxes.
TEST_F(CatalogueEditorTest, AddAppendsAnUntaggedRowAndKeepsTheAddBoxes) {
    list.addItem(row("First", "TV", "English", "u1"));
    form.addNameText->setText("New");
    form.addCategoryBox->setText("XXX");
    form.addLanguagesText->setText("German");
    form.addAddressText->setText("http://new");
    editor.addEntry();
    ASSERT_EQ(list.count(), 2);
    const ui::ListItem& added = list.item(1);
    EXPECT_EQ(added.text, "New");
    EXPECT_EQ(added.subItem(1), "XXX");
    EXPECT_EQ(added.subItem(2), "German");
    EXPECT_EQ(added.subItem(3), "http://new");
    EXPECT_EQ(added.tag, "");
    EXPECT_EQ(form.addNameText->text(), "New");
    editor.addEntry();
    EXPECT_EQ(list.count(), 3) << "no duplicate test on add";
}

// Catches OK changing the tag, or acting with no selection.
TEST_F(CatalogueEditorTest, OkWritesTheEditBoxesIntoTheSelectedRowOnly) {
    list.addItem(row("A", "TV", "English", "http://a", "http://a"));
    list.addItem(row("B", "TV", "English", "http://b", "http://b"));
    form.editNameText->setText("B2");
    form.editCategoryBox->setText("Video");
    form.editLanguagesText->setText("French");
    form.editAddressText->setText("http://b2");
    editor.applyEdit();
    EXPECT_EQ(column(0), (std::vector<std::string>{"A", "B"})) << "no selection: nothing happens";
    list.select(1);
    editor.applyEdit();
    const ui::ListItem& b = list.item(1);
    EXPECT_EQ(b.text, "B2");
    EXPECT_EQ(b.subItem(1), "Video");
    EXPECT_EQ(b.subItem(2), "French");
    EXPECT_EQ(b.subItem(3), "http://b2");
    EXPECT_EQ(b.tag, "http://b") << "the click still plays the loaded address";
    EXPECT_EQ(list.item(0).text, "A");
}

// ---- find and replace -----------------------------------------------------

// Catches a case-sensitive or rescanning replace inside names.
TEST_F(CatalogueEditorTest, ReplaceInChannelIgnoresCaseAndDoesNotRescan) {
    list.addItem(row("Fox tv", "TV", "English", "u1"));
    list.addItem(row("tvland", "TV", "tv", "u2"));
    list.addItem(row("aaa", "TV", "English", "u3"));
    replace("tv", "TV", "Channel");
    EXPECT_EQ(column(0), (std::vector<std::string>{"Fox TV", "TVland", "aaa"}));
    EXPECT_EQ(list.item(1).subItem(2), "tv") << "only names change in column Channel";
    replace("A", "aa", "Channel");
    EXPECT_EQ(list.item(2).text, "aaaaaa");
}

// Catches the Language column replacing inside values or ignoring case.
TEST_F(CatalogueEditorTest, ReplaceInLanguageChangesWholeEqualValuesOnly) {
    list.addItem(row("1", "TV", "English", "u1"));
    list.addItem(row("2", "TV", "English/French", "u2"));
    list.addItem(row("3", "TV", "english", "u3"));
    list.addItem(row("English", "TV", "English", "u4"));
    replace("English", "Spanish", "Language");
    EXPECT_EQ(column(2), (std::vector<std::string>{"Spanish", "English/French", "english", "Spanish"}));
    EXPECT_EQ(list.item(3).text, "English");
}

// Catches any column text other than the two list entries doing something, or an empty find matching.
TEST_F(CatalogueEditorTest, OtherColumnTextOrAnEmptyFindChangesNothing) {
    list.addItem(row("tv one", "TV", "", "u1"));
    replace("tv", "X", "URL");
    replace("tv", "X", "channel");
    replace("", "X", "Channel");
    replace("", "X", "Language");
    EXPECT_EQ(list.item(0).text, "tv one");
    EXPECT_EQ(list.item(0).subItem(2), "") << "an empty find does not match an empty value";
}

// Catches Enter in the find or replacement box not running Replace, or other keys running it.
TEST_F(CatalogueEditorTest, EnterInEitherBoxRunsReplace) {
    list.addItem(row("tv", "TV", "English", "u1"));
    form.findText->setText("tv");
    form.replaceWithText->setText("TV");
    EXPECT_FALSE(editor.findTextKeyPressed('a'));
    EXPECT_EQ(list.item(0).text, "tv");
    EXPECT_TRUE(editor.replaceTextKeyPressed(13));
    EXPECT_EQ(list.item(0).text, "TV");
    form.replaceWithText->setText("Tele");
    EXPECT_TRUE(editor.findTextKeyPressed(CatalogueEditor::kEnterKey));
    EXPECT_EQ(list.item(0).text, "Tele");
}

// Catches a replace that loses the selection or leaves a sorted list out of order.
TEST_F(CatalogueEditorTest, ReplaceKeepsASortedListSortedAndTheSelection) {
    list.setSorted(true);
    list.addItem(row("b", "TV", "x", "u1"));
    list.addItem(row("c", "TV", "x", "u2"));
    list.select(1);
    replace("c", "a", "Channel");
    EXPECT_EQ(column(0), (std::vector<std::string>{"a", "b"}));
    ASSERT_TRUE(list.selectedItem().has_value());
    EXPECT_EQ(list.selectedItem()->subItem(3), "u2");
}

// ---- remove duplicates ----------------------------------------------------

// Catches duplicates keyed on the category (which would leave one row per category).
TEST_F(CatalogueEditorTest, RowsOfOneCategoryWithDifferentAddressesAreNotDuplicates) {
    list.addItem(row("1", "TV", "English", "http://1"));
    list.addItem(row("2", "tv", "English", "http://2"));
    list.addItem(row("3", "Radio", "English", "http://3"));
    list.addItem(row("4", "TV", "English", "http://4"));
    EXPECT_EQ(editor.removeDuplicates(), 0);
    EXPECT_EQ(list.count(), 4);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Deleted 0");
}

// Catches removing the wrong copy, reordering, case-sensitive addresses, or a wrong count.
TEST_F(CatalogueEditorTest, DuplicateAddressesKeepTheTopmostRowInOrder) {
    list.addItem(row("A", "TV", "English", "http://a"));
    list.addItem(row("A again", "Radio", "German", "HTTP://A"));
    list.addItem(row("B", "TV", "English", "http://b"));
    list.addItem(row("A third", "TV", "English", "http://a"));
    list.addItem(row("C", "TV", "English", "http://c"));
    list.addItem(row("B again", "TV", "English", "http://b"));
    list.select(4);
    EXPECT_EQ(editor.removeDuplicates(), 3);
    EXPECT_EQ(column(0), (std::vector<std::string>{"A", "B", "C"}));
    ASSERT_TRUE(list.selectedItem().has_value());
    EXPECT_EQ(list.selectedItem()->text, "C") << "the selected row stays selected";
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Deleted 3");
    EXPECT_EQ(dialogs.shown[0].title, kTitle);
    EXPECT_EQ(dialogs.shown[0].buttons, platform::Buttons::OK);
}

// Catches rows without an address being removed as duplicates of each other.
TEST_F(CatalogueEditorTest, RowsWithoutAnAddressAreNeverDuplicates) {
    list.addItem(row("no url 1", "TV", "English", ""));
    list.addItem(row("no url 2", "TV", "English", ""));
    EXPECT_EQ(editor.removeDuplicates(), 0);
    EXPECT_EQ(list.count(), 2);
}

// Catches the count message not reading the message table when shown, or failing on an empty list.
TEST_F(CatalogueEditorTest, EmptyListReportsDeletedZeroInTheCurrentLanguage) {
    EXPECT_EQ(editor.removeDuplicates(), 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Deleted 0");
    for (int i = 0; i < localization::MessageTable::kSize; ++i)
        if (messages.entries()[static_cast<std::size_t>(i)].key == "MSG_DELETED") messages.setText(i, "Entfernt: ");
    editor.removeDuplicates();
    EXPECT_EQ(dialogs.shown.back().text, "Entfernt: 0");
}

// ---- delete, clear, close -------------------------------------------------

// Catches Delete removing a row when none is selected, or the wrong one.
TEST_F(CatalogueEditorTest, DeleteRemovesOnlyTheSelectedRow) {
    list.addItem(row("A", "TV", "English", "u1"));
    list.addItem(row("B", "TV", "English", "u2"));
    editor.deleteSelectedChannel();
    EXPECT_EQ(list.count(), 2);
    list.select(0);
    editor.deleteSelectedChannel();
    EXPECT_EQ(column(0), (std::vector<std::string>{"B"}));
    EXPECT_TRUE(dialogs.shown.empty()) << "nothing is asked";
}

// Catches clearListButton leaving rows behind or asking first.
TEST_F(CatalogueEditorTest, ClearRemovesEveryRow) {
    list.addItem(row("A", "TV", "English", "u1"));
    list.addItem(row("B", "TV", "English", "u2"));
    editor.clearList();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches X leaving dontLoadWhileEditingCheck ticked (so channel clicks would keep playing nothing).
TEST_F(CatalogueEditorTest, XUnticksDontLoadAndHidesThePanel) {
    form.dontLoadWhileEditingCheck->setChecked(true);
    form.editorPanel->setVisible(true);
    editor.closeEditor();
    EXPECT_FALSE(form.dontLoadWhileEditingCheck->checked());
    EXPECT_FALSE(form.editorPanel->visible());
}

// ---- the file buttons -----------------------------------------------------

// Catches the editor's file buttons missing the program's folder or the list.
TEST_F(CatalogueEditorTest, FileButtonsLoadEditAndSaveThroughTheProgramFolder) {
    dir.write("Data.txt", catalogue::EncodeLine("Fox tv|http://fox|TV|English") + "\r\n" +
                              catalogue::EncodeLine("Fox copy|HTTP://FOX|TV|English") + "\r\n");
    dir.write("import.txt", "[http://s]\r\n-\r\nImported\r\nRadio\r\n");
    EXPECT_EQ(editor.decryptAndLoad().rowsAdded, 2);
    form.importFileText->setText("import.txt");
    form.importCategoryText->setText("French");
    EXPECT_EQ(editor.importSectioned().rowsAdded, 1);
    editor.removeDuplicates();
    replace("tv", "TV", "Channel");
    form.keyText->setText("8047");
    EXPECT_TRUE(editor.encryptAndSave().written);
    EXPECT_EQ(dir.read("Data.htm"),
              "<data>\r\nFox TV|http://fox|TV|English\r\nImported|http://s|Radio|French\r\n"
              "</data>\r\n");
}

}  // namespace
}  // namespace cd::editor
