#include "app/code_page.h"

#include <array>
#include <atomic>

namespace cd::app {

namespace {

std::atomic<CodePage::Mode> gMode{CodePage::Mode::Windows1252};

// 0x80..0x9F of windows-1252; the undefined bytes keep their own value so
// that a file read and written again comes back byte for byte.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char16_t decodeByte(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return kHigh[b - 0x80];
    return b;
}

char encodeChar(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

void CodePage::setMode(Mode mode) { gMode.store(mode); }

CodePage::Mode CodePage::mode() { return gMode.load(); }

QString CodePage::toUnicode(std::string_view bytes) {
    if (mode() == Mode::Utf8) return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* dst = out.data();
    for (const char c : bytes) *dst++ = QChar(decodeByte(static_cast<unsigned char>(c)));
    return out;
}

std::string CodePage::fromUnicode(const QString& text) {
    if (mode() == Mode::Utf8) return text.toStdString();
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        // A surrogate pair is one character the code page cannot hold: one '?'.
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;
        out.push_back(encodeChar(ch.unicode()));
    }
    return out;
}

}  // namespace cd::app
