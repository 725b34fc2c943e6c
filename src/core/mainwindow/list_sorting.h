#pragma once
// modListViewEnh: sorting the channel and favourites lists by a clicked
// column header. The list keeps its own sort settings (sorted, key, order)
// for the rest of the run and keeps its rows in that order across refills.
#include "platform/dialogs.h"
#include "ui/list_view.h"
#include "ui/main_window.h"

namespace cd::mainwindow {

/// Sorts list by the column at columnPosition (1 = the item text). An empty
/// list changes nothing. Otherwise sorting is switched on, the sort key
/// becomes columnPosition - 1 and the order flips, on every click and
/// whatever the column, so the first click sorts descending. Returns false,
/// keeping the settings already made, when the column is not one of the
/// list's; with showErrors and dialogs given, also says so in a message box.
bool EnhListView_SortColumns(ui::ListView& list, int columnPosition, bool showErrors,
                             platform::Dialogs* dialogs = nullptr);

/// Header click of the channel list: sorts by that column, silently.
void sortChannelListByColumn(ui::MainWindow& form, int columnPosition);
/// Header click of the favourites list: sorts by that column, silently.
void sortFavouritesByColumn(ui::MainWindow& form, int columnPosition);

}  // namespace cd::mainwindow
