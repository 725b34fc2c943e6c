#include "formats/export_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "formats/line_cipher.h"

namespace cd::formats {
namespace {

// Data.htm as the editor writes it.
std::string exportOf(const std::vector<Channel>& records, bool plain = false) {
    std::string text = "<data>\r\n";
    for (const auto& r : records) text += (plain ? recordLine(r) : EncodeLine(recordLine(r))) + "\r\n";
    return text + "</data>\r\n";
}

const std::vector<Channel> kRecords = {
    {"Fox TV", "http://tv.example/fox?x=1", "TV", "English"},
    {"Radio <Caf\xe9>", "mms://radio.example/a b", "Radio", "French/English"},
};

// Catches the editor's own export refused, encoded and plain rows read
// differently, or fields split wrongly.
TEST(ExportCheck, AcceptsWhatTheEditorWrites) {
    for (const bool plain : {false, true}) {
        const auto check = checkExport(exportOf(kRecords, plain));
        ASSERT_TRUE(check.ok) << check.error;
        ASSERT_EQ(check.records.size(), 2u);
        EXPECT_EQ(check.records[1].name, "Radio <Caf\xe9>");
        EXPECT_EQ(check.records[1].address, "mms://radio.example/a b");
        EXPECT_EQ(check.records[1].languages, "French/English");
        EXPECT_EQ(plain ? check.plainLines : check.encodedLines, 2u);
    }
    // Rows exported plain and encoded in one file (the key typed midway).
    const std::string mixed = "<data>\r\n" + EncodeLine("A|a|TV|English") + "\r\nB|b|TV|English\r\n</data>";
    const auto check = checkExport(mixed);
    ASSERT_TRUE(check.ok) << check.error;
    EXPECT_EQ(check.encodedLines, 1u);
    EXPECT_EQ(check.plainLines, 1u);
    EXPECT_EQ(check.records[0].name, "A");
}

// Catches a damaged upload published: the wrong line ends, a cut-off file,
// a line that is no record, a catalogue with no channel at all.
TEST(ExportCheck, RefusesDamagedFilesNamingTheLine) {
    const std::string good = exportOf(kRecords);
    std::string lf = good;
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
    using P = ExportProblem;
    const std::vector<std::tuple<std::string, std::string, ExportProblem>> cases = {
        {"", "empty", P::Empty},
        {"<html><body>Not Found</body></html>", "line 1", P::NoStartLine},
        {lf, "line 1", P::NoStartLine},
        {good.substr(0, good.size() - 12), "last line", P::NoEndLine},
        {"<data>\r\n</data>\r\n", "no record", P::NoRecord},
        {"<data>\r\n\r\n</data>\r\n", "line 2", P::NotARecord},
        {"<data>\r\n" + EncodeLine("A|a|TV|English") + "\r\njunk\r\n</data>\r\n", "line 3", P::NotARecord},
        {"<data>\r\nA|a|TV\r\n</data>\r\n", "line 2", P::NotARecord},
        {"<data>\r\n" + std::string(40000, 'a') + "|b|c|d\r\n</data>\r\n", "longer", P::LineTooLong},
    };
    for (const auto& [body, where, problem] : cases) {
        const auto check = checkExport(body);
        EXPECT_FALSE(check.ok) << body.substr(0, 60);
        EXPECT_EQ(check.problem, problem) << check.error;
        EXPECT_TRUE(check.records.empty());
        EXPECT_NE(check.error.find(where), std::string::npos) << check.error;
    }
}

// Catches a line that reads as a record both ways taken the wrong way: an
// encoded "<" is a "|", and a plain "\xbc" decodes to one.
TEST(ExportCheck, AnAmbiguousLineIsReadAsTypedText) {
    const std::string encoded = EncodeLine("<<<Fox>>>|http://tv.example/|TV|English");
    const std::string plain =
        "Fox\xbc"
        "Kids\xbc"
        "Plus\xbc|http://tv.example/|TV|English";
    ASSERT_GE(std::count(encoded.begin(), encoded.end(), '|'), 3);
    ASSERT_GE(std::count(plain.begin(), plain.end(), '\xbc'), 3);
    const auto check = checkExport("<data>\r\n" + encoded + "\r\n" + plain + "\r\n</data>\r\n");
    ASSERT_TRUE(check.ok) << check.error;
    EXPECT_EQ(check.records[0].name, "<<<Fox>>>");
    EXPECT_EQ(check.records[1].name,
              "Fox\xbc"
              "Kids\xbc"
              "Plus\xbc");
    EXPECT_EQ(check.encodedLines, 1u);
    EXPECT_EQ(check.plainLines, 1u);
}

}  // namespace
}  // namespace cd::formats
