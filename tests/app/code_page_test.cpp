#include "app/code_page.h"

#include <gtest/gtest.h>

namespace cd::app {
namespace {

struct ModeGuard {
    CodePage::Mode old = CodePage::mode();
    ~ModeGuard() { CodePage::setMode(old); }
};

// Catches a byte lost or changed on the way to the screen and back (the five
// undefined windows-1252 bytes in particular).
TEST(CodePage, EveryByteRoundTripsInWindows1252) {
    ModeGuard guard;
    CodePage::setMode(CodePage::Mode::Windows1252);
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const QString text = CodePage::toUnicode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(CodePage::fromUnicode(text), all);
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(text.at(b).unicode(), b);
}

// Catches a wrong table: the well-known windows-1252 letters must show as such.
TEST(CodePage, Windows1252MapsTheKnownCharacters) {
    ModeGuard guard;
    CodePage::setMode(CodePage::Mode::Windows1252);
    EXPECT_EQ(CodePage::toUnicode("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(CodePage::toUnicode("\x99"), QString(QChar(0x2122)));
    EXPECT_EQ(CodePage::toUnicode("Caf\xE9"), QStringLiteral("Caf\u00E9"));
    EXPECT_EQ(CodePage::fromUnicode(QStringLiteral("\u20AC \u0153 \u00FF")), "\x80 \x9C \xFF");
}

// Catches text the code page cannot hold being dropped or written as UTF-8.
TEST(CodePage, UnmappableCharactersBecomeQuestionMarks) {
    ModeGuard guard;
    CodePage::setMode(CodePage::Mode::Windows1252);
    EXPECT_EQ(CodePage::fromUnicode(QStringLiteral("a\u4E2Db")), "a?b");
    // A character outside the basic plane is one '?', not two.
    EXPECT_EQ(CodePage::fromUnicode(QString::fromUtf8("x\xF0\x9F\x93\xBAy")), "x?y");
}

// Catches the UTF-8 setting being ignored.
TEST(CodePage, Utf8ModeDecodesAndEncodesUtf8) {
    ModeGuard guard;
    CodePage::setMode(CodePage::Mode::Utf8);
    EXPECT_EQ(CodePage::toUnicode("Caf\xC3\xA9"), QStringLiteral("Caf\u00E9"));
    EXPECT_EQ(CodePage::fromUnicode(QStringLiteral("\u4E2D")), "\xE4\xB8\xAD");
    EXPECT_EQ(CodePage::toUnicode("\xFF"), QString(QChar(0xFFFD)));
}

}  // namespace
}  // namespace cd::app
