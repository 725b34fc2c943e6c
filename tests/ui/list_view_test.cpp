#include "ui/list_view.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/main_window.h"
#include "ui/windows.h"

namespace cd::ui {
namespace {

ListItem row(std::string text, std::string sub1 = {}, std::string key = {}) {
    ListItem item;
    item.text = std::move(text);
    item.key = std::move(key);
    if (!sub1.empty()) item.setSubItem(1, std::move(sub1));
    return item;
}

std::vector<std::string> texts(const ListView& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i) out.push_back(list.item(i).text);
    return out;
}

// Catches a list that accepts a second row with a key it already holds.
TEST(ListView, RefusesDuplicateKeysButNotDuplicateTexts) {
    ListView list("ListView3");
    EXPECT_EQ(list.addItem(row("a", {}, "k1")), 0);
    EXPECT_EQ(list.addItem(row("b", {}, "k1")), -1);
    EXPECT_EQ(list.addItem(row("a")), 1);
    EXPECT_EQ(list.addItem(row("a")), 2);
    EXPECT_EQ(list.count(), 3);
    list.removeItem(0);
    EXPECT_EQ(list.addItem(row("c", {}, "k1")), 2) << "a removed key is free again";
}

// Catches sorting that forgets itself on refill, or inserts unsorted.
TEST(ListView, SortedListKeepsOrderAcrossRefillsAndBatches) {
    ListView list("ListView1");
    list.setSortKey(1);
    list.setSortOrder(SortOrder::Descending);
    list.setSorted(true);
    list.addItem(row("x", "b"));
    list.addItem(row("y", "C"));
    list.addItem(row("z", "a"));
    EXPECT_EQ(texts(list), (std::vector<std::string>{"y", "x", "z"}));
    list.clear();
    list.beginUpdate();
    list.addItem(row("p", "a"));
    list.addItem(row("q", "B"));
    list.endUpdate();
    EXPECT_EQ(texts(list), (std::vector<std::string>{"q", "p"}));
}

// Catches a selection that points at another row after a sort or a removal.
TEST(ListView, SelectionFollowsItsRow) {
    ListView list("ListView2");
    list.addItem(row("b"));
    list.addItem(row("a"));
    list.select(0);
    list.setSorted(true);
    ASSERT_TRUE(list.selectedItem().has_value());
    EXPECT_EQ(list.selectedItem()->text, "b");
    list.removeItem(list.selectedIndex());
    EXPECT_FALSE(list.selectedItem().has_value());
    EXPECT_EQ(list.selectedIndex(), -1);
}

// Catches a row filter that maps a shown position to the wrong row after a
// remove or an insert, tells the shell of a row it does not show (or at the
// wrong place), loses hidden rows from the whole list or from a sort, or
// keeps a row selected once it is hidden.
TEST(ListView, FilterHidesRowsAndPositionsCountTheShownOnes) {
    ListView list("ListView2");
    for (const char* name : {"a1", "b1", "a2", "b2", "a3"}) list.addItem(row(name, {}, std::string("k") + name));
    std::vector<ChangeEvent> seen;
    list.subscribe([&](Control*, const ChangeEvent& e) { seen.push_back(e); });
    list.select(1);  // b1
    list.setRowFilter([](const ListItem& item) { return item.text[0] == 'a'; });
    EXPECT_EQ(texts(list), (std::vector<std::string>{"a1", "a2", "a3"}));
    EXPECT_EQ(list.selectedIndex(), -1) << "b1 is hidden";
    EXPECT_EQ(list.allCount(), 5);
    EXPECT_TRUE(list.hasKey("kb2"));

    list.select(1);
    list.removeItem(1);  // a2: b2 and a3 move up in the whole list
    EXPECT_EQ(texts(list), (std::vector<std::string>{"a1", "a3"}));
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(list.item(1).key, "ka3");
    seen.clear();
    EXPECT_EQ(list.addItem(row("b3")), 2) << "added, but hidden: past the shown rows";
    EXPECT_TRUE(seen.empty()) << "the shell shows no hidden row";
    EXPECT_EQ(list.addItem(row("a4")), 2);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].what, Change::RowsInserted);
    EXPECT_EQ(seen[0].first, 2);
    std::vector<std::string> all;
    for (int i = 0; i < list.allCount(); ++i) all.push_back(list.allItem(i).text);
    EXPECT_EQ(all, (std::vector<std::string>{"a1", "b1", "b2", "a3", "b3", "a4"}));

    // Sorting orders the hidden rows too; a changed row that stops matching hides.
    list.setSortOrder(SortOrder::Descending);
    list.setSorted(true);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"a4", "a3", "a1"}));
    list.setItem(0, row("b4"));
    EXPECT_EQ(texts(list), (std::vector<std::string>{"a3", "a1"}));
    list.setRowFilter({});
    EXPECT_EQ(texts(list), (std::vector<std::string>{"b4", "b3", "b2", "b1", "a3", "a1"}));
}

// Catches a shell that would miss row changes, or drown in one event per row.
TEST(ListView, NotifiesInsertsAndOneResetPerBatch) {
    ListView list("ListView1");
    std::vector<Change> seen;
    list.subscribe([&](Control*, const ChangeEvent& e) { seen.push_back(e.what); });
    list.addItem(row("a"));
    list.beginUpdate();
    for (int i = 0; i < 100; ++i) list.addItem(row("r"));
    list.endUpdate();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], Change::RowsInserted);
    EXPECT_EQ(seen[1], Change::RowsReset);
    EXPECT_LE(seen.size(), 3u);
}

TEST(ListView, MissingSubItemsReadEmpty) {
    ListItem item;
    EXPECT_EQ(item.subItem(3), "");
    item.setSubItem(3, "url");
    EXPECT_EQ(item.subItem(1), "");
    EXPECT_EQ(item.subItem(3), "url");
    EXPECT_EQ(item.column(3), "url");
}

// Catches a main window model missing a control the handlers rely on.
TEST(WindowModel, MainWindowHasItsControlsInOrderWithBuiltInCaptions) {
    MainWindow f;
    EXPECT_EQ(f.find("cmdTV")->caption(), "TV");
    EXPECT_FALSE(f.adultButton->visible());
    EXPECT_FALSE(f.categoryMenuItems[7]->visible());
    EXPECT_TRUE(f.categoryMenuItems[8]->visible());
    EXPECT_EQ(f.channelList->columnCount(), 7);
    EXPECT_EQ(f.channelList->columnText(7), "Last Online");
    EXPECT_EQ(f.find("mnuFileItem", 2)->caption(), "Exit");
    EXPECT_EQ(f.fileMenuItems[2], f.find("mnuFileItem", 2));
    EXPECT_FALSE(f.fileMenu->index().has_value());
    EXPECT_EQ(f.keyText->text(), "key");
    EXPECT_EQ(f.editorPanel->caption(), "List Editing");
    EXPECT_FALSE(f.editorPanel->visible());
    // Every category button sits in one row with no overlap, in the full edition too.
    std::vector<Control*> row{f.tvButton,      f.radioButton,  f.videoButton,  f.favouritesButton, f.videoSiteButton,
                              f.myFilesButton, f.sportsButton, f.extrasButton, f.adultButton};
    for (std::size_t i = 1; i < row.size(); ++i)
        EXPECT_GE(row[i]->left(), row[i - 1]->left() + row[i - 1]->width()) << row[i]->name();
}

TEST(WindowModel, LanguageWindowListsControlsInTheWritersOrder) {
    Windows w;
    std::vector<std::string> names;
    for (const auto& c : w.languageWindow.controls()) names.push_back(c->name());
    EXPECT_EQ(names,
              (std::vector<std::string>{"Command3", "Command2", "Command1", "Combo1", "Label1", "DownloadStatus"}));
    EXPECT_EQ(w.languageWindow.caption(), "Language Selection");
    w.load(w.mainWindow);
    w.load(w.languageWindow);
    w.load(w.mainWindow);
    EXPECT_EQ(w.loaded().size(), 2u);
    w.unload(w.mainWindow);
    EXPECT_EQ(w.loaded().front(), &w.languageWindow);
}

}  // namespace
}  // namespace cd::ui
