#pragma once
#include <string>

namespace cd::platform {

enum class Buttons { OK, OKCancel, AbortRetryIgnore };
enum class Answer { OK, Cancel, Abort, Retry, Ignore };

/// Message boxes. Text and title are UTF-8.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    /// Shows a modal message box and returns the button pressed; closing the
    /// box answers Cancel (OK for a box with only OK).
    virtual Answer messageBox(const std::string& text, const std::string& title, Buttons buttons) = 0;
};

}  // namespace cd::platform
