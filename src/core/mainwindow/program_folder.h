#pragma once
// Where the program's folder is: every file the behaviour places "in the
// program's folder" (catalogue, favourites, localization, video page, help,
// admin marker) lives there.
#include <filesystem>
#include <string>

namespace cd::mainwindow {

struct ProgramFolderInputs {
    std::string dataDirOption;            // --data-dir, or empty
    std::filesystem::path executableDir;  // folder of the running program
    std::string xdgDataHome;              // $XDG_DATA_HOME, or empty
    std::string home;                     // $HOME
    std::filesystem::path installedData;  // installed share/channeldeck, for first start
};

/// The folder given by --data-dir; otherwise the executable's folder when it
/// holds Data.txt and is writable (portable use, the build tree); otherwise
/// $XDG_DATA_HOME/channeldeck (~/.local/share/channeldeck), created and
/// filled from the installed data on first start (files already there are
/// never overwritten).
std::filesystem::path ResolveProgramFolder(const ProgramFolderInputs& in);

}  // namespace cd::mainwindow
