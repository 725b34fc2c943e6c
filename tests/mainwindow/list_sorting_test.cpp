#include "mainwindow/list_sorting.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/fakes.h"
#include "ui/main_window.h"

namespace cd::mainwindow {
namespace {

using Strings = std::vector<std::string>;
using ui::SortOrder;

ui::ListItem channel(std::string name, std::string category, std::string type = {}) {
    ui::ListItem item;
    item.text = std::move(name);
    item.tag = "http://" + item.text + ".test/";
    item.setSubItem(1, std::move(category));
    item.setSubItem(2, std::move(type));
    return item;
}

void fill(ui::ListView& list) {
    list.beginUpdate();
    list.addItem(channel("beta", "Radio"));
    list.addItem(channel("Alpha", "video"));
    list.addItem(channel("gamma", "TV"));
    list.addItem(channel("Delta", "radio"));
    list.endUpdate();
}

Strings names(const ui::ListView& list) {
    Strings out;
    for (int i = 0; i < list.count(); ++i) out.push_back(list.item(i).text);
    return out;
}

// Catches an empty list's click flipping the order, which would make the first real click ascend.
TEST(EnhListViewSortColumns, EmptyListChangesNothingAndTheNextClickStillDescends) {
    ui::MainWindow f;
    ui::ListView& list = *f.channelList;
    EXPECT_TRUE(EnhListView_SortColumns(list, 1, false));
    EXPECT_FALSE(list.sorted());
    EXPECT_EQ(list.sortOrder(), SortOrder::Ascending);
    EXPECT_EQ(list.sortKey(), 0);
    fill(list);
    EXPECT_TRUE(EnhListView_SortColumns(list, 1, false));
    EXPECT_TRUE(list.sorted());
    EXPECT_EQ(list.sortOrder(), SortOrder::Descending);
    EXPECT_EQ(names(list), (Strings{"gamma", "Delta", "beta", "Alpha"}));
}

// Catches a second click on the same header that does not reverse the order.
TEST(EnhListViewSortColumns, SameHeaderTwiceSortsDescendingThenAscending) {
    ui::MainWindow f;
    fill(*f.channelList);
    sortChannelListByColumn(f, 1);
    EXPECT_EQ(names(*f.channelList), (Strings{"gamma", "Delta", "beta", "Alpha"}));
    sortChannelListByColumn(f, 1);
    EXPECT_EQ(f.channelList->sortOrder(), SortOrder::Ascending);
    EXPECT_EQ(names(*f.channelList), (Strings{"Alpha", "beta", "Delta", "gamma"}));
}

// Catches per-column order memory: the order flips on every click, whatever the column.
TEST(EnhListViewSortColumns, OrderFlipsEvenWhenTheColumnChanges) {
    ui::MainWindow f;
    fill(*f.channelList);
    sortChannelListByColumn(f, 1);  // "Channel": by name, descending
    EXPECT_EQ(names(*f.channelList), (Strings{"gamma", "Delta", "beta", "Alpha"}));
    sortChannelListByColumn(f, 2);  // "Category": by category, ascending
    EXPECT_EQ(f.channelList->sortKey(), 1);
    EXPECT_EQ(f.channelList->sortOrder(), SortOrder::Ascending);
    // Radio and radio are equal without regard to case; they keep their previous order.
    EXPECT_EQ(names(*f.channelList), (Strings{"Delta", "beta", "gamma", "Alpha"}));
    sortChannelListByColumn(f, 2);
    EXPECT_EQ(f.channelList->sortOrder(), SortOrder::Descending);
    EXPECT_EQ(names(*f.channelList).front(), "Alpha");
}

// Catches a case-sensitive comparison (upper-case names would all sort before lower-case ones).
TEST(EnhListViewSortColumns, ComparesWithoutRegardToCase) {
    ui::MainWindow f;
    ui::ListView& list = *f.favouritesList;
    for (const char* n : {"cherry", "Banana", "apple", "BANANA split", "Apple"}) list.addItem(channel(n, ""));
    sortFavouritesByColumn(f, 1);
    sortFavouritesByColumn(f, 1);
    EXPECT_EQ(names(list), (Strings{"apple", "Apple", "Banana", "BANANA split", "cherry"}));
}

// Catches a refill of the category view coming back unsorted after a header click.
TEST(EnhListViewSortColumns, ListStaysSortedAcrossRefills) {
    ui::MainWindow f;
    ui::ListView& list = *f.channelList;
    fill(list);
    sortChannelListByColumn(f, 1);
    list.clear();
    list.beginUpdate();
    for (const char* n : {"m", "Z", "a", "K"}) list.addItem(channel(n, "TV"));
    list.endUpdate();
    EXPECT_EQ(names(list), (Strings{"Z", "m", "K", "a"}));
    list.addItem(channel("p", "TV"));
    list.addItem(channel("B", "TV"));
    EXPECT_EQ(names(list), (Strings{"Z", "p", "m", "K", "B", "a"}));
}

// Catches a favourites sort that loses which row is selected (a later play or removal would hit another row).
TEST(EnhListViewSortColumns, SelectionStaysOnItsRow) {
    ui::MainWindow f;
    ui::ListView& list = *f.favouritesList;
    fill(list);
    list.select(1);  // Alpha
    sortFavouritesByColumn(f, 1);
    ASSERT_TRUE(list.selectedItem().has_value());
    EXPECT_EQ(list.selectedItem()->text, "Alpha");
    EXPECT_EQ(list.selectedIndex(), 3);
}

// Catches a bad column being taken as a sort key, or a failure shown although errors are off.
TEST(EnhListViewSortColumns, ColumnTheListLacksFailsAndKeepsTheSettingsMade) {
    ui::MainWindow f;
    ui::ListView& list = *f.favouritesList;  // three columns
    fill(list);
    test::FakeDialogs dialogs;
    EXPECT_FALSE(EnhListView_SortColumns(list, 4, false, &dialogs));
    EXPECT_TRUE(list.sorted()) << "sorting was switched on before the key failed";
    EXPECT_EQ(list.sortKey(), 0);
    EXPECT_EQ(list.sortOrder(), SortOrder::Ascending);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(EnhListView_SortColumns(list, 0, true, &dialogs));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("column 0"), std::string::npos);
    EXPECT_TRUE(EnhListView_SortColumns(list, 3, true, &dialogs));
    EXPECT_EQ(list.sortKey(), 2);
    EXPECT_EQ(list.sortOrder(), SortOrder::Descending);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

// Catches the shell hearing a reset per setting (three resets and three sorts) instead of one.
TEST(EnhListViewSortColumns, OneClickIsOneReset) {
    ui::MainWindow f;
    ui::ListView& list = *f.channelList;
    fill(list);
    int resets = 0;
    list.subscribe([&](ui::Control*, const ui::ChangeEvent& e) { resets += e.what == ui::Change::RowsReset; });
    sortChannelListByColumn(f, 2);
    EXPECT_EQ(resets, 1);
}

// Catches a faster sort that orders differently from the list's comparison, or is not stable.
TEST(EnhListViewSortColumns, LargeSortAgreesWithTheListComparisonAndIsStable) {
    ui::MainWindow f;
    ui::ListView& list = *f.channelList;
    std::mt19937 rng(7);
    const Strings words = {"news", "News", "NEWS", "music", "Sport", "sport", "\xE9t\xE9", "\xC9T\xC9", "", "z"};
    list.beginUpdate();
    for (int i = 0; i < 5000; ++i) {
        ui::ListItem item = channel(words[rng() % words.size()] + words[rng() % words.size()], words[rng() % 4]);
        item.tag = std::to_string(i);  // the row's original position
        list.addItem(std::move(item));
    }
    list.endUpdate();
    for (int column : {1, 2, 2, 1}) {
        std::vector<std::string> before;
        for (int i = 0; i < list.count(); ++i) before.push_back(list.item(i).tag);
        ASSERT_TRUE(EnhListView_SortColumns(list, column, false));
        const bool ascending = list.sortOrder() == SortOrder::Ascending;
        std::vector<int> rank(before.size());
        for (std::size_t i = 0; i < before.size(); ++i) rank[std::stoul(before[i])] = static_cast<int>(i);
        for (int i = 1; i < list.count(); ++i) {
            const auto& a = list.item(i - 1);
            const auto& b = list.item(i);
            const int c = ui::compareListText(a.column(column - 1), b.column(column - 1));
            ASSERT_TRUE(ascending ? c <= 0 : c >= 0) << "rows " << i - 1 << " and " << i;
            if (c == 0) {
                ASSERT_LT(rank[std::stoul(a.tag)], rank[std::stoul(b.tag)]) << "equal keys kept their order";
            }
        }
    }
}

}  // namespace
}  // namespace cd::mainwindow
