#include "favourites/favourites.h"

#include "favourites/favourite_filter.h"
#include "favourites/favourite_row.h"
#include "formats/favourite_record.h"
#include "util/files.h"
#include "util/text.h"

namespace cd::favourites {

namespace {
constexpr const char* kVideoMarker = "youtube=";
}  // namespace

Favourites::Favourites(ui::MainWindow& form, std::filesystem::path programFolder, PlayChannel playChannel,
                       fetch::Reporter& reporter, platform::Dialogs& dialogs, std::string appTitle,
                       ShowVideoPage showVideoPage)
    : form_(form),
      file_(std::move(programFolder) / formats::kFavouritesFileName),
      playChannel_(std::move(playChannel)),
      reporter_(reporter),
      dialogs_(dialogs),
      appTitle_(std::move(appTitle)),
      showVideoPage_(std::move(showVideoPage)) {
    form_.removeFavouriteButton->clicked.connect([this] { removeSelectedFavourite(); });
    form_.favouritesList->itemClicked.connect([this](int) { playSelectedFavourite(); });
    form_.favouriteSearch->changed.connect([this] { search(); });
    form_.favouriteSearch->keyPressed.connect([this](int key) {
        constexpr int kEscape = 27;
        if (key != kEscape || form_.favouriteSearch->text().empty()) return;
        form_.favouriteSearch->setText("");
        search();
    });
    for (std::size_t i = 0; i < form_.channelActionItems.size(); ++i)
        form_.channelActionItems[i]->clicked.connect([this, i] { chooseChannelAction(static_cast<int>(i)); });
}

void Favourites::search() { form_.favouritesList->setRowFilter(FavouriteNameFilter(form_.favouriteSearch->text())); }

void Favourites::LoadFavorites() {
    const auto bytes = util::readFile(file_);
    if (!bytes) return;
    ui::ListView& list = *form_.favouritesList;
    list.beginUpdate();
    layout_.load(*bytes, [&](ui::ListItem item) { list.addItem(std::move(item)); });
    list.endUpdate();
}

bool Favourites::SaveFavorites() {
    std::string error;
    if (util::writeFileAtomic(file_, layout_.fileBytes(*form_.favouritesList), &error)) return true;
    // The old file is still whole; say so rather than lose the change quietly.
    dialogs_.messageBox("Your favourites could not be saved to the file " + file_.string() + " (" + error +
                            ").\r\n\r\nThe file keeps its previous contents; the change is only in the list "
                            "until the favourites can be saved.",
                        appTitle_, platform::Buttons::OK);
    return false;
}

void Favourites::addFavourite(const std::string& name, const std::string& address, const std::string& category,
                              const std::string& type) {
    form_.favouritesList->addItem(
        FavouriteRow({formats::SafeFavouriteField(name), formats::SafeFavouriteField(address),
                      formats::SafeFavouriteField(category), formats::SafeFavouriteField(type)}));
}

void Favourites::applyChannelAction(const std::string& word) {
    const bool add = word == "Favorites";
    const bool rate = word.size() == 5 && util::startsWith(word, "Rate") && word[4] >= '1' && word[4] <= '5';
    if (!add && !rate) return;
    const auto selected = form_.channelList->selectedItem();
    if (!selected) return;
    const ui::ListItem& channel = *selected;
    if (rate) {
        reporter_.SubmitReport(channel.text, "Rate", std::string(1, word[4]));
        return;
    }
    addFavourite(channel.text, channel.tag, channel.subItem(1), channel.subItem(2));
    reporter_.SubmitReport(channel.text, "FAVORITE", "");
    SaveFavorites();
}

void Favourites::chooseChannelAction(int index) {
    if (index == 0) {
        applyChannelAction("Favorites");
    } else if (index >= 2 && index <= 6) {
        applyChannelAction("Rate" + util::decimal(7 - index));
    }
}

void Favourites::removeSelectedFavourite() {
    const int selected = form_.favouritesList->selectedIndex();
    if (selected >= 0) form_.favouritesList->removeItem(selected);
    SaveFavorites();
}

std::string VideoIdOfAddress(const std::string& address) {
    const std::size_t eq = address.find('=');
    if (eq == std::string::npos) return {};
    const std::size_t next = address.find('=', eq + 1);
    return address.substr(eq + 1, next == std::string::npos ? std::string::npos : next - eq - 1);
}

void Favourites::playSelectedFavourite() {
    const auto selected = form_.favouritesList->selectedItem();
    if (!selected) return;
    form_.offlinePicture->setVisible(false);
    if (form_.dontLoadWhileEditingCheck->checked()) return;
    const std::string name = selected->text;
    const std::string address = selected->tag;
    if (util::icontains(address, kVideoMarker)) {
        form_.player->setVisible(false);
        form_.videoPage->setVisible(true);
        if (showVideoPage_) showVideoPage_(name, VideoIdOfAddress(address));
        return;
    }
    form_.player->setVisible(true);
    form_.videoPage->setVisible(false);
    if (playChannel_) playChannel_(name, address, "\"");
}

void Favourites::addVideoFavourite(const std::string& title, const std::string& id) {
    addFavourite(title, kVideoMarker + id, "", "");
    SaveFavorites();
}

}  // namespace cd::favourites
