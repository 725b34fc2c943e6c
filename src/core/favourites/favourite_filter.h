#pragma once
// The search field over the favourites list: a favourite shows while its
// name holds the typed text, letter case and accents ignored, by the same
// search keys as the channel list's field. The favourites stay rows of the
// list's own (their keys tie them to what Favorites.txt kept), so the
// search hides rows instead of showing a view of them, and every save
// still writes the hidden ones.
#include <string_view>

#include "ui/list_view.h"

namespace cd::favourites {

/// The row filter for typed text (UTF-8, as the field holds it): none,
/// which shows every favourite, when the text has no search key.
ui::ListView::RowFilter FavouriteNameFilter(std::string_view typed);

}  // namespace cd::favourites
