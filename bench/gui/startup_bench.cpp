// Start-up of the real program on a 1,000- and a 100,000-channel catalogue
// (the difference is what the catalogue costs): from launching
// the process to its first window (the splash) and to the main window on
// screen, and the program's memory at that point. The program measures
// itself (--measure-startup) and closes; this side only launches it.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "generated_catalogue.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

/// Runs the program once; the "key=value" fields of its start-up line, or
/// an empty map when it did not print one.
std::map<std::string, long long> runOnce(const std::filesystem::path& root, long long* launchedNs) {
    const std::string dataDir = (root / "data").string();
    std::vector<std::string> args = {CD_APP_PATH, "--data-dir", dataDir, "--measure-startup"};
    // The program's settings, registry and caches in root, never the user's;
    // nothing leaves the machine (every server is a closed local port).
    std::vector<std::string> env = {
        "XDG_CONFIG_HOME=" + (root / "config").string(), "XDG_DATA_HOME=" + (root / "share").string(),
        "XDG_CACHE_HOME=" + (root / "cache").string(), "CHANNELDECK_REGISTRY_DIR=" + (root / "registry").string()};
    for (const char* name : {"CATALOGUE", "LANGUAGE", "BANNER", "VIDEO", "VIDEO_REGIONAL", "VIDEO_PLAYER"})
        env.push_back(std::string("CHANNELDECK_") + name + "_HOST=127.0.0.1:9");
    // The rest of the environment (DISPLAY, ...) as inherited; a name set
    // above must not come twice, since the first one found would win.
    const std::size_t own = env.size();
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool overridden = false;
        for (std::size_t i = 0; i < own; ++i) overridden = overridden || env[i].rfind(name, 0) == 0;
        if (!overridden) env.push_back(entry);
    }
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    int out[2];
    if (::pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t pid = 0;
    *launchedNs = nowNs();
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string text;
    if (rc == 0) {
        // A program that never shows its main window (a modal dialog it
        // should not have opened) is ended after a minute, not waited for.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        char buf[4096];
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p{out[0], POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) == 0) {
                ::kill(pid, SIGKILL);
                text.clear();
                break;
            }
            const ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n > 0)
                text.append(buf, static_cast<std::size_t>(n));
            else if (n == 0 || errno != EINTR)
                break;
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
    ::close(out[0]);

    std::map<std::string, long long> fields;
    const auto at = text.find("startup ");
    if (at == std::string::npos) return fields;
    std::istringstream line(text.substr(at + 8));
    std::string field;
    while (line >> field) {
        const auto eq = field.find('=');
        if (eq != std::string::npos) fields[field.substr(0, eq)] = std::stoll(field.substr(eq + 1));
    }
    return fields;
}

void BM_StartupToMainWindow(benchmark::State& state) {
    cd::test::TempDir root;
    std::filesystem::create_directories(root / "data");
    std::filesystem::create_directories(root / "config" / "ChannelDeck");
    root.write("data/Data.txt", cd::bench::generateCatalogue(static_cast<int>(state.range(0))));
    // Not a first run: no language window, no help page.
    root.write("config/ChannelDeck/ChannelDeck.ini", "[Settings]\nLanguage=English\nshowHelp=0\nTVLang=All\n");
    double firstMs = 0, rssMb = 0, hwmMb = 0, rows = 0;
    for (auto _ : state) {
        long long launched = 0;
        const auto f = runOnce(root.path(), &launched);
        if (!f.count("main_window_ns")) {
            state.SkipWithError("the program did not report its start-up (is DISPLAY set?)");
            return;
        }
        state.SetIterationTime(static_cast<double>(f.at("main_window_ns") - launched) / 1e9);
        firstMs += static_cast<double>(f.at("first_window_ns") - launched) / 1e6;
        rssMb += static_cast<double>(f.at("rss_kb")) / 1024;
        hwmMb += static_cast<double>(f.at("hwm_kb")) / 1024;
        rows += static_cast<double>(f.at("rows"));
    }
    using C = benchmark::Counter;
    state.counters["first_window_ms"] = C(firstMs, C::kAvgIterations);
    state.counters["rss_MB"] = C(rssMb, C::kAvgIterations);
    state.counters["peak_rss_MB"] = C(hwmMb, C::kAvgIterations);
    state.counters["rows"] = C(rows, C::kAvgIterations);
}

}  // namespace

// Each iteration is one whole launch; the reported time is to the main window.
BENCHMARK(BM_StartupToMainWindow)
    ->Arg(1'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);
