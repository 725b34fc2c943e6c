#include "support/server_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace cd::test {

namespace {

// Starts argv with its standard output on a pipe; the read end, or -1.
pid_t spawn(const std::vector<std::string>& argv, int& readEnd) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return -1;
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        const int null = ::open("/dev/null", O_RDONLY);
        if (null >= 0) ::dup2(null, STDIN_FILENO);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        return -1;
    }
    readEnd = fds[0];
    return pid;
}

int statusOf(int raw) {
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
    return -1;
}

}  // namespace

CommandRun runCapturing(const std::vector<std::string>& argv) {
    CommandRun run;
    int out = -1;
    const pid_t pid = spawn(argv, out);
    if (pid < 0) return run;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(out, buf, sizeof buf);
        if (n > 0) {
            run.out.append(buf, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    ::close(out);
    int raw = 0;
    while (::waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
    }
    run.status = statusOf(raw);
    return run;
}

ServerProcess::ServerProcess(ServerProcessOptions options) : options_(std::move(options)) {
    if (options_.dataDir.empty()) {
        ownDir_ = std::make_unique<TempDir>();
        dataDir_ = ownDir_->path() / "data";
    } else {
        dataDir_ = options_.dataDir;
    }
}

ServerProcess::~ServerProcess() {
    if (running()) stop();
}

bool ServerProcess::start(std::string* error, std::chrono::milliseconds timeout) {
    std::vector<std::string> argv = {options_.executable, "--listen", "127.0.0.1:0", "--data", dataDir_.string()};
    if (!options_.databaseUrl.empty()) {
        argv.push_back("--database");
        argv.push_back(options_.databaseUrl);
    }
    argv.insert(argv.end(), options_.extraArgs.begin(), options_.extraArgs.end());
    const auto begin = std::chrono::steady_clock::now();
    pid_ = spawn(argv, out_);
    if (pid_ < 0) {
        if (error) *error = "cannot start " + options_.executable;
        return false;
    }
    // The server's one line on standard output names the address it took.
    std::string said;
    const auto deadline = begin + timeout;
    static constexpr std::string_view kListening = "listening on 127.0.0.1:";
    for (;;) {
        const auto at = said.find(kListening);
        if (at != std::string::npos && said.find('\n', at) != std::string::npos) {
            startup_ = std::chrono::steady_clock::now() - begin;
            port_ = std::stoi(said.substr(at + kListening.size()));
            return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p{out_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
        char buf[512];
        const ssize_t n = ::read(out_, buf, sizeof buf);
        if (n <= 0) break;
        said.append(buf, static_cast<std::size_t>(n));
    }
    kill();
    if (error) *error = "channeldeck-server did not come up; it said: " + said;
    return false;
}

std::string ServerProcess::host() const { return "127.0.0.1:" + std::to_string(port_); }

std::string ServerProcess::url(const std::string& path) const { return "http://" + host() + path; }

int ServerProcess::waitForExit() {
    int raw = 0;
    while (::waitpid(pid_, &raw, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (out_ >= 0) ::close(out_);
    out_ = -1;
    return statusOf(raw);
}

int ServerProcess::stop() {
    if (!running()) return -1;
    ::kill(pid_, SIGTERM);
    return waitForExit();
}

void ServerProcess::kill() {
    if (!running()) return;
    ::kill(pid_, SIGKILL);
    waitForExit();
}

CommandRun ServerProcess::command(const std::vector<std::string>& args) const {
    std::vector<std::string> argv = {options_.executable};
    argv.insert(argv.end(), args.begin(), args.end());
    argv.push_back("--data");
    argv.push_back(dataDir_.string());
    if (!options_.databaseUrl.empty()) {
        argv.push_back("--database");
        argv.push_back(options_.databaseUrl);
    }
    return runCapturing(argv);
}

std::string ServerProcess::ownerToken() const {
    auto run = command({"token"});
    while (!run.out.empty() && (run.out.back() == '\n' || run.out.back() == '\r')) run.out.pop_back();
    return run.status == 0 ? run.out : "";
}

}  // namespace cd::test
