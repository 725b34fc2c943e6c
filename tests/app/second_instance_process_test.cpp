// Two runs of the real channeldeck program on one program folder that they
// may not write (a shared installation), as an unprivileged user: the first
// must hold the folder, the second must end on its own without showing a
// window (not even the first-run language window, which would wait for a
// click) and without writing anything of its own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "mainwindow/single_instance.h"
#include "support/temp_dir.h"

extern char** environ;

namespace cd::app {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr uid_t kNobody = 65534;

std::string findSetpriv() {
    for (const char* dir : {"/usr/bin", "/bin", "/usr/sbin", "/sbin"}) {
        const fs::path p = fs::path(dir) / "setpriv";
        if (::access(p.c_str(), X_OK) == 0) return p.string();
    }
    return {};
}

std::size_t entriesIn(const fs::path& dir) {
    std::error_code ec;
    std::size_t n = 0;
    for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        ++n;
    return n;
}

// One run of the program; killed and reaped on every path out of a test.
class ProgramRun {
public:
    ProgramRun(const std::vector<std::string>& args, const std::vector<std::string>& env, const fs::path& errFile) {
        std::vector<char*> argv, envp;
        std::vector<std::string> a = args, e = env;
        for (auto& s : a) argv.push_back(s.data());
        argv.push_back(nullptr);
        for (auto& s : e) envp.push_back(s.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ProgramRun() { stop(); }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool started() const { return pid_ > 0; }
    /// True while the process runs.
    bool running() {
        if (pid_ <= 0) return false;
        if (::waitpid(pid_, &status_, WNOHANG) == pid_) pid_ = -1;
        return pid_ > 0;
    }
    /// Waits up to limit for the process to end; its exit status, or -1
    /// when it did not end by itself (or was ended by a signal).
    int waitExit(std::chrono::seconds limit) {
        const auto deadline = Clock::now() + limit;
        while (running() && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (running()) return -1;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }
    void stop() {
        if (!running()) return;
        ::kill(pid_, SIGTERM);
        if (waitExit(std::chrono::seconds(10)) == -1 && pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status_, 0);
        }
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int status_ = 0;
};

// Catches the single-instance rule failing on a folder the user may not
// write (both instances run), and a second instance that shows the splash
// or the first-run language window, or writes settings, caches or registry
// files, before it ends.
TEST(SecondInstance, RealProgramOnAReadOnlyFolderEndsAtOnceAndWritesNothing) {
    const bool root = ::geteuid() == 0;
    const std::string setpriv = findSetpriv();
    // Root ignores permissions: the runs must be an unprivileged user.
    if (root && setpriv.empty()) GTEST_SKIP() << "setpriv is missing: the runs cannot drop root's privileges";
    const char* display = std::getenv("DISPLAY");
    ASSERT_TRUE(display && *display) << "needs an X display (run under xvfb-run)";

    test::TempDir top;
    const fs::path base = top.path();
    const auto chownTree = [&](const fs::path& p) {
        if (!root) return;
        ASSERT_EQ(::chown(p.c_str(), kNobody, kNobody), 0) << p;
        for (const auto& e : fs::recursive_directory_iterator(p))
            ASSERT_EQ(::lchown(e.path().c_str(), kNobody, kNobody), 0) << e.path();
    };
    fs::permissions(base, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    const fs::path folder = base / "program";
    fs::create_directories(folder);
    top.write("program/Data.txt", "");
    const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(folder, readOnly);

    // Each run has a home of its own; the first is no first run, the second is.
    std::vector<fs::path> homes = {base / "home1", base / "home2"};
    for (const auto& h : homes) {
        fs::create_directories(h / "config");
        fs::create_directories(h / "run");
        fs::permissions(h / "run", fs::perms::owner_all);
    }
    fs::create_directories(homes[0] / "config" / "ChannelDeck");
    top.write("home1/config/ChannelDeck/ChannelDeck.ini", "[Settings]\nLanguage=English\nshowHelp=0\n");
    for (const auto& h : homes) chownTree(h);

    // The display's key, readable by the unprivileged runs.
    std::string xauth;
    if (const char* x = std::getenv("XAUTHORITY"); x && *x && fs::exists(x)) {
        xauth = (base / "Xauthority").string();
        fs::copy_file(x, xauth);
        fs::permissions(xauth, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    }

    const auto envFor = [&](const fs::path& home) {
        std::vector<std::string> env = {"DISPLAY=" + std::string(display),
                                        "HOME=" + home.string(),
                                        "XDG_CONFIG_HOME=" + (home / "config").string(),
                                        "XDG_DATA_HOME=" + (home / "share").string(),
                                        "XDG_CACHE_HOME=" + (home / "cache").string(),
                                        "XDG_RUNTIME_DIR=" + (home / "run").string(),
                                        "CHANNELDECK_REGISTRY_DIR=" + (home / "registry").string(),
                                        "PATH=/usr/bin:/bin",
                                        "QTWEBENGINE_DISABLE_SANDBOX=1",
                                        "QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox --disable-gpu",
                                        "LIBGL_ALWAYS_SOFTWARE=1"};
        if (!xauth.empty()) env.push_back("XAUTHORITY=" + xauth);
        // Every server the program might ask is a closed local port.
        for (const char* name : {"CATALOGUE", "LANGUAGE", "BANNER", "VIDEO", "VIDEO_REGIONAL", "VIDEO_PLAYER"})
            env.push_back(std::string("CHANNELDECK_") + name + "_HOST=127.0.0.1:9");
        return env;
    };
    std::vector<std::string> args;
    if (root) args = {setpriv, "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
    for (const char* a : {CD_APP_PATH, "--data-dir"}) args.emplace_back(a);
    args.push_back(folder.string());
    if (!root) {
        ASSERT_NE(::access(folder.c_str(), W_OK), 0) << "the folder must be read-only";
    }

    ProgramRun first(args, envFor(homes[0]), base / "first.err");
    ASSERT_TRUE(first.started());
    // The running instance holds the folder: a claim from here finds it taken.
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    bool held = false;
    while (!held && first.running() && Clock::now() < deadline) {
        held = mainwindow::SingleInstance::claim(folder).anotherInstanceRuns();
        if (!held) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!held) {
        ADD_FAILURE() << "the first run never held the read-only folder; it "
                      << (first.running() ? "still runs" : "ended") << ": " << top.read("first.err");
        if (!first.running()) return;
        // Let it reach its window, then see whether a second run starts beside it.
        std::this_thread::sleep_for(std::chrono::seconds(15));
    }
    const std::size_t programEntries = entriesIn(folder);
    const std::size_t homeEntries = entriesIn(homes[1]);

    ProgramRun second(args, envFor(homes[1]), base / "second.err");
    ASSERT_TRUE(second.started());
    const int status = second.waitExit(std::chrono::seconds(30));
    const std::string said = top.read("second.err");
    ASSERT_EQ(status, 0) << "the second run did not end by itself (a window waiting for a click?): " << said;
    EXPECT_NE(said.find("is already running for " + folder.string()), std::string::npos) << said;
    EXPECT_EQ(entriesIn(homes[1]), homeEntries) << "the second run wrote settings, caches or registry files";
    EXPECT_EQ(entriesIn(folder), programEntries);
    EXPECT_TRUE(first.running()) << "the first run ended: " << top.read("first.err");

    // The lock goes with the process that held it.
    first.stop();
    EXPECT_TRUE(mainwindow::SingleInstance::claim(folder).holdsLock());
}

}  // namespace
}  // namespace cd::app
