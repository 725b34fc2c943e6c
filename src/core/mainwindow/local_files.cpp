#include "mainwindow/local_files.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "util/text.h"

namespace cd::mainwindow {

namespace fs = std::filesystem;

namespace {

const std::string kEmpty;

// '*' matches any run, '?' any one character; letter case ignored.
bool globMatch(std::string_view name, std::string_view pattern) {
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || util::asciiLower(pattern[p]) == util::asciiLower(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

const std::vector<std::string>& mediaPatterns() {
    static const std::vector<std::string> patterns = util::split(kMediaFilePatterns, ";");
    return patterns;
}

bool listOrderBefore(const std::string& a, const std::string& b) {
    const std::string la = util::toLower(a), lb = util::toLower(b);
    return la != lb ? la < lb : a < b;
}

// An absolute, tidy folder path without a trailing "/" (the root stays "/");
// nothing for an empty or unusable text.
std::optional<std::string> normaliseFolder(const std::string& text) {
    if (text.empty()) return std::nullopt;
    std::error_code ec;
    fs::path p(text);
    if (p.is_relative()) {
        p = fs::absolute(p, ec);
        if (ec) return std::nullopt;
    }
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

enum class Want { Folders, MediaFiles };

// The visible names of one kind in folder, in list order; nothing when the
// folder cannot be read to its end. Names starting with "." are the
// desktop's hidden files and are left out, as hidden files are elsewhere.
std::optional<std::vector<std::string>> listFolder(const std::string& folder, Want want) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return std::nullopt;
    std::vector<std::string> names;
    fs::directory_iterator it(folder, ec);
    if (ec) return std::nullopt;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) return std::nullopt;
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code typeError;
        if (want == Want::Folders) {
            if (!it->is_directory(typeError)) continue;
        } else {
            if (!it->is_regular_file(typeError) || !IsMediaFileName(name)) continue;
        }
        names.push_back(std::move(name));
    }
    if (ec) return std::nullopt;
    std::sort(names.begin(), names.end(), listOrderBefore);
    return names;
}

// /proc/mounts writes blanks and a few other bytes as "\ooo".
std::string decodeMountPath(std::string_view s) {
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && isOctal(s[i + 1]) && isOctal(s[i + 2]) && isOctal(s[i + 3])) {
            out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += s[i];
    }
    return out;
}

}  // namespace

bool IsMediaFileName(std::string_view name) {
    for (const auto& pattern : mediaPatterns())
        if (globMatch(name, pattern)) return true;
    return false;
}

std::string JoinFolderAndName(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::vector<std::string> BrowsableVolumes(std::string_view mountsText, const std::string& home) {
    std::vector<std::string> out{"/"};
    auto addOnce = [&out](std::string v) {
        if (!v.empty() && std::find(out.begin(), out.end(), v) == out.end()) out.push_back(std::move(v));
    };
    if (auto h = normaliseFolder(home)) addOnce(*h);
    for (const auto line : util::splitView(mountsText, '\n')) {
        const auto fields = util::splitView(line, ' ');
        if (fields.size() < 2) continue;
        const std::string mountPoint = decodeMountPath(fields[1]);
        if (util::startsWith(mountPoint, "/media/") || util::startsWith(mountPoint, "/run/media/") ||
            util::startsWith(mountPoint, "/mnt/") || mountPoint == "/mnt")
            addOnce(mountPoint);
    }
    return out;
}

LocalFiles::LocalFiles(ui::MainWindow& form, platform::SettingsStore& settings, platform::Player& player,
                       std::function<void()> takingPlayer)
    : form_(form), settings_(settings), player_(player), takingPlayer_(std::move(takingPlayer)) {
    form_.driveList->changed.connect([this] { chooseDrive(form_.driveList->current()); });
    // One click on a file plays it at once; a folder opens on a double click
    // or Enter (a single click only selects it).
    form_.fileList->itemClicked.connect([this](int row) { playFile(row); });
    form_.fileList->itemActivated.connect([this](int row) { playFile(row); });
    form_.folderList->itemActivated.connect([this](int row) { openFolder(row); });
}

void LocalFiles::setDrives(std::vector<std::string> roots) {
    drives_.clear();
    for (auto& r : roots) {
        if (auto n = normaliseFolder(r)) drives_.push_back(*n);
    }
    form_.driveList->setEntries(drives_);
    const auto it = std::find(drives_.begin(), drives_.end(), form_.driveList->current());
    if (it != drives_.end()) form_.driveList->select(static_cast<int>(it - drives_.begin()));
}

bool LocalFiles::showStartFolder(const std::string& folder) {
    const auto path = normaliseFolder(folder);
    if (!path || !setDirPath(*path)) return false;
    const std::string drive = driveRootFor(*path);
    form_.driveList->setCurrent(drive);
    const auto it = std::find(drives_.begin(), drives_.end(), drive);
    form_.driveList->select(it == drives_.end() ? -1 : static_cast<int>(it - drives_.begin()));
    setFilePath(*path);
    return true;
}

std::string LocalFiles::driveRootFor(const std::string& path) const {
    std::string best = "/";
    for (const auto& d : drives_) {
        const bool holds = d == "/" || path == d || util::startsWith(path, d + "/");
        if (holds && d.size() > best.size()) best = d;
    }
    return best;
}

bool LocalFiles::setDirPath(const std::string& text) {
    const auto path = normaliseFolder(text);
    if (!path) return false;
    auto subfolders = listFolder(*path, Want::Folders);
    if (!subfolders) return false;

    const std::string root = driveRootFor(*path);
    std::vector<std::string> entries{root};
    folderPaths_ = {root};
    folderDepths_ = {0};
    fs::path walked(root);
    for (const auto& part : fs::path(*path).lexically_relative(root)) {
        if (part.empty() || part == ".") continue;
        walked /= part;
        entries.push_back(part.string());
        folderPaths_.push_back(walked.string());
        folderDepths_.push_back(static_cast<int>(folderDepths_.size()));
    }
    const int current = static_cast<int>(entries.size()) - 1;
    for (auto& name : *subfolders) {
        folderPaths_.push_back(JoinFolderAndName(*path, name));
        folderDepths_.push_back(current + 1);
        entries.push_back(std::move(name));
    }
    form_.folderList->setEntries(std::move(entries));
    form_.folderList->setCurrent(*path);
    form_.folderList->select(current);
    return true;
}

bool LocalFiles::setFilePath(const std::string& text) {
    const auto path = normaliseFolder(text);
    if (!path) return false;
    auto files = listFolder(*path, Want::MediaFiles);
    if (!files) return false;
    form_.fileList->setCurrent(*path);
    form_.fileList->setEntries(std::move(*files));
    return true;
}

void LocalFiles::folderChanged() {
    settings_.set("Dir", form_.folderList->current());
    setFilePath(form_.folderList->current());
}

void LocalFiles::chooseDrive(const std::string& drive) {
    form_.driveList->setCurrent(drive);
    const auto it = std::find(drives_.begin(), drives_.end(), drive);
    form_.driveList->select(it == drives_.end() ? -1 : static_cast<int>(it - drives_.begin()));
    // A volume that is not there (an unmounted stick) leaves the folder list
    // where it was; the choice is remembered all the same.
    if (setDirPath(drive)) folderChanged();
    settings_.set("Drive", drive);
}

bool LocalFiles::showFolder(const std::string& path) {
    if (!setDirPath(path)) return false;
    folderChanged();
    return true;
}

bool LocalFiles::openFolder(int index) {
    if (index < 0 || index >= static_cast<int>(folderPaths_.size())) return false;
    return showFolder(folderPaths_[static_cast<std::size_t>(index)]);
}

void LocalFiles::playFile(int index) {
    ui::ListBox& files = *form_.fileList;
    if (index < 0 || index >= static_cast<int>(files.entries().size())) return;
    files.select(index);
    if (takingPlayer_) takingPlayer_();
    player_.setUrl(JoinFolderAndName(files.current(), files.entries()[static_cast<std::size_t>(index)]));
}

bool LocalFiles::setDrive(const std::string& drive) {
    const auto name = normaliseFolder(drive);
    if (!name || std::find(drives_.begin(), drives_.end(), *name) == drives_.end()) return false;
    chooseDrive(*name);
    return true;
}

void LocalFiles::RestoreAtStartup() {
    // Both values are read before anything runs: the drive change saves the
    // drive's root as "Dir", and reading "Dir" after it would lose the
    // folder the user had chosen.
    const std::string drive = settings_.get("Drive", "");
    const std::string dir = settings_.get("Dir", "");
    setDrive(drive);
    showFolder(dir);
    setFilePath(dir);
}

const std::string& LocalFiles::folderPath(int index) const {
    if (index < 0 || index >= static_cast<int>(folderPaths_.size())) return kEmpty;
    return folderPaths_[static_cast<std::size_t>(index)];
}

int LocalFiles::folderDepth(int index) const {
    if (index < 0 || index >= static_cast<int>(folderDepths_.size())) return 0;
    return folderDepths_[static_cast<std::size_t>(index)];
}

}  // namespace cd::mainwindow
