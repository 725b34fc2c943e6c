#pragma once
// The one place where bytes of catalogue, favourites and page text become
// Unicode for the widgets, and typed text becomes bytes again. The mode is
// chosen once at start from a setting; windows-1252 is the default because
// existing catalogue files are written in it.
#include <QString>
#include <string>
#include <string_view>

namespace cd::app {

class CodePage {
public:
    enum class Mode { Windows1252, Utf8 };

    /// Sets the program-wide mode; call once at start, before any window shows text.
    static void setMode(Mode mode);
    static Mode mode();

    /// Bytes to text. In windows-1252 mode every byte maps to one character,
    /// the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
    /// 0x9D) to the control characters of the same value, so nothing is lost.
    /// In UTF-8 mode malformed sequences become U+FFFD.
    static QString toUnicode(std::string_view bytes);
    /// Text to bytes. In windows-1252 mode a character the code page cannot
    /// hold becomes '?'; text made by toUnicode converts back to the same bytes.
    static std::string fromUnicode(const QString& text);
};

}  // namespace cd::app
