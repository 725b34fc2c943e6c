#include "mainwindow/list_sorting.h"

#include "util/text.h"

namespace cd::mainwindow {

bool EnhListView_SortColumns(ui::ListView& list, int columnPosition, bool showErrors, platform::Dialogs* dialogs) {
    if (list.allCount() == 0) return true;  // a search hiding every row leaves rows to sort
    // A column the list does not have cannot be a sort key; sorting is still
    // switched on, with the key and order it had, as far as the settings got.
    const bool knownColumn = columnPosition >= 1 && columnPosition <= list.columnCount();
    // One update around the three settings: the rows are sorted once.
    list.beginUpdate();
    if (!list.sorted()) list.setSorted(true);
    if (knownColumn) {
        list.setSortKey(columnPosition - 1);
        list.setSortOrder(list.sortOrder() == ui::SortOrder::Ascending ? ui::SortOrder::Descending
                                                                       : ui::SortOrder::Ascending);
    }
    list.endUpdate();
    if (knownColumn) return true;
    if (showErrors && dialogs) {
        dialogs->messageBox("The list cannot be sorted by column " + util::decimal(columnPosition) + ".", "Sort",
                            platform::Buttons::OK);
    }
    return false;
}

void sortChannelListByColumn(ui::MainWindow& form, int columnPosition) {
    (void)EnhListView_SortColumns(*form.channelList, columnPosition, false);
}

void sortFavouritesByColumn(ui::MainWindow& form, int columnPosition) {
    (void)EnhListView_SortColumns(*form.favouritesList, columnPosition, false);
}

}  // namespace cd::mainwindow
