#include "favourites/favourite_row.h"

namespace cd::favourites {

ui::ListItem FavouriteRow(formats::Favourite favourite) {
    ui::ListItem row;
    row.text = std::move(favourite.name);
    row.tag = std::move(favourite.address);
    row.setSubItem(1, std::move(favourite.category));
    row.setSubItem(2, std::move(favourite.type));
    return row;
}

formats::Favourite FavouriteOfRow(const ui::ListItem& row) {
    return formats::Favourite{row.text, row.tag, row.subItem(1), row.subItem(2)};
}

}  // namespace cd::favourites
