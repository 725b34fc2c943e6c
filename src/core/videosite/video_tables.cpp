#include "videosite/video_tables.h"

namespace cd::videosite {

const std::array<ListingKind, 17> kListingKinds = {{
    {"Featured", "/browse?s=rf&t=&l=&e="},
    {"Most Viewed", "/browse?s=mp&t=&l=&e="},
    {"Most Discussed", "/browse?s=md&t=&l=&e="},
    {"Top Favorites", "/browse?s=mf&t=&l=&e="},
    {"Autos and Vehicles", "/browse?s=mf&t=t&c=2&l=&e="},
    // The site files comedy under topic 23.
    {"Comedy", "/browse?s=mf&t=t&c=23&l=&e="},
    {"Education", "/browse?s=mf&t=t&c=27&l=&e="},
    {"Entertainment", "/browse?s=mf&t=t&c=24&l=&e="},
    {"Film and Animation", "/browse?s=mf&t=t&c=1&l=&e="},
    {"Howto and Style", "/browse?s=mf&t=t&c=26&l=&e="},
    {"Music", "/browse?s=mf&t=t&c=10&l=&e="},
    {"News and Politics", "/browse?s=mf&t=t&c=25&l=&e="},
    {"People and Blogs", "/browse?s=mf&t=t&c=22&l=&e="},
    {"Pets and Animals", "/browse?s=mf&t=t&c=15&l=&e="},
    {"Science and Technology", "/browse?s=mf&t=t&c=28&l=&e="},
    {"Sports", "/browse?s=mf&t=t&c=17&l=&e="},
    {"Travel and Events", "/browse?s=mf&t=t&c=19&l=&e="},
}};

const std::array<Region, 18> kRegions = {{
    {"Australia", "en_AU"},
    {"Brazil", "pt_BR"},
    {"Canada", "en_CA"},
    {"France", "fr_FR"},
    {"Germany", "de_DE"},
    {"Hong Kong", "zh_HK"},
    {"Ireland", "en_IE"},
    {"Italy", "it_IT"},
    {"Japan", "ja_JP"},
    {"Mexico", "es_MX"},
    {"Netherlands", "nl_NL"},
    {"New Zealand", "en_NZ"},
    {"Poland", "pl_PL"},
    {"Russia", "ru_RU"},
    {"Spain", "es_ES"},
    {"Taiwan", "zh_TW"},
    {"United Kingdom", "en_GB"},
    {"United States", "en_US"},
}};

void FillVideoSelectors(ui::MainWindow& form) {
    // clear() also empties the text, which the start-up values must survive.
    const std::string kind = form.videoKindBox->text();
    const std::string country = form.videoCountryBox->text();
    form.videoKindBox->clear();
    for (const auto& k : kListingKinds) form.videoKindBox->addItem(k.name);
    form.videoCountryBox->clear();
    for (const auto& r : kRegions) form.videoCountryBox->addItem(r.country);
    form.videoCountryBox->addItem(kSearchModeEntry);
    form.videoKindBox->setText(kind);
    form.videoCountryBox->setText(country);
}

std::optional<std::string_view> ListingPath(std::string_view kind) {
    for (const auto& k : kListingKinds)
        if (kind == k.name) return k.pathAndQuery;
    return std::nullopt;
}

std::optional<std::string_view> RegionCode(std::string_view country) {
    for (const auto& r : kRegions)
        if (country == r.country) return r.code;
    return std::nullopt;
}

std::string ListingBase(const std::string& host, std::string_view kind, const std::string& regionCode) {
    const auto path = ListingPath(kind);
    if (!path) return {};
    std::string base = "http://" + host;
    base += *path;
    base += regionCode;
    base += "&p=";
    return base;
}

std::string SearchBase(const std::string& regionalHost, std::string_view searchText) {
    return "http://" + regionalHost +
           "/results?search_type=search_videos&search_query=" + EncodeSearchText(searchText) +
           "&search_sort=relevance&search_category=0&search=Search&v=&uploaded=&filter=1&page=";
}

std::string EncodeSearchText(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        const bool escape = c <= 0x20 || c >= 0x7F || c == '&' || c == '#' || c == '%' || c == '+' || c == '=';
        if (!escape) {
            out += ch;
            continue;
        }
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 0x0F];
    }
    return out;
}

}  // namespace cd::videosite
