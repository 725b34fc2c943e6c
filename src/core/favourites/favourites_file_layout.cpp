#include "favourites/favourites_file_layout.h"

#include "catalogue/line_cipher.h"
#include "favourites/favourite_row.h"
#include "formats/favourite_record.h"
#include "util/lines.h"

namespace cd::favourites {

namespace {
// Not a key anything else gives a favourites row: rows the user adds have none.
constexpr std::string_view kKeyPrefix = "Favorites.txt entry ";

void appendLine(std::string& out, std::string_view stored) {
    out += stored;
    out += "\r\n";
}
}  // namespace

void FavouritesFileLayout::load(std::string_view bytes, const std::function<void(ui::ListItem)>& addRow) {
    std::string plain;
    util::forEachLine(bytes, [&](std::string_view line) {
        catalogue::DecodeLineInto(line, plain);
        std::string more;
        auto favourite = formats::ParseFavouriteRecord(plain, &more);
        if (!favourite) {
            (loaded_.empty() ? leading_ : loaded_.back().linesAfter).emplace_back(line);
            return true;
        }
        ui::ListItem row = FavouriteRow(std::move(*favourite));
        row.key = std::string(kKeyPrefix) + std::to_string(nextKey_++);
        byKey_.emplace(row.key, loaded_.size());
        loaded_.push_back({row.key, std::move(more), {}});
        addRow(std::move(row));
        return true;
    });
}

std::string FavouritesFileLayout::fileBytes(const ui::ListView& list) const {
    // Who writes the lines of each loaded favourite: itself while listed,
    // else the nearest listed favourite before it in the file, else the head.
    constexpr std::size_t kHead = static_cast<std::size_t>(-1);
    std::vector<std::size_t> writer(loaded_.size(), kHead);
    std::size_t lastListed = kHead;
    for (std::size_t i = 0; i < loaded_.size(); ++i) {
        if (list.hasKey(loaded_[i].key)) lastListed = i;
        writer[i] = lastListed;
    }
    std::unordered_map<std::size_t, std::vector<std::size_t>> linesOf;  // writer -> loaded, in file order
    std::string out;
    for (const auto& l : leading_) appendLine(out, l);
    for (std::size_t i = 0; i < loaded_.size(); ++i) {
        if (loaded_[i].linesAfter.empty()) continue;
        if (writer[i] == kHead) {
            for (const auto& l : loaded_[i].linesAfter) appendLine(out, l);
        } else {
            linesOf[writer[i]].push_back(i);
        }
    }

    // Every row, the ones a search hides too: hiding is not removing.
    for (int r = 0; r < list.allCount(); ++r) {
        const ui::ListItem item = list.allItem(r);
        const auto found = item.key.empty() ? byKey_.end() : byKey_.find(item.key);
        if (found == byKey_.end()) {
            appendLine(out, catalogue::EncodeLine(formats::FavouriteRecord(FavouriteOfRow(item))));
            continue;
        }
        const Loaded& own = loaded_[found->second];
        appendLine(out, catalogue::EncodeLine(formats::FavouriteRecord(FavouriteOfRow(item)) + own.moreFields));
        const auto lines = linesOf.find(found->second);
        if (lines == linesOf.end()) continue;
        for (std::size_t i : lines->second)
            for (const auto& l : loaded_[i].linesAfter) appendLine(out, l);
    }
    return out;
}

}  // namespace cd::favourites
