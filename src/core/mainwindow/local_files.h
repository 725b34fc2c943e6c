#pragma once
// The "My Files" panel: a drive list, a folder list and a file list of media
// files, played in the embedded player when clicked. On this desktop the
// "drives" are the volumes the user browses, named by their root paths (the
// file system root, the home folder, mounted removable media); the drive and
// folder last chosen are kept under "Drive" and "Dir" and come back at
// start-up.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/player.h"
#include "platform/settings_store.h"
#include "ui/main_window.h"

namespace cd::mainwindow {

/// The file list shows only names matching one of these, letter case ignored.
inline constexpr const char* kMediaFilePatterns =
    "*.asf;*.wma;*.wmv;*.wm;*.wax;*.wvx;*.wmx;*.wpl;*.dvr-ms;*.wmd;*.avi;*.mpg;*.mpeg;*.m1v;*.mp2;*.mp3;*.mpa;"
    "*.mpe;*.mpv2;*.m3u;*.mid;*.midi;*.rmi;*.aif;*.aifc;*.aiff;*.au;*.snd;*.wav;*.cda;*.ivf;*.mov;*.qt;"
    "*.mp4;*.mkv;*.webm;*.flac;*.ogg;*.opus;*.m4a;*.aac";

/// True when name matches one of kMediaFilePatterns ('*' any run, '?' one
/// character), letter case ignored.
bool IsMediaFileName(std::string_view name);

/// folder and name joined by exactly one "/", so a file in the root "/"
/// plays as "/name", not "//name".
std::string JoinFolderAndName(const std::string& folder, const std::string& name);

/// The volumes worth offering in the drive list: "/", home, and the mount
/// points under /media, /run/media and /mnt listed in mountsText (the text
/// of /proc/self/mounts, whose "\040"-style escapes are decoded).
std::vector<std::string> BrowsableVolumes(std::string_view mountsText, const std::string& home);

class LocalFiles {
public:
    /// takingPlayer runs before a file is given to the player (a channel
    /// still being probed must not play over it).
    LocalFiles(ui::MainWindow& form, platform::SettingsStore& settings, platform::Player& player,
               std::function<void()> takingPlayer = {});

    /// Fills the drive list with these volume roots, in this order.
    void setDrives(std::vector<std::string> roots);
    /// The lists' start before anything is restored: the drive that holds
    /// folder, and folder in the folder and file lists. Nothing is saved.
    /// False when folder cannot be read (the lists keep what they had).
    bool showStartFolder(const std::string& folder);

    /// Drive change (the user picked drive): the folder list moves to the
    /// drive's root, unless it cannot be read (it then keeps its folder);
    /// "Drive" is saved either way.
    void chooseDrive(const std::string& drive);
    /// Folder change (the folder list's path becomes path): saves "Dir" and
    /// shows the folder's media files. False, with nothing changed or saved,
    /// when the folder cannot be read.
    bool showFolder(const std::string& path);
    /// The user opened entry index of the folder list.
    bool openFolder(int index);
    /// File click: plays the file at once (no test, no report).
    void playFile(int index);
    /// Start-up: the saved drive, then the saved folder in the folder list,
    /// then in the file list; each step on its own, a failing one skipped
    /// without a word.
    void RestoreAtStartup();

    /// Full path of folder-list entry index ("" out of range); entries show
    /// the drive root, the folders down to the current one, then its
    /// subfolders.
    const std::string& folderPath(int index) const;
    /// Indent level of folder-list entry index: 0 for the drive root.
    int folderDepth(int index) const;

private:
    bool setDrive(const std::string& drive);
    bool setDirPath(const std::string& path);
    bool setFilePath(const std::string& path);
    void folderChanged();
    std::string driveRootFor(const std::string& path) const;

    ui::MainWindow& form_;
    platform::SettingsStore& settings_;
    platform::Player& player_;
    std::function<void()> takingPlayer_;
    std::vector<std::string> drives_;
    std::vector<std::string> folderPaths_;
    std::vector<int> folderDepths_;
};

}  // namespace cd::mainwindow
