#include "formats/favourite_record.h"

#include "formats/line_cipher.h"

namespace cd::formats {

namespace {
// The cipher adds 64 and wraps by 255: the first comes out as CR, the
// second as a byte that decodes to 0.
constexpr char kEncodesToCr = static_cast<char>(0xCC);
constexpr char kDecodesToNul = static_cast<char>(0xFF);
}  // namespace

std::string SafeFavouriteField(std::string_view field) {
    std::string out(field);
    for (char& c : out) {
        if (c == '|')
            c = '/';
        else if (c == kEncodesToCr)
            c = 'I';
        else if (c == kDecodesToNul)
            c = 'y';
    }
    return out;
}

std::string FavouriteRecord(const Favourite& favourite) {
    std::string r;
    r.reserve(favourite.name.size() + favourite.address.size() + favourite.category.size() + favourite.type.size() + 3);
    r += favourite.name;
    r += '|';
    r += favourite.address;
    r += '|';
    r += favourite.category;
    r += '|';
    r += favourite.type;
    return r;
}

std::optional<Favourite> ParseFavouriteRecord(std::string_view plain, std::string* moreFields) {
    if (plain.find('|') == std::string_view::npos) return std::nullopt;
    std::string_view fields[4];
    std::size_t pos = 0;
    std::size_t end = std::string_view::npos;  // where the fourth field ends, when more follow
    for (int i = 0; i < 4; ++i) {
        const std::size_t bar = plain.find('|', pos);
        fields[i] = plain.substr(pos, bar == std::string_view::npos ? std::string_view::npos : bar - pos);
        if (bar == std::string_view::npos) break;
        pos = bar + 1;
        if (i == 3) end = bar;
    }
    if (moreFields) moreFields->assign(end == std::string_view::npos ? std::string_view() : plain.substr(end));
    return Favourite{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]), std::string(fields[3])};
}

std::string FavouritesFileBytes(const std::vector<Favourite>& favourites) {
    std::string out;
    for (const Favourite& favourite : favourites) {
        out += EncodeLine(FavouriteRecord(favourite));
        out += "\r\n";
    }
    return out;
}

}  // namespace cd::formats
