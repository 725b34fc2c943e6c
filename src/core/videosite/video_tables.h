#pragma once
// The listing kinds and regions the video tab offers, in the order its two
// selectors list them, and the addresses built from them.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "ui/main_window.h"

namespace cd::videosite {

struct ListingKind {
    const char* name;
    const char* pathAndQuery;  // followed by the region code, "&p=" and the page
};

struct Region {
    const char* country;
    const char* code;
};

extern const std::array<ListingKind, 17> kListingKinds;
extern const std::array<Region, 18> kRegions;

/// The last entry of the region selector: choosing it turns the selector
/// area into the search box and button.
inline constexpr const char* kSearchModeEntry = "SEARCH";
/// The region code until a country is chosen.
inline constexpr const char* kStartRegionCode = "en_us";

/// Fills videoKindBox with the listing kinds and videoCountryBox with the countries and
/// the search entry, replacing what they held; their texts stay as they were.
void FillVideoSelectors(ui::MainWindow& form);

/// The path and query of a listing kind (compared case-sensitively).
std::optional<std::string_view> ListingPath(std::string_view kind);
/// The region code of a country (compared case-sensitively).
std::optional<std::string_view> RegionCode(std::string_view country);

/// "http://" + host + path and query + region code + "&p=": the listing
/// address without its page number; empty for a kind not in the table.
std::string ListingBase(const std::string& host, std::string_view kind, const std::string& regionCode);
/// The search address without its page number, the search text
/// percent-encoded.
std::string SearchBase(const std::string& regionalHost, std::string_view searchText);

/// The search text as it may stand in a query value: space, "&", "#", "%",
/// "+", "=", control bytes and bytes above 127 become %XX (upper-case hex);
/// every other byte stays.
std::string EncodeSearchText(std::string_view text);

}  // namespace cd::videosite
