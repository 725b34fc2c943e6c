// Bad files for Localization.txt: a folder in its place, a program folder
// under a regular file, a rewrite that cannot grow the file, overlong lines,
// NUL bytes, invalid UTF-8 and a UTF-16 file. Each must end in a clear
// result, with no crash and no byte of a translation lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "formats/localization_file.h"
#include "localization_fixture.h"
#include "support/file_size_limit.h"

namespace cd::localization {
namespace {

namespace fs = std::filesystem;
using testing::file;
using testing::group;
using testing::LocalizationTest;

using LocalizationBadFile = LocalizationTest;

// Catches a folder named Localization.txt being read, crashing the reader,
// or being replaced by the writer.
TEST_F(LocalizationBadFile, FolderInPlaceOfTheFileIsNoFileAndIsNotReplaced) {
    fs::create_directory(dir / "Localization.txt");
    dir.write("Localization.txt/inside", "keep");
    EXPECT_EQ(languages.LoadLanguage("English"), LoadResult::NoFile);
    EXPECT_FALSE(languages.translationList().has_value());
    const std::string caption = windows.mainWindow.tvButton->caption();
    languages.ChangeLanguage(windows.mainWindow, "Deutsch");
    EXPECT_EQ(windows.mainWindow.tvButton->caption(), caption);

    EXPECT_FALSE(languages.makeLocalizationFile());
    EXPECT_TRUE(fs::is_directory(dir / "Localization.txt"));
    EXPECT_EQ(dir.read("Localization.txt/inside"), "keep");
}

// Catches a program folder whose parent is a regular file crashing the
// reader or the writer, or a write reported as done.
TEST_F(LocalizationBadFile, ProgramFolderUnderARegularFileIsNoFileAndWritesNothing) {
    dir.write("plainfile", "not a folder");
    ClsLanguages elsewhere(testing::testBrand(), dir / "plainfile" / "ChannelDeck", windows);
    EXPECT_EQ(elsewhere.LoadLanguage("English"), LoadResult::NoFile);
    EXPECT_FALSE(elsewhere.makeLocalizationFile());
    EXPECT_EQ(dir.read("plainfile"), "not a folder");
}

// Catches a rewrite that fails part way (a full disk) leaving a cut-off
// file or losing the languages the old one held.
TEST_F(LocalizationBadFile, RewriteThatCannotGrowTheFileKeepsTheWholeOldOne) {
    const std::string old = file(group("Deutsch", {{"FORM1_CMDTV", std::string(8000, 'x')}}));
    writeFile(old);
    windows.loadAll();
    const int status = test::runWithFileSizeLimit(2048, [&] { return languages.makeLocalizationFile() ? 1 : 0; });
    EXPECT_EQ(status, 0) << "reported as written";
    EXPECT_EQ(dir.read("Localization.txt"), old);
    for (const auto& e : fs::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename(), "Localization.txt") << "left behind: " << e.path();
}

// Catches a translation line past 32,767 bytes being cut or crashing the
// lookup: the file has no line limit, so the text comes through whole.
TEST_F(LocalizationBadFile, OverlongTranslationLineComesThroughWhole) {
    const std::string longText = "lang" + std::string(40'000, 'x') + "[ProgramName]";
    writeFile(file(group("Deutsch", {{"FORM1_CMDTV", longText}, {"FORM1_CMDRADIO", "Radio"}})));
    ASSERT_EQ(languages.LoadLanguage("Deutsch"), LoadResult::Loaded);
    const std::string expected = "Lang" + std::string(40'000, 'x') + "ChannelDeck";
    EXPECT_EQ(languages.GetTranslation("FORM1_CMDTV"), expected);
    EXPECT_EQ(languages.GetTranslation("FORM1_CMDRADIO"), "Radio");
    languages.ChangeLanguage(windows.mainWindow, "Deutsch");
    EXPECT_EQ(windows.mainWindow.tvButton->caption(), expected);
}

// Catches NUL bytes ending the file, a group or a translation early.
TEST_F(LocalizationBadFile, NulBytesAreBytesLikeAnyOther) {
    const std::string nulText("Fern\0sehen", 10);
    writeFile(std::string("\0\0", 2) + file(group("Deutsch", {{"FORM1_CMDTV", nulText}, {"FORM1_CMDRADIO", "Radio"}}) +
                                            group(std::string("Nul\0Name", 8), {{"FORM1_CMDTV", "Nul"}})));
    ASSERT_EQ(languages.LoadLanguage("Deutsch"), LoadResult::Loaded);
    EXPECT_EQ(languages.GetTranslation("FORM1_CMDTV"), nulText);
    EXPECT_EQ(languages.GetTranslation("FORM1_CMDRADIO"), "Radio");
    ASSERT_EQ(languages.LoadLanguage(std::string("Nul\0Name", 8)), LoadResult::Loaded);
    EXPECT_EQ(languages.GetTranslation("FORM1_CMDTV"), "Nul");
}

// Catches invalid UTF-8 crashing the case folding (a lead byte at the very
// end of a text), being "repaired" into other bytes, or lost on the way to
// the window and back into a written file.
TEST_F(LocalizationBadFile, InvalidUtf8IsKeptByteForByte) {
    const std::string latin1Name = "Fran\347ais";          // Latin-1, not UTF-8
    const std::string loneLead = "\xC3";                   // a lead byte with nothing after it
    const std::string leadAtEnd = "abc\xC3";               // the same at the end of a text
    const std::string badBytes = "\xFF\xFE\xC0\xAF text";  // never valid, an overlong "/"
    const std::string accented = "\303\251cran";           // valid: raised to "Écran"
    writeFile(file(group(latin1Name, {{"FORM1_CMDTV", loneLead},
                                      {"FORM1_CMDRADIO", leadAtEnd},
                                      {"FORM1_CMDVIDEO", badBytes},
                                      {"FORM1_CMDFAVORITES", accented}})));

    ASSERT_EQ(languages.LoadLanguage(latin1Name), LoadResult::Loaded);
    EXPECT_EQ(languages.GetTranslation("FORM1_CMDTV"), loneLead);
    EXPECT_EQ(languages.GetTranslation("FORM1_CMDRADIO"), "Abc\xC3");
    EXPECT_EQ(languages.GetTranslation("FORM1_CMDVIDEO"), badBytes);
    EXPECT_EQ(languages.GetTranslation("FORM1_CMDFAVORITES"), "\303\211cran");
    // Names compare byte for byte beyond the letters the folding knows.
    EXPECT_EQ(languages.LoadLanguage("FRAN\347AIS"), LoadResult::Loaded);
    EXPECT_EQ(languages.LoadLanguage("Fran\303\247ais"), LoadResult::NotFound);
    EXPECT_EQ(languages.LoadLanguage("x\xC3"), LoadResult::NotFound);

    windows.loadAll();
    languages.ChangeLanguage(windows.mainWindow, latin1Name);
    EXPECT_EQ(windows.mainWindow.tvButton->caption(), loneLead);
    EXPECT_EQ(windows.mainWindow.videoButton->caption(), badBytes);

    // What the window shows is what a rewritten file holds.
    ASSERT_TRUE(languages.makeLocalizationFile());
    ASSERT_EQ(languages.LoadLanguage("English"), LoadResult::Loaded);
    EXPECT_EQ(languages.GetTranslation("FORM1_CMDVIDEO"), badBytes);
    EXPECT_EQ(languages.GetTranslation("FORM1_CMDRADIO"), "Abc\xC3");
}

// Catches a file in another encoding (UTF-16 with its byte-order mark)
// crashing the reader or being half read: it holds no tag this reader can
// see, so no language is found and the captions stay.
TEST_F(LocalizationBadFile, Utf16FileFindsNoLanguage) {
    const std::string utf8 = file(group("Deutsch", {{"FORM1_CMDTV", "Fernsehen"}}));
    std::string utf16 = "\xFF\xFE";
    for (char c : utf8) {
        utf16 += c;
        utf16 += '\0';
    }
    writeFile(utf16);
    EXPECT_EQ(languages.LoadLanguage("Deutsch"), LoadResult::NotFound);
    languages.ChangeLanguage(windows.mainWindow, "Deutsch");
    EXPECT_EQ(windows.mainWindow.tvButton->caption(), "TV");

    std::size_t groups = 0;
    EXPECT_TRUE(formats::walkLanguageGroups(formats::withoutBom(utf16), [&](const formats::LanguageGroup&) {
        ++groups;
        return formats::GroupVisit::Continue;
    }));
    EXPECT_EQ(groups, 0u);
}

}  // namespace
}  // namespace cd::localization
