#pragma once
// The two contents, A and B, that crash_writer writes in turn for each kind
// of file, built by the same code the program runs; the test builds them
// too, to tell a whole old or new file from anything else.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/list_view.h"

namespace cd::crash {

/// FavouritesKept: a favourites file that holds lines the program does not
/// read as favourites (kept on every encryptAndSaveButton), added to and removed from.
enum class Kind { Favourites, FavouritesKept, CatalogueExport, VideoPage, RegistryImport };

/// "favourites", "favourites_kept", "catalogue", "videopage", "registry".
std::string_view kindName(Kind kind);
bool kindFromName(std::string_view name, Kind& kind);

/// The file a kind replaces, in folder (the registry's is its store folder).
std::filesystem::path targetOf(Kind kind, const std::filesystem::path& folder);

/// Favourites rows of variant 0 (A) or 1 (B): a few hundred kilobytes, so a
/// encryptAndSaveButton takes long enough to be interrupted.
void fillFavourites(ui::ListView& list, int variant);
/// The video favourite that turns FavouritesKept's A into B when added.
inline constexpr const char* kKeptAddedTitle = "Added clip";
inline constexpr const char* kKeptAddedId = "ADDEDCLIP01";
/// Editor rows of the catalogue for variant 0 or 1.
void fillCatalogue(ui::ListView& list, int variant);

/// The exact bytes a kind's file holds after variant 0 or 1 was written.
std::string expectedBytes(Kind kind, int variant);

/// The player page's video for variant 0 or 1.
std::string videoTitle(int variant);
std::string videoId(int variant);
inline constexpr const char* kPlayerHost = "player.example";

/// A registry script of variant 0 or 1, and where to put it.
std::string regText(int variant);
std::filesystem::path regFile(const std::filesystem::path& folder, int variant);
/// The registry keys the scripts write (under HKEY_CURRENT_USER), and for
/// each key every value of a variant: name -> raw stored bytes.
std::vector<std::string> regKeys();
std::map<std::string, std::string> regValues(const std::string& key, int variant);

}  // namespace cd::crash
