// Bad files for Favorites.txt: a folder in its place, a program folder under
// a regular file, a encryptAndSaveButton that cannot grow the file, overlong lines and NUL
// bytes. Each must end in a clear result, with no crash and nothing lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalogue/line_cipher.h"
#include "favourites/favourites.h"
#include "fetch/report.h"
#include "support/fakes.h"
#include "support/file_size_limit.h"
#include "support/scripted_fetcher.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace cd::favourites {
namespace {

namespace fs = std::filesystem;

class FavouritesBadFile : public ::testing::Test {
protected:
    // Loading and saving send no reports; the reporter points nowhere.
    Favourites make(ui::MainWindow& form, const fs::path& folder) {
        return Favourites(form, folder, {}, reporter, dialogs, "ChannelDeck", {});
    }
    static void addRow(ui::MainWindow& form, const std::string& name, const std::string& address) {
        ui::ListItem item;
        item.text = name;
        item.tag = address;
        item.setSubItem(1, "TV");
        item.setSubItem(2, "English");
        form.favouritesList->addItem(std::move(item));
    }

    test::TempDir dir;
    test::FakeDialogs dialogs;
    test::ScriptedFetcher fetcher;
    fetch::Reporter reporter{fetcher, "127.0.0.1:1"};
};

// Catches a folder named Favorites.txt crashing the load, or a later encryptAndSaveButton
// replacing the folder or dropping the favourites the user just added.
TEST_F(FavouritesBadFile, FolderInPlaceOfTheFileLoadsNothingAndSaveSaysSo) {
    fs::create_directory(dir / "Favorites.txt");
    dir.write("Favorites.txt/inside", "keep");
    ui::MainWindow form;
    auto favs = make(form, dir.path());
    favs.LoadFavorites();
    EXPECT_EQ(form.favouritesList->count(), 0);
    EXPECT_TRUE(dialogs.shown.empty());

    addRow(form, "News", "http://news");
    EXPECT_FALSE(favs.SaveFavorites());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("could not be saved"), std::string::npos) << dialogs.shown[0].text;
    EXPECT_EQ(form.favouritesList->count(), 1) << "the favourite stays in the list";
    EXPECT_EQ(dir.read("Favorites.txt/inside"), "keep");
}

// Catches a program folder whose parent is a regular file crashing the
// load or the encryptAndSaveButton, or a encryptAndSaveButton reported as done.
TEST_F(FavouritesBadFile, ProgramFolderUnderARegularFileLoadsNothingAndSaveSaysSo) {
    dir.write("plainfile", "not a folder");
    ui::MainWindow form;
    auto favs = make(form, dir / "plainfile" / "ChannelDeck");
    favs.LoadFavorites();
    EXPECT_EQ(form.favouritesList->count(), 0);
    addRow(form, "News", "http://news");
    EXPECT_FALSE(favs.SaveFavorites());
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dir.read("plainfile"), "not a folder");
}

// Catches a encryptAndSaveButton that fails part way (a full disk) leaving a cut-off file,
// losing the old favourites, leaving its temporary file, or reporting success.
TEST_F(FavouritesBadFile, SaveThatCannotGrowTheFileKeepsTheWholeOldOne) {
    ui::MainWindow form;
    auto favs = make(form, dir.path());
    for (int i = 0; i < 300; ++i) addRow(form, "Old favourite " + std::to_string(i), "http://old/" + std::to_string(i));
    ASSERT_TRUE(favs.SaveFavorites());
    const std::string old = dir.read("Favorites.txt");
    ASSERT_GT(old.size(), 4096u);

    addRow(form, "One more", "http://more");
    const int status = test::runWithFileSizeLimit(4096, [&] {
        if (favs.SaveFavorites()) return 1;
        return dialogs.shown.size() == 1 ? 0 : 2;
    });
    EXPECT_EQ(status, 0) << "1: reported as saved, 2: not told";
    EXPECT_EQ(dir.read("Favorites.txt"), old);
    for (const auto& e : fs::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename(), "Favorites.txt") << "left behind: " << e.path();
}

// Catches a line past the catalogue cipher's limit being cut, dropped or
// crashing the reader: a favourite is the user's own, so it loads whole and
// saves back byte for byte.
TEST_F(FavouritesBadFile, OverlongLineLoadsWholeAndSavesBackUnchanged) {
    const std::string longName(40'000, 'n');
    const std::string atLimit(catalogue::kCipherLineLimit - 12, 'l');
    const std::string bytes = catalogue::EncodeLine("A|http://a|TV|English") + "\r\n" +
                              catalogue::EncodeLine(longName + "|http://long|TV|English") + "\r\n" +
                              catalogue::EncodeLine(atLimit + "|u|TV|French") + "\r\n" +
                              catalogue::EncodeLine("B|http://b|Radio|German") + "\r\n";
    dir.write("Favorites.txt", bytes);
    ui::MainWindow form;
    auto favs = make(form, dir.path());
    favs.LoadFavorites();
    ASSERT_EQ(form.favouritesList->count(), 4);
    EXPECT_EQ(form.favouritesList->item(1).text, longName);
    EXPECT_EQ(form.favouritesList->item(1).tag, "http://long");
    EXPECT_EQ(form.favouritesList->item(2).text, atLimit);
    EXPECT_EQ(form.favouritesList->item(3).text, "B");

    ASSERT_TRUE(favs.SaveFavorites());
    EXPECT_EQ(dir.read("Favorites.txt"), bytes);
}

// Catches NUL bytes ending a field or a line: a decoded NUL (an encoded "@")
// stays a NUL, a raw NUL in the file reads as byte 191, and both survive a
// encryptAndSaveButton and a second load.
TEST_F(FavouritesBadFile, NulBytesStayInsideTheirFieldsAcrossSaveAndLoad) {
    const std::string name("Nul\0Name", 8);
    const std::string bytes = catalogue::EncodeLine(name + "|http://a|TV|English") + "\r\n" +
                              catalogue::EncodeLine("Raw") + std::string(1, '\0') +
                              catalogue::EncodeLine("|http://raw|TV|English") + "\r\n";
    dir.write("Favorites.txt", bytes);
    ui::MainWindow form;
    auto favs = make(form, dir.path());
    favs.LoadFavorites();
    ASSERT_EQ(form.favouritesList->count(), 2);
    EXPECT_EQ(form.favouritesList->item(0).text, name);
    EXPECT_EQ(form.favouritesList->item(1).text, std::string("Raw\xBF", 4));
    EXPECT_EQ(form.favouritesList->item(1).tag, "http://raw");

    ASSERT_TRUE(favs.SaveFavorites());
    ui::MainWindow again;
    auto reloaded = make(again, dir.path());
    reloaded.LoadFavorites();
    ASSERT_EQ(again.favouritesList->count(), 2);
    EXPECT_EQ(again.favouritesList->item(0).text, name);
    EXPECT_EQ(again.favouritesList->item(1).text, std::string("Raw\xBF", 4));
    EXPECT_EQ(again.favouritesList->item(1).tag, "http://raw");
}

}  // namespace
}  // namespace cd::favourites
