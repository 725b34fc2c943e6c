#include "crash_contents.h"

#include "catalogue/catalogue_export.h"
#include "catalogue/line_cipher.h"
#include "favourites/favourite_row.h"
#include "formats/favourite_record.h"
#include "videosite/video_page.h"

namespace cd::crash {

namespace fs = std::filesystem;

namespace {

constexpr int kFavouriteRows = 2000;
constexpr int kCatalogueRows = 2000;
constexpr int kRegKeys = 4;
constexpr int kRegValuesPerKey = 12;

char letter(int variant) { return variant == 0 ? 'a' : 'b'; }

// Text of a given length that differs between the variants everywhere, so
// any mix of the two would show.
std::string filler(int variant, std::size_t length) { return std::string(length, letter(variant)); }

// A favourites file as a user's hand and a newer version leave it: lines
// that are no favourite (notes, a lone LF byte inside), records with more
// than four fields, between a few hundred kilobytes of favourites. Loading
// and saving it unchanged gives it back byte for byte.
std::string keptFavouritesFile() {
    const auto line = [](const std::string& plain) { return catalogue::EncodeLine(plain) + "\r\n"; };
    std::string out = line("my favourites, kept by hand") + line("");
    for (int i = 0; i < kFavouriteRows; ++i) {
        const std::string n = std::to_string(i);
        std::string record =
            "Kept favourite " + n + " " + std::string(40, 'k') + "|http://kept.example/" + n + "|TV|English";
        if (i % 7 == 0) record += "|rated " + n + "|added by a newer version";
        out += line(record);
        if (i % 5 == 0) out += line("note on " + n);
        if (i % 11 == 0) out += catalogue::EncodeLine("half " + n) + "\n" + line("other half " + n);
    }
    return out + line("the end of the user's file");
}

}  // namespace

std::string_view kindName(Kind kind) {
    switch (kind) {
        case Kind::Favourites:
            return "favourites";
        case Kind::FavouritesKept:
            return "favourites_kept";
        case Kind::CatalogueExport:
            return "catalogue";
        case Kind::VideoPage:
            return "videopage";
        case Kind::RegistryImport:
            return "registry";
    }
    return "";
}

bool kindFromName(std::string_view name, Kind& kind) {
    for (Kind k :
         {Kind::Favourites, Kind::FavouritesKept, Kind::CatalogueExport, Kind::VideoPage, Kind::RegistryImport}) {
        if (kindName(k) == name) {
            kind = k;
            return true;
        }
    }
    return false;
}

fs::path targetOf(Kind kind, const fs::path& folder) {
    switch (kind) {
        case Kind::Favourites:
        case Kind::FavouritesKept:
            return folder / formats::kFavouritesFileName;
        case Kind::CatalogueExport:
            return folder / "Data.htm";
        case Kind::VideoPage:
            return folder / videosite::kVideoPageFileName;
        case Kind::RegistryImport:
            return folder / "registry";
    }
    return {};
}

void fillFavourites(ui::ListView& list, int variant) {
    list.clear();
    list.beginUpdate();
    for (int i = 0; i < kFavouriteRows; ++i) {
        ui::ListItem item;
        item.text = "Favourite " + std::to_string(i) + " " + filler(variant, 40);
        item.tag = "http://" + filler(variant, 8) + ".example/" + std::to_string(i);
        item.setSubItem(1, variant == 0 ? "TV" : "Radio");
        item.setSubItem(2, variant == 0 ? "English" : "French/German");
        list.addItem(std::move(item));
    }
    list.endUpdate();
}

std::vector<formats::Favourite> favouritesOf(const ui::ListView& list) {
    std::vector<formats::Favourite> out;
    for (int i = 0; i < list.allCount(); ++i) out.push_back(favourites::FavouriteOfRow(list.allItem(i)));
    return out;
}

void fillCatalogue(ui::ListView& list, int variant) {
    list.clear();
    list.beginUpdate();
    for (int i = 0; i < kCatalogueRows; ++i) {
        ui::ListItem item;
        item.text = "Channel " + std::to_string(i) + " " + filler(variant, 30);
        item.tag = "http://" + filler(variant, 6) + ".example/live/" + std::to_string(i);
        item.setSubItem(1, variant == 0 ? "TV" : "Video");
        item.setSubItem(2, variant == 0 ? "English/Spanish" : "German");
        item.setSubItem(3, item.tag);
        list.addItem(std::move(item));
    }
    list.endUpdate();
}

std::string videoTitle(int variant) { return "Clip " + filler(variant, 60000); }
std::string videoId(int variant) { return variant == 0 ? "AAAAAAAAAAA" : "BBBBBBBBBBB"; }

std::string expectedBytes(Kind kind, int variant) {
    ui::ListView list("ListView");
    switch (kind) {
        case Kind::Favourites:
            fillFavourites(list, variant);
            return formats::FavouritesFileBytes(favouritesOf(list));
        case Kind::FavouritesKept: {
            ui::ListItem added;
            added.text = kKeptAddedTitle;
            added.tag = std::string("youtube=") + kKeptAddedId;
            const std::string a = keptFavouritesFile();
            return variant == 0
                       ? a
                       : a + catalogue::EncodeLine(formats::FavouriteRecord(favourites::FavouriteOfRow(added))) +
                             "\r\n";
        }
        case Kind::CatalogueExport:
            fillCatalogue(list, variant);
            return catalogue::ExportText(catalogue::BuildRecordLines(list, false));
        case Kind::VideoPage:
            return videosite::PlayerPageLine(videoTitle(variant), videoId(variant), kPlayerHost) + "\r\n";
        case Kind::RegistryImport:
            return regText(variant);
    }
    return {};
}

std::vector<std::string> regKeys() {
    std::vector<std::string> keys;
    for (int k = 0; k < kRegKeys; ++k) keys.push_back("Software\\CrashTest\\Key" + std::to_string(k));
    return keys;
}

std::map<std::string, std::string> regValues(const std::string& key, int variant) {
    std::map<std::string, std::string> values;
    for (int v = 0; v < kRegValuesPerKey; ++v) {
        // A string value is stored with its terminating null.
        std::string text = key.substr(key.size() - 1) + "-" + std::to_string(v) + "-" + filler(variant, 700 + 37 * v);
        values["Value" + std::to_string(v)] = text + '\0';
    }
    return values;
}

std::string regText(int variant) {
    std::string text = "REGEDIT4\r\n\r\n";
    for (const auto& key : regKeys()) {
        text += "[HKEY_CURRENT_USER\\" + key + "]\r\n";
        for (const auto& [name, data] : regValues(key, variant))
            text += "\"" + name + "\"=\"" + data.substr(0, data.size() - 1) + "\"\r\n";
        text += "\r\n";
    }
    return text;
}

fs::path regFile(const fs::path& folder, int variant) { return folder / (variant == 0 ? "a.reg" : "b.reg"); }

}  // namespace cd::crash
