#pragma once
// The main window's navigation state, shared by the category switches, the
// category view, the video listing and the editor.
#include <string>

namespace cd::catalogue {

struct NavigationState {
    /// "TV", "Radio", "Video", "XXX" or "YOUTUBE"; empty reads as "TV".
    std::string currentCategory;
    /// A language name, or exactly "All" for every channel; empty reads as "All".
    std::string currentLanguage;
    /// Set by every category switch: the next LoadCategory rebuilds languageBox.
    bool languageRefresh = false;
    /// Turned on at start-up when admin.txt exists.
    bool editorMode = false;
    /// The region of the video listings ("en_us" at start-up).
    std::string regionCode;
};

}  // namespace cd::catalogue
