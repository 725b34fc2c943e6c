#pragma once
// One line of Favorites.txt: name, address, category and type joined by "|",
// stored through the line cipher. The format has no escape for "|", so
// fields are made safe when a favourite is added instead.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/favourite.h"

namespace cd::formats {

/// The name of the favourites file in the program's folder.
inline constexpr const char* kFavouritesFileName = "Favorites.txt";

/// A field as it may stand in a record: every "|" becomes "/" (it would
/// split the record); the byte 0xCC becomes "I" (the cipher turns it into a
/// carriage return, which would split the line in the file) and 0xFF
/// becomes "y" (it would read back as a 0 byte).
std::string SafeFavouriteField(std::string_view field);

/// The plain record of a favourite: its four fields joined by "|".
std::string FavouriteRecord(const Favourite& favourite);

/// The favourite a decoded line describes. Nothing for a line without "|";
/// a line with fewer than four fields leaves the missing ones empty. Fields
/// after the fourth are not part of the favourite; when moreFields is given
/// it receives them as they stand, each with the "|" before it ("|E|F"), so
/// a save can write them back.
std::optional<Favourite> ParseFavouriteRecord(std::string_view plain, std::string* moreFields = nullptr);

/// The whole favourites file for favourites that carry nothing kept from a
/// load: each record encoded and ended with CR LF, in the given order. No
/// favourites give an empty file.
std::string FavouritesFileBytes(const std::vector<Favourite>& favourites);

}  // namespace cd::formats
