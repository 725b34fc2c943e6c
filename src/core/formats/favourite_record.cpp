#include "favourites/favourite_record.h"

#include "catalogue/line_cipher.h"

namespace cd::favourites {

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

std::string FavouriteRecord(const ui::ListItem& item) {
    std::string r;
    r.reserve(item.text.size() + item.tag.size() + item.subItem(1).size() + item.subItem(2).size() + 3);
    r += item.text;
    r += '|';
    r += item.tag;
    r += '|';
    r += item.subItem(1);
    r += '|';
    r += item.subItem(2);
    return r;
}

std::optional<ui::ListItem> ParseFavouriteRecord(std::string_view plain, std::string* moreFields) {
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
    ui::ListItem item;
    item.text = std::string(fields[0]);
    item.tag = std::string(fields[1]);
    item.setSubItem(1, std::string(fields[2]));
    item.setSubItem(2, std::string(fields[3]));
    return item;
}

std::string FavouritesFileBytes(const ui::ListView& list) {
    std::string out;
    for (int i = 0; i < list.allCount(); ++i) {
        out += catalogue::EncodeLine(FavouriteRecord(list.allItem(i)));
        out += "\r\n";
    }
    return out;
}

}  // namespace cd::favourites
