#include "favourites/favourite_filter.h"

#include <string>

#include "formats/search_filter.h"

namespace cd::favourites {

ui::ListView::RowFilter FavouriteNameFilter(std::string_view typed) {
    std::string wanted = formats::searchKey(typed);
    if (wanted.empty()) return {};
    // The typed key is made once per keystroke, not once per favourite.
    return [wanted = std::move(wanted), name = std::string()](const ui::ListItem& item) mutable {
        name.clear();
        formats::appendSearchKey(item.text, name);
        return name.find(wanted) != std::string::npos;
    };
}

}  // namespace cd::favourites
