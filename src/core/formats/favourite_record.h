#pragma once
// One line of Favorites.txt: name, address, category and type joined by "|",
// stored through the line cipher. The format has no escape for "|", so
// fields are made safe when a favourite is added instead.
#include <optional>
#include <string>
#include <string_view>

#include "ui/list_view.h"

namespace cd::favourites {

/// The name of the favourites file in the program's folder.
inline constexpr const char* kFavouritesFileName = "Favorites.txt";

/// A field as it may stand in a record: every "|" becomes "/" (it would
/// split the record); the byte 0xCC becomes "I" (the cipher turns it into a
/// carriage return, which would split the line in the file) and 0xFF
/// becomes "y" (it would read back as a 0 byte).
std::string SafeFavouriteField(std::string_view field);

/// The plain record of a favourites row: text, tag, first and second
/// sub-item joined by "|".
std::string FavouriteRecord(const ui::ListItem& item);

/// The row a decoded line describes. Nothing for a line without "|"; a
/// line with fewer than four fields leaves the missing ones empty. Fields
/// after the fourth are not part of the row; when moreFields is given it
/// receives them as they stand, each with the "|" before it ("|E|F"), so a
/// encryptAndSaveButton can write them back.
std::optional<ui::ListItem> ParseFavouriteRecord(std::string_view plain, std::string* moreFields = nullptr);

/// The whole favourites file for rows that carry nothing kept from a load
/// (see favourites_file_layout.h): each record encoded and ended with CR
/// LF, first row first, hidden rows too. No rows give an empty file.
std::string FavouritesFileBytes(const ui::ListView& list);

}  // namespace cd::favourites
