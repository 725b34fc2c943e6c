#pragma once
// How a favourite shows in the favourites list: the name as the row's text,
// the address as its tag, category and type as its first two sub-items.
#include "formats/favourite.h"
#include "ui/list_view.h"

namespace cd::favourites {

ui::ListItem FavouriteRow(formats::Favourite favourite);

/// The favourite a row of the favourites list stands for.
formats::Favourite FavouriteOfRow(const ui::ListItem& row);

}  // namespace cd::favourites
