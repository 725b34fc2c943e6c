// Bad files for the catalogue: a folder where Data.txt, Data.htm or the
// import file should be, a program folder under a regular file, a write
// that cannot grow the file, overlong lines, NUL bytes and a 200 MB
// catalogue. Each must end in a clear result, with no crash and nothing lost.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/category_view.h"
#include "catalogue/line_cipher.h"
#include "localization/message_table.h"
#include "platform/memory_settings_store.h"
#include "support/fakes.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace cd::catalogue {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

constexpr const char* kTitle = "ChannelDeck";

std::string encodedLines(const Strings& plain) {
    std::string out;
    for (const auto& l : plain) out += EncodeLine(l) + "\r\n";
    return out;
}

ui::ListItem editorRow(const std::string& name, const std::string& address) {
    ui::ListItem row;
    row.text = name;
    row.tag = address;
    row.subItems = {"TV", "English", address};
    return row;
}

class CatalogueBadFile : public ::testing::Test {
protected:
    CatalogueBadFile() : messages(platform::VersionInfo{"ChannelDeck", "Quenmark Software", "", 1, 0, 0}) {
        localization::addDefaultMessages(messages);
    }

    // The category view and the editor's file operations on folder.
    struct Window {
        Window(CatalogueBadFile& t, const fs::path& folder)
            : view(form, state, t.settings, t.dialogs, t.messages, folder, kTitle),
              file(form, t.dialogs, folder, kTitle) {}
        ui::MainWindow form;
        NavigationState state;
        CategoryView view;
        CatalogueFile file;

        void show(const std::string& category, const std::string& language = "All") {
            state.currentCategory = category;
            state.currentLanguage = language;
            state.languageRefresh = true;
            view.LoadCategory();
        }
        Strings names() const {
            Strings out;
            for (int i = 0; i < form.channelList->count(); ++i) out.push_back(form.channelList->item(i).text);
            return out;
        }
    };

    std::string notFound() const { return messages.getMessages("MSG_NOTFOUND"); }

    test::TempDir dir;
    platform::MemorySettingsStore settings;
    test::FakeDialogs dialogs;
    localization::MessageTable messages;
};

// Catches a folder named Data.txt being read as an empty catalogue (a list
// that silently shows nothing) or crashing the reader.
TEST_F(CatalogueBadFile, FolderInPlaceOfTheCatalogueIsReportedByEveryReader) {
    fs::create_directory(dir / "Data.txt");
    Window w(*this, dir.path());
    w.show("TV");
    EXPECT_EQ(w.form.channelList->count(), 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, notFound());
    EXPECT_TRUE(w.state.languageRefresh) << "the language box is rebuilt on the next try";

    const auto loaded = w.file.DecryptAndLoad();
    EXPECT_FALSE(loaded.fileRead);
    EXPECT_EQ(w.form.channelList->count(), 0);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_NE(dialogs.shown[1].text.find("could not be read"), std::string::npos) << dialogs.shown[1].text;
    EXPECT_TRUE(fs::is_directory(dir / "Data.txt"));
}

// Catches a program folder that cannot exist (its parent is a regular file)
// giving a crash, a success, or a file created somewhere else.
TEST_F(CatalogueBadFile, ProgramFolderUnderARegularFileFailsEveryOperationClearly) {
    dir.write("plainfile", "not a folder");
    const fs::path folder = dir / "plainfile" / "ChannelDeck";
    Window w(*this, folder);
    w.show("TV");
    EXPECT_EQ(w.form.channelList->count(), 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, notFound());

    EXPECT_FALSE(w.file.DecryptAndLoad().fileRead);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_NE(dialogs.shown[1].text.find("No channels were loaded"), std::string::npos);

    w.form.channelList->addItem(editorRow("Kept", "http://kept"));
    w.form.exportText->setText("earlier export");
    const auto saved = w.file.EncryptAndSave();
    EXPECT_FALSE(saved.written);
    EXPECT_FALSE(saved.error.empty());
    EXPECT_EQ(w.form.exportText->text(), "earlier export");
    EXPECT_EQ(w.form.channelList->count(), 1) << "the rows stay for another try";
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_NE(dialogs.shown[2].text.find("could not be saved"), std::string::npos) << dialogs.shown[2].text;

    w.form.importFileText->setText("import.txt");
    EXPECT_FALSE(w.file.Load2().fileRead);
    ASSERT_EQ(dialogs.shown.size(), 4u);
    EXPECT_NE(dialogs.shown[3].text.find("No channels were imported"), std::string::npos);
    EXPECT_EQ(dir.read("plainfile"), "not a folder");
}

// Catches an export written into, over or beside a folder named Data.htm.
TEST_F(CatalogueBadFile, FolderInPlaceOfTheExportIsLeftAsItWas) {
    fs::create_directory(dir / "Data.htm");
    dir.write("Data.htm/inside.txt", "keep me");
    Window w(*this, dir.path());
    w.form.channelList->addItem(editorRow("A", "http://a"));
    const auto saved = w.file.EncryptAndSave();
    EXPECT_FALSE(saved.written);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("could not be saved"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(dir / "Data.htm"));
    EXPECT_EQ(dir.read("Data.htm/inside.txt"), "keep me");
}

// Catches an export that fails part way (a full disk) leaving a cut-off
// Data.htm, losing the old one, or reporting success.
TEST_F(CatalogueBadFile, ExportThatCannotGrowKeepsTheWholeOldOne) {
    Window w(*this, dir.path());
    for (int i = 0; i < 400; ++i) w.form.channelList->addItem(editorRow("Old " + std::to_string(i), "http://old"));
    ASSERT_TRUE(w.file.EncryptAndSave().written);
    const std::string old = dir.read("Data.htm");
    ASSERT_GT(old.size(), 8192u);

    w.form.channelList->clear();
    for (int i = 0; i < 400; ++i) w.form.channelList->addItem(editorRow("New " + std::to_string(i), "http://new"));
    dialogs.shown.clear();
    const int status = test::runWithFileSizeLimit(8192, [&] {
        const auto saved = w.file.EncryptAndSave();
        if (saved.written) return 1;
        if (dialogs.shown.size() != 1 || dialogs.shown[0].text.find("could not be saved") == std::string::npos)
            return 2;
        return 0;
    });
    EXPECT_EQ(status, 0) << "1: reported as written, 2: not told";
    EXPECT_EQ(dir.read("Data.htm"), old);
    for (const auto& e : fs::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename(), "Data.htm") << "left behind: " << e.path();
}

// Catches a line past the cipher's limit crashing a reader, being cut, or
// being dropped without a word: the view stops at it and says so, the
// editor loads it whole and names it when it cannot be exported.
TEST_F(CatalogueBadFile, OverlongLineIsTheViewsErrorAndTheEditorKeepsItWhole) {
    const std::string longName(40'000, 'n');
    dir.write("Data.txt",
              encodedLines({"A|http://a|TV|English", longName + "|http://long|TV|English", "B|http://b|TV|English"}));
    Window w(*this, dir.path());
    w.show("TV");
    EXPECT_EQ(w.names(), (Strings{"A"}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, notFound());

    Window editor(*this, dir.path());
    const auto loaded = editor.file.DecryptAndLoad();
    EXPECT_EQ(loaded.rowsAdded, 3);
    ASSERT_EQ(editor.form.channelList->count(), 3);
    EXPECT_EQ(editor.form.channelList->item(1).text, longName);
    EXPECT_EQ(editor.form.channelList->item(1).tag, "http://long");

    const auto saved = editor.file.EncryptAndSave();
    EXPECT_TRUE(saved.written);
    EXPECT_EQ(saved.rowsWritten, 2);
    EXPECT_EQ(saved.rowsLeftOut, 1);
    EXPECT_EQ(dialogs.shown.size(), 2u) << "the row left out is named";
    EXPECT_EQ(editor.form.channelList->count(), 3) << "the row stays in the list";
}

// Catches NUL bytes ending a field or a line early: a decoded NUL (from an
// encoded "@") and a raw NUL in the file (read as byte 191) are bytes like any.
TEST_F(CatalogueBadFile, NulBytesStayInsideTheirFields) {
    const std::string name = std::string("Nul\0Name", 8);
    const std::string raw = EncodeLine("Raw") + std::string(1, '\0') + EncodeLine("|http://raw|TV|English") + "\r\n";
    dir.write("Data.txt",
              EncodeLine(name + "|" + std::string("http://a\0b", 10) + "|TV|" + std::string("Eng\0lish", 8)) + "\r\n" +
                  raw + encodedLines({"Z|z|TV|English"}));
    Window w(*this, dir.path());
    w.show("TV");
    EXPECT_TRUE(dialogs.shown.empty());
    ASSERT_EQ(w.form.channelList->count(), 3);
    EXPECT_EQ(w.form.channelList->item(0).text, name);
    EXPECT_EQ(w.form.channelList->item(0).tag, std::string("http://a\0b", 10));
    EXPECT_EQ(w.form.channelList->item(0).subItem(2), std::string("Eng\0lish", 8));
    EXPECT_EQ(w.form.channelList->item(1).text, std::string("Raw\xBF", 4));
    EXPECT_EQ(w.form.channelList->item(1).tag, "http://raw");
    EXPECT_EQ(w.form.channelList->item(2).text, "Z");

    // The editor keeps them too, and the export writes them back.
    Window editor(*this, dir.path());
    EXPECT_EQ(editor.file.DecryptAndLoad().rowsAdded, 3);
    ASSERT_TRUE(editor.file.EncryptAndSave().written);
    EXPECT_NE(dir.read("Data.htm").find(EncodeLine(name)), std::string::npos);
}

// Catches the import treating a folder as an empty file, or cutting long or
// NUL-holding lines.
TEST_F(CatalogueBadFile, ImportFileThatIsAFolderOrHoldsLongAndNulLinesIsClear) {
    fs::create_directory(dir / "import.txt");
    Window w(*this, dir.path());
    w.form.importFileText->setText("import.txt");
    EXPECT_FALSE(w.file.Load2().fileRead);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("could not be read"), std::string::npos) << dialogs.shown[0].text;
    EXPECT_EQ(w.form.channelList->count(), 0);

    const std::string longValue(40'000, 'v');
    const std::string nulName = std::string("Nul\0Name", 8);
    dir.write("other.txt", "[Sec]\r\nskip\r\n" + nulName + "\r\n" + longValue + "\r\n");
    w.form.importFileText->setText("other.txt");
    const auto imported = w.file.Load2();
    EXPECT_TRUE(imported.fileRead);
    ASSERT_EQ(w.form.channelList->count(), 1);
    EXPECT_EQ(w.form.channelList->item(0).text, nulName);
    EXPECT_EQ(w.form.channelList->item(0).subItem(1), longValue);
}

long peakRssKb() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Starts a fresh peak: the peak so far becomes the memory in use now, so
// the next peak is this test's own and not an earlier test's.
void resetPeakRss() { std::ofstream("/proc/self/clear_refs") << "5"; }

// Catches a reader whose memory grows without bound with the catalogue
// (copies per line, per field or per language) or that crashes on a huge
// file: a 200 MB catalogue, a typical filtered view of it.
TEST_F(CatalogueBadFile, HugeCatalogueLoadsWithMemoryBoundedByTheFileSize) {
    static const char* const kCategories[] = {"TV", "Radio", "Video", "XXX"};
    static const char* const kLanguages[] = {"English", "French",     "German",  "Spanish", "Dutch",
                                             "Italian", "Portuguese", "Swedish", "Polish",  "Czech"};
    constexpr std::size_t kTarget = 200u * 1024 * 1024;
    const fs::path file = dir / "Data.txt";
    std::size_t written = 0;
    long records = 0;
    long expected = 0;
    {
        std::ofstream out(file, std::ios::binary);
        std::string chunk;
        char line[160];
        while (written < kTarget) {
            chunk.clear();
            for (int i = 0; i < 10'000; ++i, ++records) {
                const char* category = kCategories[records % 4];
                const char* language = kLanguages[(records / 4) % 10];
                std::snprintf(line, sizeof line,
                              "Channel %09ld|http://streams.example.net/live/%09ld/playlist.m3u8|%s|%s", records,
                              records, category, language);
                chunk += EncodeLine(line);
                chunk += "\r\n";
                if (records % 4 == 0 && (records / 4) % 10 == 0) ++expected;
            }
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            written += chunk.size();
        }
        ASSERT_TRUE(out.good());
    }

    Window w(*this, dir.path());
    resetPeakRss();
    const long before = peakRssKb();
    const auto start = std::chrono::steady_clock::now();
    w.show("TV", "English");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long growthKb = peakRssKb() - before;
    fs::remove(file);

    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(w.form.channelList->count(), expected);
    EXPECT_EQ(w.form.channelList->item(0).text, "Channel 000000000");
    EXPECT_EQ(w.form.languageBox->entries().size(), 12u) << "All, the empty entry and ten languages";
    const double fileMb = static_cast<double>(written) / (1024 * 1024);
    const double growthMb = static_cast<double>(growthKb) / 1024;
    std::printf(
        "[ figures  ] %.0f MB catalogue (%ld records, %ld listed): LoadCategory %.1f s, peak memory +%.0f MB "
        "(%.2fx the file)\n",
        fileMb, records, expected, seconds, growthMb, growthMb / fileMb);
    EXPECT_LT(growthMb, 3 * fileMb);
}

}  // namespace
}  // namespace cd::catalogue
