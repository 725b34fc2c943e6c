#include "mainwindow/local_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/memory_settings_store.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace cd::mainwindow {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// Two volumes: "disk" with a music folder tree, and "stick".
class LocalFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        disk = (tmp.path() / "disk").string();
        stick = (tmp.path() / "stick").string();
        fs::create_directories(disk + "/Music/Rock/Live");
        fs::create_directories(disk + "/Music/alpha");
        fs::create_directories(disk + "/Music/.cache");
        fs::create_directories(disk + "/Video");
        fs::create_directories(stick + "/Clips");
        for (const char* name : {"a.MP3", "b.txt", "c.dvr-ms", ".hidden.mp3", "Z.wav", "d.Mpeg", "notes.mp3.txt"})
            tmp.write("disk/Music/" + std::string(name), "x");
        fs::create_directory(disk + "/Music/folder.mp3");  // a folder, not a file
        tmp.write("disk/Music/Rock/song.wma", "x");
        tmp.write("stick/clip.mov", "x");
        files.setDrives({disk, stick});
    }

    test::TempDir tmp;
    std::string disk, stick;
    ui::MainWindow form;
    platform::MemorySettingsStore settings;
    test::FakePlayer player;
    LocalFiles files{form, settings, player};
};

// Catches a pattern list that is case-sensitive, misses an extension, or lets ".txt" in.
TEST(MediaFilePatterns, MatchEveryListedTypeInAnyCaseAndNothingElse) {
    const Strings listed = {"asf", "wma",  "wmv",  "wm",   "wax", "wvx",  "wmx", "wpl",  "dvr-ms", "wmd", "avi",
                            "mpg", "mpeg", "m1v",  "mp2",  "mp3", "mpa",  "mpe", "mpv2", "m3u",    "mid", "midi",
                            "rmi", "aif",  "aifc", "aiff", "au",  "snd",  "wav", "cda",  "ivf",    "mov", "qt",
                            "mp4", "mkv",  "webm", "flac", "ogg", "opus", "m4a", "aac"};
    ASSERT_EQ(listed.size(), 41u);
    for (const auto& ext : listed) {
        EXPECT_TRUE(IsMediaFileName("clip." + ext)) << ext;
        std::string upper = ext;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(IsMediaFileName("CLIP." + upper)) << upper;
    }
    for (const char* name :
         {"notes.txt", "mp3", "song.mp3.txt", "x.wmz", "x.mp4a", "x.mkv2", "x.ogv.part", "x.mpeg2", "x.q", ""})
        EXPECT_FALSE(IsMediaFileName(name)) << name;
    EXPECT_TRUE(IsMediaFileName(".mp3")) << "the pattern itself matches a bare extension";
    EXPECT_TRUE(IsMediaFileName("two.dots.Au"));
}

// Catches a doubled separator for files in the root, or a lost one elsewhere.
TEST(JoinFolderAndName, AlwaysOneSeparator) {
    EXPECT_EQ(JoinFolderAndName("/", "song.mp3"), "/song.mp3");
    EXPECT_EQ(JoinFolderAndName("/home/me/Music", "song.mp3"), "/home/me/Music/song.mp3");
    EXPECT_EQ(JoinFolderAndName("/media/stick/", "a b.wav"), "/media/stick/a b.wav");
}

// Catches removable media missed, escaped blanks left in, or system mounts offered as drives.
TEST(BrowsableVolumes, RootHomeAndRemovableMounts) {
    const std::string mounts =
        "proc /proc proc rw 0 0\n"
        "/dev/sda1 / ext4 rw 0 0\n"
        "/dev/sdb1 /media/me/MY\\040STICK vfat rw 0 0\n"
        "/dev/sdc1 /run/media/me/CAMERA exfat rw 0 0\n"
        "tmpfs /run/user/1000 tmpfs rw 0 0\n"
        "/dev/sdd1 /mnt/backup ext4 rw 0 0\n"
        "/dev/sdb1 /media/me/MY\\040STICK vfat rw 0 0\n";
    EXPECT_EQ(BrowsableVolumes(mounts, "/home/me/"),
              (Strings{"/", "/home/me", "/media/me/MY STICK", "/run/media/me/CAMERA", "/mnt/backup"}));
    EXPECT_EQ(BrowsableVolumes("", ""), (Strings{"/"}));
}

// Catches other files shown, hidden files shown, folders taken for files, or an unsorted list.
TEST_F(LocalFilesTest, FileListShowsOnlyMediaFilesSortedWithoutRegardToCase) {
    ASSERT_TRUE(files.showFolder(disk + "/Music"));
    EXPECT_EQ(form.fileList->current(), disk + "/Music");
    EXPECT_EQ(form.fileList->entries(), (Strings{"a.MP3", "c.dvr-ms", "d.Mpeg", "Z.wav"}));
}

// Catches a folder list that is not the tree from the drive root down plus the sorted subfolders.
TEST_F(LocalFilesTest, FolderListIsThePathFromTheDriveRootThenSubfolders) {
    ASSERT_TRUE(files.showFolder(disk + "/Music/Rock"));
    EXPECT_EQ(form.folderList->current(), disk + "/Music/Rock");
    EXPECT_EQ(form.folderList->entries(), (Strings{disk, "Music", "Rock", "Live"}));
    EXPECT_EQ(form.folderList->selectedIndex(), 2);
    EXPECT_EQ(files.folderPath(0), disk);
    EXPECT_EQ(files.folderPath(1), disk + "/Music");
    EXPECT_EQ(files.folderPath(3), disk + "/Music/Rock/Live");
    EXPECT_EQ(files.folderDepth(0), 0);
    EXPECT_EQ(files.folderDepth(2), 2);
    EXPECT_EQ(files.folderDepth(3), 3);
    EXPECT_EQ(files.folderPath(4), "");

    ASSERT_TRUE(files.showFolder(disk + "/Music/"));
    EXPECT_EQ(form.folderList->entries(), (Strings{disk, "Music", "alpha", "folder.mp3", "Rock"}));

    // Opening an entry goes there, and up the tree as well as down.
    ASSERT_TRUE(files.openFolder(4));
    EXPECT_EQ(form.folderList->current(), disk + "/Music/Rock");
    ASSERT_TRUE(files.openFolder(0));
    EXPECT_EQ(form.folderList->current(), disk);
    EXPECT_EQ(form.folderList->entries(), (Strings{disk, "Music", "Video"}));
    EXPECT_FALSE(files.openFolder(7));
}

// Catches a folder change that forgets to encryptAndSaveButton "Dir" or to refresh the file list.
TEST_F(LocalFilesTest, FolderChangeSavesDirAndRefreshesTheFiles) {
    ASSERT_TRUE(files.showFolder(disk + "/Music/Rock"));
    EXPECT_EQ(settings.get("Dir", "?"), disk + "/Music/Rock");
    EXPECT_EQ(form.fileList->entries(), (Strings{"song.wma"}));
    EXPECT_FALSE(settings.contains("Drive"));
}

// Catches a vanished folder wiping the lists or being saved.
TEST_F(LocalFilesTest, FolderThatCannotBeReadChangesNothing) {
    ASSERT_TRUE(files.showFolder(disk + "/Music"));
    EXPECT_FALSE(files.showFolder(disk + "/Gone"));
    EXPECT_FALSE(files.showFolder(""));
    EXPECT_FALSE(files.showFolder(disk + "/Music/a.MP3"));
    EXPECT_EQ(form.folderList->current(), disk + "/Music");
    EXPECT_EQ(form.fileList->entries().size(), 4u);
    EXPECT_EQ(settings.get("Dir", ""), disk + "/Music");
}

// Catches a drive change that skips saving "Drive", or does not move the folder list to the drive.
TEST_F(LocalFilesTest, DriveChangeMovesToTheDriveRootAndSavesBoth) {
    ASSERT_TRUE(files.showFolder(disk + "/Music"));
    files.chooseDrive(stick);
    EXPECT_EQ(form.driveList->current(), stick);
    EXPECT_EQ(form.driveList->selectedIndex(), 1);
    EXPECT_EQ(form.folderList->current(), stick);
    EXPECT_EQ(form.folderList->entries(), (Strings{stick, "Clips"}));
    EXPECT_EQ(form.fileList->entries(), (Strings{"clip.mov"}));
    EXPECT_EQ(settings.get("Drive", ""), stick);
    EXPECT_EQ(settings.get("Dir", ""), stick);
}

// Catches a drive that is not there clearing the lists, or its choice not being remembered.
TEST_F(LocalFilesTest, DriveWithoutMediumKeepsTheListsAndStillSavesTheDrive) {
    ASSERT_TRUE(files.showFolder(disk + "/Music"));
    fs::remove_all(stick);
    files.chooseDrive(stick);
    EXPECT_EQ(form.folderList->current(), disk + "/Music");
    EXPECT_EQ(form.fileList->current(), disk + "/Music");
    EXPECT_EQ(form.fileList->entries().size(), 4u);
    EXPECT_EQ(settings.get("Drive", ""), stick);
    EXPECT_EQ(settings.get("Dir", ""), disk + "/Music");
}

// Catches a click that plays a wrong path, adds a separator twice, or tests/reports the file.
TEST_F(LocalFilesTest, FileClickPlaysTheFullPathAtOnce) {
    ASSERT_TRUE(files.showFolder(disk + "/Music"));
    files.playFile(3);
    ASSERT_EQ(player.urls.size(), 1u);
    EXPECT_EQ(player.urls[0], disk + "/Music/Z.wav");
    EXPECT_TRUE(fs::exists(player.urls[0]));
    EXPECT_EQ(form.fileList->selectedIndex(), 3);
    files.playFile(4);
    files.playFile(-1);
    EXPECT_EQ(player.urls.size(), 1u) << "a click beside the entries plays nothing";
}

// Catches the drive's root joined with a doubled separator when the folder is a drive root.
TEST_F(LocalFilesTest, FileInADriveRootJoinsWithOneSeparator) {
    files.chooseDrive(stick);
    files.playFile(0);
    ASSERT_EQ(player.urls.size(), 1u);
    EXPECT_EQ(player.urls[0], stick + "/clip.mov");
}

// Catches start-up losing the saved folder: the drive change saves the drive root as "Dir" first.
TEST_F(LocalFilesTest, RestoreBringsBackDriveAndTheSavedFolder) {
    settings.set("Drive", disk);
    settings.set("Dir", disk + "/Music/Rock");
    files.RestoreAtStartup();
    EXPECT_EQ(form.driveList->current(), disk);
    EXPECT_EQ(form.folderList->current(), disk + "/Music/Rock");
    EXPECT_EQ(form.fileList->current(), disk + "/Music/Rock");
    EXPECT_EQ(form.fileList->entries(), (Strings{"song.wma"}));
    EXPECT_EQ(settings.get("Dir", ""), disk + "/Music/Rock");
    EXPECT_EQ(settings.get("Drive", ""), disk);
}

// Catches one failing restore step stopping the others.
TEST_F(LocalFilesTest, RestoreSkipsAVanishedDriveAndStillRestoresTheFolder) {
    ASSERT_TRUE(files.showStartFolder(stick));
    settings.set("Drive", tmp.path().string() + "/unplugged");
    settings.set("Dir", disk + "/Music");
    files.RestoreAtStartup();
    EXPECT_EQ(form.driveList->current(), stick) << "the drive list keeps its start value";
    EXPECT_EQ(form.folderList->current(), disk + "/Music");
    EXPECT_EQ(form.folderList->entries().front(), disk);
    EXPECT_EQ(form.fileList->entries().size(), 4u);
}

// Catches a vanished saved folder raising an error or emptying the lists.
TEST_F(LocalFilesTest, RestoreSkipsAVanishedFolderSilently) {
    settings.set("Drive", disk);
    settings.set("Dir", disk + "/Removed");
    files.RestoreAtStartup();
    EXPECT_EQ(form.driveList->current(), disk);
    EXPECT_EQ(form.folderList->current(), disk);
    EXPECT_EQ(form.fileList->current(), disk);
}

// Catches empty settings moving the lists away from the process's start folder.
TEST_F(LocalFilesTest, RestoreWithNoSavedValuesKeepsTheStartFolder) {
    ASSERT_TRUE(files.showStartFolder(disk + "/Music/"));
    EXPECT_EQ(form.driveList->current(), disk);
    EXPECT_EQ(form.driveList->selectedIndex(), 0);
    EXPECT_FALSE(settings.contains("Dir")) << "showing the start folder saves nothing";
    files.RestoreAtStartup();
    EXPECT_EQ(form.driveList->current(), disk);
    EXPECT_EQ(form.folderList->current(), disk + "/Music");
    EXPECT_EQ(form.fileList->current(), disk + "/Music");
    EXPECT_FALSE(settings.contains("Drive"));
    EXPECT_FALSE(settings.contains("Dir"));
}

// Catches the drive list not offering the volumes given, or a folder outside every volume breaking the tree.
TEST_F(LocalFilesTest, DrivesAreListedAndForeignFoldersHangFromTheRoot) {
    EXPECT_EQ(form.driveList->entries(), (Strings{disk, stick}));
    const std::string outside = tmp.path().string();  // holds both volumes, lies in neither
    ASSERT_TRUE(files.showFolder(outside));
    const auto& entries = form.folderList->entries();
    ASSERT_GE(entries.size(), 4u);
    EXPECT_EQ(entries.front(), "/");
    const int current = form.folderList->selectedIndex();
    EXPECT_EQ(files.folderPath(current), outside);
    EXPECT_EQ(entries[static_cast<std::size_t>(current)], fs::path(outside).filename().string());
    EXPECT_EQ(files.folderPath(1), "/" + fs::path(outside).lexically_relative("/").begin()->string());
    EXPECT_EQ(Strings(entries.end() - 2, entries.end()), (Strings{"disk", "stick"}));
}

}  // namespace
}  // namespace cd::mainwindow
