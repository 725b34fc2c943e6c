#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace cd::platform {

enum class Buttons { OK, OKCancel, AbortRetryIgnore };
enum class Answer { OK, Cancel, Abort, Retry, Ignore };

/// Message boxes and the questions for a file. Texts are UTF-8.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    /// Shows a modal message box and returns the button pressed; closing the
    /// box answers Cancel (OK for a box with only OK).
    virtual Answer messageBox(const std::string& text, const std::string& title, Buttons buttons) = 0;
    /// Asks for a playlist to read: a file's path or an http/https address.
    /// Nothing when the user cancels, or where nobody can be asked.
    virtual std::optional<std::string> askPlaylistSource(const std::string& /*title*/) { return std::nullopt; }
    /// Asks where to save a playlist, offering suggestedName; nothing when cancelled.
    virtual std::optional<std::filesystem::path> askPlaylistTarget(const std::string& /*title*/,
                                                                   const std::string& /*suggestedName*/) {
        return std::nullopt;
    }
};

}  // namespace cd::platform
