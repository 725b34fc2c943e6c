// crash_writer KIND FOLDER: replaces one kind of file in FOLDER again and
// again through the program's own code, alternating between its contents B
// and A (the test seeds A), until it is killed. It writes "R" to its
// standard output once its first write (B) is done, so the test's random
// kill lands among the writes rather than in start-up, and a writer that
// wrote nothing would show.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "crash_contents.h"
#include "favourites/favourites.h"
#include "fetch/report.h"
#include "registry/cls_registry_access.h"
#include "registry/registry_store.h"
#include "support/fakes.h"
#include "support/scripted_fetcher.h"
#include "ui/main_window.h"
#include "videosite/video_page.h"

namespace {

using namespace cd;

void ready() {
    const char r = 'R';
    if (::write(STDOUT_FILENO, &r, 1) != 1) std::_Exit(4);
}

int fail(const std::string& what) {
    std::fprintf(stderr, "crash_writer: %s\n", what.c_str());
    return 3;
}

int writeFavourites(const std::filesystem::path& folder) {
    // One window per content, filled once, so each round is the encryptAndSaveButton alone.
    ui::MainWindow forms[2];
    test::FakeDialogs dialogs;
    test::ScriptedFetcher fetcher;
    fetch::Reporter reporter(fetcher, "127.0.0.1:1");
    std::vector<favourites::Favourites> favs;
    for (int v : {0, 1}) {
        crash::fillFavourites(*forms[v].favouritesList, v);
        favs.emplace_back(forms[v], folder, favourites::PlayChannel{}, reporter, dialogs, "crash_writer",
                          favourites::ShowVideoPage{});
    }
    for (int variant = 1, n = 0;; variant ^= 1, ++n) {
        if (!favs[variant].SaveFavorites()) return fail("favourites not saved: " + dialogs.shown.back().text);
        if (n == 0) ready();
    }
}

int writeKeptFavourites(const std::filesystem::path& folder) {
    // The test seeds A; adding the video favourite gives B, removing it A
    // again. What a kill leaves must still hold every kept line whole.
    ui::MainWindow form;
    test::FakeDialogs dialogs;
    test::ScriptedFetcher fetcher;
    fetch::Reporter reporter(fetcher, "127.0.0.1:1");
    favourites::Favourites favs(form, folder, favourites::PlayChannel{}, reporter, dialogs, "crash_writer",
                                favourites::ShowVideoPage{});
    favs.LoadFavorites();
    if (form.favouritesList->empty()) return fail("no favourites loaded from the seeded file");
    // The writer killed before this one may have left B.
    const int last = form.favouritesList->count() - 1;
    if (form.favouritesList->item(last).text == crash::kKeptAddedTitle) {
        form.favouritesList->select(last);
        favs.removeSelectedFavourite();
    }
    for (int n = 0;; ++n) {
        favs.addVideoFavourite(crash::kKeptAddedTitle, crash::kKeptAddedId);
        if (!dialogs.shown.empty()) return fail("favourites not saved: " + dialogs.shown.back().text);
        if (n == 0) ready();
        form.favouritesList->select(form.favouritesList->count() - 1);
        favs.removeSelectedFavourite();
        if (!dialogs.shown.empty()) return fail("favourites not saved: " + dialogs.shown.back().text);
    }
}

int writeCatalogueExport(const std::filesystem::path& folder) {
    ui::MainWindow forms[2];
    test::FakeDialogs dialogs;
    std::vector<catalogue::CatalogueFile> files;
    for (int v : {0, 1}) {
        crash::fillCatalogue(*forms[v].channelList, v);
        files.emplace_back(forms[v], dialogs, folder, "crash_writer");
    }
    for (int variant = 1, n = 0;; variant ^= 1, ++n) {
        const auto outcome = files[variant].EncryptAndSave();
        if (!outcome.written) return fail("export not saved: " + outcome.error);
        if (n == 0) ready();
    }
}

int writeVideoPage(const std::filesystem::path& folder) {
    test::FakeBrowser browser;
    test::FakeDialogs dialogs;
    videosite::VideoPage page(folder, browser, crash::kPlayerHost, dialogs, "crash_writer");
    const std::string titles[] = {crash::videoTitle(0), crash::videoTitle(1)};
    for (int variant = 1, n = 0;; variant ^= 1, ++n) {
        if (!page.showVideoPage(titles[variant], crash::videoId(variant)))
            return fail("video page not written: " + dialogs.shown.back().text);
        if (n == 0) ready();
    }
}

int importRegistry(const std::filesystem::path& folder) {
    registry::RegistryStore store(crash::targetOf(crash::Kind::RegistryImport, folder));
    registry::ClsRegistryAccess access(store);
    const std::string files[] = {crash::regFile(folder, 0).string(), crash::regFile(folder, 1).string()};
    for (int variant = 1, n = 0;; variant ^= 1, ++n) {
        if (access.ImportFromReg(files[variant]) != 1) return fail("import failed: " + access.lastError());
        if (n == 0) ready();
    }
}

}  // namespace

int main(int argc, char** argv) {
    crash::Kind kind;
    if (argc != 3 || !crash::kindFromName(argv[1], kind)) {
        std::fprintf(stderr, "usage: crash_writer favourites|favourites_kept|catalogue|videopage|registry FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[2];
    switch (kind) {
        case crash::Kind::Favourites:
            return writeFavourites(folder);
        case crash::Kind::FavouritesKept:
            return writeKeptFavourites(folder);
        case crash::Kind::CatalogueExport:
            return writeCatalogueExport(folder);
        case crash::Kind::VideoPage:
            return writeVideoPage(folder);
        case crash::Kind::RegistryImport:
            return importRegistry(folder);
    }
    return 2;
}
