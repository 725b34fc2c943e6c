// Favorites.txt: loading any bytes, then saving and loading again. What was
// loaded once must survive every later encryptAndSaveButton and load unchanged, every line
// that is no favourite must be saved verbatim in its place, and a second
// encryptAndSaveButton must write the very same bytes.
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/line_cipher.h"
#include "favourites/favourite_row.h"
#include "favourites/favourites.h"
#include "fetch/report.h"
#include "formats/favourite_record.h"
#include "fuzz_support.h"
#include "support/fakes.h"
#include "support/scripted_fetcher.h"
#include "util/files.h"
#include "util/lines.h"

namespace {

using namespace cd;

// The ports a Favourites needs; loading and saving use none of them, and
// the reporter's fetches are scripted and never answered.
struct Ports {
    test::FakeDialogs dialogs;
    test::ScriptedFetcher fetcher;
    fetch::Reporter reporter{fetcher, "127.0.0.1:1"};
};

favourites::Favourites make(ui::MainWindow& form, Ports& ports) {
    return favourites::Favourites(form, fuzz::ScratchFolder::path(), {}, ports.reporter, ports.dialogs, "ChannelDeck",
                                  {});
}

int recordLines(std::string_view bytes) {
    int n = 0;
    util::forEachLine(bytes, [&](std::string_view line) {
        if (catalogue::DecodeLine(line).find('|') != std::string::npos) ++n;
        return true;
    });
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::asText(data, size);
    fuzz::ScratchFolder::write(formats::kFavouritesFileName, bytes);
    Ports ports;

    ui::MainWindow first;
    auto favs = make(first, ports);
    favs.LoadFavorites();
    CD_FUZZ_CHECK(first.favouritesList->count() == recordLines(bytes));
    for (int i = 0; i < first.favouritesList->count(); ++i) {
        // A decoded line never holds the bytes the cipher cannot carry.
        const std::string record = formats::FavouriteRecord(favourites::FavouriteOfRow(first.favouritesList->item(i)));
        CD_FUZZ_CHECK(catalogue::EncodesIntact(record));
    }

    CD_FUZZ_CHECK(favs.SaveFavorites());
    CD_FUZZ_CHECK(ports.dialogs.shown.empty());
    const auto saved = util::readFile(favs.file());
    CD_FUZZ_CHECK(saved.has_value());
    // Nothing was sorted or removed, so line i of the save stands for line i
    // of the input: the same line when it is no favourite, else the same
    // record, its first four fields filled up, its further fields as they were.
    const auto before = util::readLines(bytes);
    const auto after = util::readLines(*saved);
    CD_FUZZ_CHECK(before.size() == after.size());
    CD_FUZZ_CHECK(saved->empty() ? after.empty() : saved->size() >= 2 && saved->substr(saved->size() - 2) == "\r\n");
    int row = 0;
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
        std::string more;
        const auto item = formats::ParseFavouriteRecord(catalogue::DecodeLine(before[i]), &more);
        if (!item) {
            CD_FUZZ_CHECK(after[i] == before[i]);
            continue;
        }
        CD_FUZZ_CHECK(catalogue::DecodeLine(after[i]) ==
                      formats::FavouriteRecord(favourites::FavouriteOfRow(first.favouritesList->item(row))) + more);
        ++row;
    }

    ui::MainWindow second;
    auto again = make(second, ports);
    again.LoadFavorites();
    CD_FUZZ_CHECK(second.favouritesList->count() == first.favouritesList->count());
    for (int i = 0; i < first.favouritesList->count(); ++i) {
        const auto& a = first.favouritesList->item(i);
        const auto& b = second.favouritesList->item(i);
        CD_FUZZ_CHECK(a.text == b.text);
        CD_FUZZ_CHECK(a.tag == b.tag);
        CD_FUZZ_CHECK(a.subItem(1) == b.subItem(1));
        CD_FUZZ_CHECK(a.subItem(2) == b.subItem(2));
    }
    CD_FUZZ_CHECK(again.SaveFavorites());
    CD_FUZZ_CHECK(util::readFile(again.file()) == saved);
    return 0;
}
