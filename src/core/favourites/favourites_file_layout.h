#pragma once
// What Favorites.txt holds beyond the rows of the favourites list: lines
// that are no favourite (no "|" once decoded) and fields after the fourth.
// They are the user's (a hand edit, a newer version of the program), so
// every save writes them back unchanged. Each such line stays behind the
// favourite it followed in the file, so it travels with that favourite
// when the list is sorted.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui/list_view.h"

namespace cd::favourites {

class FavouritesFileLayout {
public:
    /// Reads a favourites file: passes each favourite's row, in file order,
    /// to addRow and keeps the rest. The rows carry keys that tie them to
    /// what was kept; the list must keep those keys. A second load appends.
    void load(std::string_view bytes, const std::function<void(ui::ListItem)>& addRow);

    /// The whole file for the list's rows (hidden ones too) in the list's order.
    /// Each row is its record (with the fields after the fourth that it was
    /// loaded with), encoded and ended with CR LF, followed by the lines
    /// that followed it in the file, as they were stored. Lines whose
    /// favourite is gone follow the nearest favourite before it that is
    /// still listed; lines before every listed favourite come first.
    std::string fileBytes(const ui::ListView& list) const;

private:
    struct Loaded {
        std::string key;
        std::string moreFields;               // "|E|F", plain
        std::vector<std::string> linesAfter;  // stored (encoded) bytes, without line ends
    };

    std::vector<std::string> leading_;  // stored lines before the first favourite
    std::vector<Loaded> loaded_;        // in file order
    std::unordered_map<std::string, std::size_t> byKey_;
    std::uint64_t nextKey_ = 1;
};

}  // namespace cd::favourites
