#include "mainwindow/program_folder.h"

#include <unistd.h>

#include <system_error>

namespace cd::mainwindow {

namespace fs = std::filesystem;

namespace {

bool writable(const fs::path& dir) { return ::access(dir.c_str(), W_OK) == 0; }

void fillFromInstalled(const fs::path& target, const fs::path& installed) {
    std::error_code ec;
    if (installed.empty() || !fs::is_directory(installed, ec)) return;
    for (const auto& entry : fs::directory_iterator(installed, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        const fs::path dest = target / entry.path().filename();
        if (fs::exists(dest, ec)) continue;
        fs::copy_file(entry.path(), dest, ec);
    }
}

}  // namespace

fs::path ResolveProgramFolder(const ProgramFolderInputs& in) {
    std::error_code ec;
    if (!in.dataDirOption.empty()) {
        const fs::path dir = fs::absolute(in.dataDirOption, ec);
        fs::create_directories(dir, ec);
        return dir;
    }
    if (!in.executableDir.empty() && fs::is_regular_file(in.executableDir / "Data.txt", ec) &&
        writable(in.executableDir))
        return in.executableDir;
    fs::path base = in.xdgDataHome.empty() ? fs::path(in.home) / ".local" / "share" : fs::path(in.xdgDataHome);
    const fs::path dir = base / "channeldeck";
    fs::create_directories(dir, ec);
    fillFromInstalled(dir, in.installedData);
    return dir;
}

}  // namespace cd::mainwindow
