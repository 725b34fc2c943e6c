#include "formats/page_charset.h"

#include <gtest/gtest.h>

#include <string>

namespace cd::formats {
namespace {

const std::string kFuenfUtf8 = "F\xC3\xBCnf";
const std::string kFuenf1252 = "F\xFCnf";

// Catches a charset read from the wrong place, a header that does not win
// over the page, quotes and letter case kept in the name, and a meta tag
// looked for past the page's head.
TEST(DeclaredCharset, HeaderFirstThenMetaTags) {
    EXPECT_EQ(DeclaredCharset("text/html; charset=UTF-8", "<meta charset='windows-1252'>"), "utf-8");
    EXPECT_EQ(DeclaredCharset("text/html;charset=\"ISO-8859-1\"", ""), "iso-8859-1");
    EXPECT_EQ(DeclaredCharset("text/html", "<html><head><META CHARSET=\"Utf-8\"></head>"), "utf-8");
    EXPECT_EQ(DeclaredCharset("", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"),
              "windows-1252");
    EXPECT_EQ(DeclaredCharset("text/html", "<p>charset=utf-8 is only text</p>"), "");
    EXPECT_EQ(DeclaredCharset("text/html; charset=", "<meta name=x>"), "");
    EXPECT_EQ(DeclaredCharset("", std::string(5000, ' ') + "<meta charset=utf-8>"), "");
}

// Catches UTF-8 titles shown as mojibake, windows-1252 pages turned into
// invalid text, and broken bytes in a declared UTF-8 page passed on.
TEST(DecodePageText, ByDeclarationElseByValidity) {
    EXPECT_EQ(DecodePageText(kFuenfUtf8, "text/html; charset=utf-8"), kFuenfUtf8);
    EXPECT_EQ(DecodePageText("<meta charset=utf-8>" + kFuenfUtf8, "text/html"), "<meta charset=utf-8>" + kFuenfUtf8);
    EXPECT_EQ(DecodePageText(kFuenf1252, "text/html; charset=windows-1252"), kFuenfUtf8);
    EXPECT_EQ(DecodePageText(kFuenf1252, "text/html; charset=iso-8859-1"), kFuenfUtf8);
    // Declared windows-1252, sent as UTF-8 bytes: the declaration is what counts.
    EXPECT_EQ(DecodePageText(kFuenfUtf8, "text/html; charset=windows-1252"), "F\xC3\x83\xC2\xBCnf");
    // No declaration: valid UTF-8 stays, anything else is windows-1252.
    EXPECT_EQ(DecodePageText(kFuenfUtf8, ""), kFuenfUtf8);
    EXPECT_EQ(DecodePageText(kFuenf1252, "text/html"), kFuenfUtf8);
    EXPECT_EQ(DecodePageText("\x80 5", "text/html; charset=unknown-set"), "\xE2\x82\xAC 5");
    // Declared UTF-8 with a stray byte and a cut-off sequence at the end.
    EXPECT_EQ(DecodePageText("a\xFC"
                             "b\xC3",
                             "text/html; charset=utf-8"),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    EXPECT_EQ(DecodePageText("", ""), "");
}

}  // namespace
}  // namespace cd::formats
