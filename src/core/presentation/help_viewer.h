#pragma once
// The help window: an invisible, zero-sized window whose load opens the help
// document with the desktop's default program and remembers, machine-wide,
// that the help has been shown.
#include <filesystem>

#include "platform/shell.h"
#include "presentation/machine_store.h"
#include "ui/help_window.h"

namespace cd::presentation {

/// The help document in the program's folder: one self-contained HTML page
/// that any browser shows.
inline constexpr const char* kHelpFileName = "Help.html";

class HelpViewer {
public:
    HelpViewer(ui::HelpWindow& form, std::filesystem::path programFolder, platform::Shell& shell,
               MachineStore& machine);

    /// Load: size 0, invisible; when the help document exists, opens it and
    /// writes the machine-wide "showHelp" = "0"; without it, nothing more.
    void load();

    /// The help document's path as it is on disk (its name may differ in
    /// letter case from kHelpFileName); empty when there is none.
    std::filesystem::path HelpFilePath() const;

private:
    ui::HelpWindow& form_;
    std::filesystem::path folder_;
    platform::Shell& shell_;
    MachineStore& machine_;
};

}  // namespace cd::presentation
