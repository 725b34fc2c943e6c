#include "catalogue/catalogue_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/line_cipher.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace cd::catalogue {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTitle = "ChannelDeck";

std::string encodedLines(const std::vector<std::string>& plain) {
    std::string out;
    for (const auto& l : plain) out += EncodeLine(l) + "\r\n";
    return out;
}

ui::ListItem editorRow(std::string name, std::string category, std::string type, std::string address) {
    ui::ListItem row;
    row.text = std::move(name);
    row.subItems = {std::move(category), std::move(type), std::move(address)};
    return row;
}

std::vector<std::string> names(const ui::ListView& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i) out.push_back(list.item(i).text);
    return out;
}

class CatalogueFileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    ui::MainWindow form;
    test::FakeDialogs dialogs;
    CatalogueFile file{form, dialogs, dir.path(), kTitle};
    ui::ListView& list = *form.channelList;
};

// ---- Decrypt and Load -----------------------------------------------------

// Catches fields put in the wrong columns, or the fifth field kept and written back.
TEST_F(CatalogueFileTest, LoadPutsFourFieldsInTheEditorRowAndDropsTheFifth) {
    dir.write("Data.txt", encodedLines({"Fox|http://fox/live|TV|English/Spanish|5 stars"}));
    const auto outcome = file.DecryptAndLoad();
    EXPECT_TRUE(outcome.fileRead);
    EXPECT_EQ(outcome.rowsAdded, 1);
    ASSERT_EQ(list.count(), 1);
    const ui::ListItem& row = list.item(0);
    EXPECT_EQ(row.text, "Fox");
    EXPECT_EQ(row.tag, "http://fox/live");
    EXPECT_EQ(row.subItem(1), "TV");
    EXPECT_EQ(row.subItem(2), "English/Spanish");
    EXPECT_EQ(row.subItem(3), "http://fox/live");
    EXPECT_EQ(row.subItems.size(), 3u);
    form.keyText->setText("8047");
    file.EncryptAndSave();
    EXPECT_EQ(dir.read("Data.htm"), "<data>\r\nFox|http://fox/live|TV|English/Spanish\r\n</data>\r\n");
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches lines without "|" (blank ones included) becoming rows.
TEST_F(CatalogueFileTest, LoadSkipsLinesThatAreNotRecords) {
    dir.write("Data.txt", encodedLines({"", "a comment", "One|u1|TV|English", " ", "Two|u2|Radio|German"}));
    EXPECT_EQ(file.DecryptAndLoad().rowsAdded, 2);
    EXPECT_EQ(names(list), (std::vector<std::string>{"One", "Two"}));
}

// Catches a load that clears the list first, or that dedupes on its own.
TEST_F(CatalogueFileTest, LoadTwiceListsEveryRecordTwiceBehindExistingRows) {
    dir.write("Data.txt", encodedLines({"One|u1|TV|English", "Two|u2|XXX|German"}));
    list.addItem(editorRow("Already", "TV", "English", "u0"));
    file.DecryptAndLoad();
    file.DecryptAndLoad();
    EXPECT_EQ(names(list), (std::vector<std::string>{"Already", "One", "Two", "One", "Two"}));
}

// Catches a missing catalogue passing silently, naming no file, or touching the list.
TEST_F(CatalogueFileTest, LoadWithoutDataTxtSaysSoAndChangesNoRow) {
    list.addItem(editorRow("Kept", "TV", "English", "u0"));
    const auto outcome = file.DecryptAndLoad();
    EXPECT_FALSE(outcome.fileRead);
    EXPECT_EQ(outcome.rowsAdded, 0);
    EXPECT_EQ(names(list), (std::vector<std::string>{"Kept"}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("\"Data.txt\""), std::string::npos) << dialogs.shown[0].text;
    EXPECT_NE(dialogs.shown[0].text.find(dir.path().string()), std::string::npos) << dialogs.shown[0].text;
    EXPECT_NE(dialogs.shown[0].text.find("not found"), std::string::npos);
    EXPECT_EQ(dialogs.shown[0].title, kTitle);
    EXPECT_EQ(dialogs.shown[0].buttons, platform::Buttons::OK);
}

// Catches a folder named Data.txt being read as an empty catalogue.
TEST_F(CatalogueFileTest, LoadOfAnUnreadableCatalogueSaysSo) {
    fs::create_directory(dir / "Data.txt");
    EXPECT_FALSE(file.DecryptAndLoad().fileRead);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("could not be read"), std::string::npos);
    EXPECT_EQ(list.count(), 0);
}

// Catches a short record that stops the load or reads past its fields.
TEST_F(CatalogueFileTest, ShortRecordLoadsWithEmptyFieldsAndTheLoadGoesOn) {
    dir.write("Data.txt", encodedLines({"Short|http://s", "Name only|", "Full|u|Radio|French"}));
    EXPECT_EQ(file.DecryptAndLoad().rowsAdded, 3);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(0).tag, "http://s");
    EXPECT_EQ(list.item(0).subItem(1), "");
    EXPECT_EQ(list.item(0).subItem(2), "");
    EXPECT_EQ(list.item(0).subItem(3), "http://s");
    EXPECT_EQ(list.item(1).text, "Name only");
    EXPECT_EQ(list.item(2).subItem(2), "French");
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches a reader that splits at LF or drops a last line without its line end.
TEST_F(CatalogueFileTest, LoadFollowsTheLineRule) {
    const std::string text = EncodeLine("A|a|TV|x") + "\r" + EncodeLine("B|b|TV|y") + "\r\n" + EncodeLine("C|c") +
                             "\n" + EncodeLine("|d|TV|z");
    dir.write("Data.txt", text);
    file.DecryptAndLoad();
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(0).text, "A");
    EXPECT_EQ(list.item(1).text, "B");
    // The lone LF stays inside the third line, where it decodes to byte 201.
    EXPECT_EQ(list.item(2).text, "C");
    EXPECT_EQ(list.item(2).subItem(3), std::string("c") + DecodeLine("\n"));
    EXPECT_EQ(list.item(2).subItem(1), "d");
}

// Catches a bulk load that tells the shell about every row, or leaves a sorted list unsorted.
TEST_F(CatalogueFileTest, LoadIsOneBatchAndASortedListStaysSorted) {
    dir.write("Data.txt", encodedLines({"b|1|TV|x", "C|2|TV|x", "a|3|TV|x"}));
    list.setSorted(true);
    int inserts = 0, resets = 0;
    list.subscribe([&](ui::Control*, const ui::ChangeEvent& e) {
        inserts += e.what == ui::Change::RowsInserted;
        resets += e.what == ui::Change::RowsReset;
    });
    file.DecryptAndLoad();
    EXPECT_EQ(inserts, 0);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(names(list), (std::vector<std::string>{"a", "b", "C"}));
}

// ---- Encrypt and Save -----------------------------------------------------

// Catches any change to the export's layout: wrapper lines, field order, cipher or line ends.
TEST_F(CatalogueFileTest, ExportLayoutIsByteExact) {
    list.addItem(editorRow("a", "c", "d", "b"));
    list.addItem(editorRow("Fox", "TV", "English", "http://f"));
    const auto outcome = file.EncryptAndSave();
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(outcome.rowsWritten, 2);
    const std::string expected = std::string("<data>\r\n") + "\xA1\xBC\xA2\xBC\xA3\xBC\xA4" + "\r\n" +
                                 EncodeLine("Fox|http://f|TV|English") + "\r\n</data>\r\n";
    EXPECT_EQ(dir.read("Data.htm"), expected);
    EXPECT_EQ(form.exportText->text(), expected) << "txtData shows exactly the file's lines";
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches extra lines or a missing wrapper around an empty export.
TEST_F(CatalogueFileTest, EmptyListWritesExactlyTheTwoWrapperLines) {
    EXPECT_TRUE(file.EncryptAndSave().written);
    EXPECT_EQ(dir.read("Data.htm"), "<data>\r\n</data>\r\n");
    EXPECT_EQ(form.exportText->text(), "<data>\r\n</data>\r\n");
}

// Catches a key compared loosely (trimmed) or any other text taken as the key.
TEST_F(CatalogueFileTest, OnlyTheExactKeyWritesPlain) {
    list.addItem(editorRow("Fox", "TV", "English", "http://f"));
    const std::string encoded = "<data>\r\n" + EncodeLine("Fox|http://f|TV|English") + "\r\n</data>\r\n";
    const std::string plain = "<data>\r\nFox|http://f|TV|English\r\n</data>\r\n";
    for (const char* key : {"key", "8047 ", " 8047", "80470", ""}) {
        form.keyText->setText(key);
        file.EncryptAndSave();
        EXPECT_EQ(dir.read("Data.htm"), encoded) << "key '" << key << "'";
    }
    form.keyText->setText("8047");
    file.EncryptAndSave();
    EXPECT_EQ(dir.read("Data.htm"), plain);
}

// Catches rows written in insertion order while the list shows them sorted, or a missing sub-item mishandled.
TEST_F(CatalogueFileTest, RowsFollowTheDisplayOrderAndMissingSubItemsAreEmpty) {
    form.keyText->setText("8047");
    list.setSortKey(1);
    list.setSorted(true);
    list.addItem(editorRow("n1", "TV", "English", "u1"));
    ui::ListItem categoryViewRow;
    categoryViewRow.text = "n2";
    categoryViewRow.tag = "u2";
    categoryViewRow.subItems = {"Radio", "German"};
    list.addItem(categoryViewRow);
    file.EncryptAndSave();
    EXPECT_EQ(dir.read("Data.htm"), "<data>\r\nn2||Radio|German\r\nn1|u1|TV|English\r\n</data>\r\n");
}

// Catches a failed write that leaves half an export, loses the old one, or passes silently.
TEST_F(CatalogueFileTest, FailedWriteKeepsTheOldExportAndSaysSo) {
    const std::string old = "<data>\r\nold\r\n</data>\r\n";
    dir.write("Data.htm", old);
    form.exportText->setText(old);
    for (int i = 0; i < 50; ++i) list.addItem(editorRow("Channel " + std::to_string(i), "TV", "English", "http://x"));
    // A file size limit makes the write itself fail, even for a privileged user.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 256;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto outcome = file.EncryptAndSave();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(outcome.written);
    EXPECT_FALSE(outcome.error.empty());
    EXPECT_EQ(dir.read("Data.htm"), old);
    EXPECT_EQ(form.exportText->text(), old) << "txtData keeps showing what the file holds";
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("could not be saved"), std::string::npos) << dialogs.shown[0].text;
    EXPECT_NE(dialogs.shown[0].text.find("Data.htm"), std::string::npos);
    EXPECT_EQ(dialogs.shown[0].title, kTitle);
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.path())) left.push_back(e.path().filename().string());
    EXPECT_EQ(left, (std::vector<std::string>{"Data.htm"})) << "no temporary file is left behind";
}

// Catches a encryptAndSaveButton into a missing folder reported as success.
TEST_F(CatalogueFileTest, SaveIntoAMissingFolderFailsAndSaysSo) {
    CatalogueFile elsewhere(form, dialogs, dir / "gone", kTitle);
    EXPECT_FALSE(elsewhere.EncryptAndSave().written);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("could not be saved"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "gone"));
}

// Catches rows with bytes 204 or 255 dropped, or the owner told once per row, or not at all.
TEST_F(CatalogueFileTest, RowsThatWillNotReadBackAreWrittenAndNamedInOneMessage) {
    list.addItem(editorRow("Fine", "TV", "English", "u1"));
    list.addItem(editorRow("Caf\xCC", "TV", "English", "u2"));
    list.addItem(editorRow("Also fine", "TV", "English", "u3"));
    list.addItem(editorRow("Y", "TV", "Fran\xFF", "u4"));
    const auto outcome = file.EncryptAndSave();
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(outcome.rowsWritten, 4);
    EXPECT_EQ(outcome.rowsAltered, 2);
    EXPECT_EQ(dir.read("Data.htm"),
              "<data>\r\n" + EncodeLine("Fine|u1|TV|English") + "\r\n" + EncodeLine("Caf\xCC|u2|TV|English") + "\r\n" +
                  EncodeLine("Also fine|u3|TV|English") + "\r\n" + EncodeLine("Y|u4|TV|Fran\xFF") + "\r\n</data>\r\n");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const std::string& text = dialogs.shown[0].text;
    EXPECT_NE(text.find("2 rows"), std::string::npos) << text;
    EXPECT_NE(text.find("2 (\"Caf?\")"), std::string::npos) << text;
    EXPECT_NE(text.find("4 (\"Y\")"), std::string::npos) << text;
    EXPECT_EQ(text.find("Also fine"), std::string::npos) << text;
    EXPECT_EQ(dialogs.shown[0].title, kTitle);

    dialogs.shown.clear();
    form.keyText->setText("8047");
    EXPECT_EQ(file.EncryptAndSave().rowsAltered, 0) << "a plain export keeps those bytes as they are";
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches a line past the readers' limit being exported (it would break every reader) or lost silently.
TEST_F(CatalogueFileTest, RowsLongerThanTheCipherLimitAreLeftOutAndNamed) {
    const std::string prefix = "|u|TV|English";
    const std::string atLimit(kCipherLineLimit - prefix.size(), 'a');
    const std::string overLimit(kCipherLineLimit - prefix.size() + 1, 'b');
    list.addItem(editorRow(atLimit, "TV", "English", "u"));
    list.addItem(editorRow(overLimit, "TV", "English", "u"));
    list.addItem(editorRow("Caf\xCC", "TV", "English", "u"));
    const auto outcome = file.EncryptAndSave();
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(outcome.rowsWritten, 2);
    EXPECT_EQ(outcome.rowsLeftOut, 1);
    EXPECT_EQ(dir.read("Data.htm"), "<data>\r\n" + EncodeLine(atLimit + prefix) + "\r\n" +
                                        EncodeLine("Caf\xCC|u|TV|English") + "\r\n</data>\r\n");
    ASSERT_EQ(dialogs.shown.size(), 1u) << "both problems in one message";
    EXPECT_NE(dialogs.shown[0].text.find("left out"), std::string::npos);
    EXPECT_NE(dialogs.shown[0].text.find("Rows: 2 (\"bbbb"), std::string::npos) << dialogs.shown[0].text;
    EXPECT_NE(dialogs.shown[0].text.find("Rows: 3 (\"Caf?\")"), std::string::npos) << dialogs.shown[0].text;
}

// ---- Load2 import ---------------------------------------------------------

// Catches the import's line pairing: the header, the discarded line, and the name with no value after it.
TEST_F(CatalogueFileTest, Load2OfTheFiveLineFileAddsOneRow) {
    dir.write("import.txt", "[X]\r\nanything\r\nName\r\nSecond\r\nLast");
    form.importFileText->setText("import.txt");
    const auto outcome = file.Load2();
    EXPECT_TRUE(outcome.fileRead);
    EXPECT_EQ(outcome.rowsAdded, 1);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.item(0).text, "Name");
    EXPECT_EQ(list.item(0).subItem(1), "Second");
    EXPECT_EQ(list.item(0).subItem(2), "TV");
    EXPECT_EQ(list.item(0).subItem(3), "X");
    EXPECT_EQ(list.item(0).tag, "");
    form.keyText->setText("8047");
    file.EncryptAndSave();
    EXPECT_EQ(dir.read("Data.htm"), "<data>\r\nName|X|Second|TV\r\n</data>\r\n");
}

// Catches sections not switching, brackets kept, blank lines taken as names, or importCategoryText ignored.
TEST_F(CatalogueFileTest, Load2ReadsSectionsSkipsBlanksAndUsesTheType) {
    dir.write("import.txt",
              "\r\n \r\n[[Sec]tion] one\r\nskipped [also]\r\nA\r\nhttp://a\r\n\r\n \r\n[Two]\r\n\r\nB\r\n"
              "http://b\r\n  \r\nvalue of two blanks\r\n");
    form.importFileText->setText("import.txt");
    form.importCategoryText->setText("Radio");
    EXPECT_EQ(file.Load2().rowsAdded, 3);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(0).subItem(3), "Section one");
    EXPECT_EQ(list.item(0).subItem(2), "Radio");
    EXPECT_EQ(list.item(1).text, "B");
    EXPECT_EQ(list.item(1).subItem(3), "Two");
    EXPECT_EQ(list.item(2).text, "  ") << "only an empty line or one blank is skipped";
    EXPECT_EQ(list.item(2).subItem(1), "value of two blanks");
}

// Catches a header on the last line failing the import or losing the rows before it.
TEST_F(CatalogueFileTest, Load2WithAHeaderAsLastLineKeepsTheRowsReadSoFar) {
    dir.write("import.txt", "[A]\r\nskip\r\nN1\r\nV1\r\n[B]");
    form.importFileText->setText("import.txt");
    const auto outcome = file.Load2();
    EXPECT_TRUE(outcome.fileRead);
    EXPECT_EQ(outcome.rowsAdded, 1);
    EXPECT_EQ(names(list), (std::vector<std::string>{"N1"}));
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches a missing import file passing silently or touching the list.
TEST_F(CatalogueFileTest, Load2WithAMissingFileSaysSoAndChangesNoRow) {
    list.addItem(editorRow("Kept", "TV", "English", "u0"));
    form.importFileText->setText("nothere.txt");
    EXPECT_FALSE(file.Load2().fileRead);
    EXPECT_EQ(names(list), (std::vector<std::string>{"Kept"}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("\"nothere.txt\""), std::string::npos) << dialogs.shown[0].text;
    EXPECT_NE(dialogs.shown[0].text.find(dir.path().string()), std::string::npos);

    form.importFileText->setText("");
    EXPECT_FALSE(file.Load2().fileRead) << "an empty name is not the program's folder";
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

}  // namespace
}  // namespace cd::catalogue
