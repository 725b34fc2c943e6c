#pragma once
// A real channeldeck-server process on a free loopback port, with a fresh
// temporary data folder (or a given one), stopped when the object dies.
// For tests that drive the server over HTTP, kill it, or point the real
// program at it:
//
//     cd::test::ServerProcess server({CD_SERVER_PATH});
//     ASSERT_TRUE(server.start());
//     ... "--catalogue-host", server.host() ...
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace cd::test {

struct ServerProcessOptions {
    /// The channeldeck-server executable.
    std::string executable;
    /// The data folder; empty for a temporary one that goes with the object.
    std::filesystem::path dataDir;
    /// "" for SQLite in the data folder, else a postgresql:// address.
    std::string databaseUrl;
    /// More options, e.g. {"--rate-limit", "0"}.
    std::vector<std::string> extraArgs;
};

struct CommandRun {
    int status = -1;  // the exit status; 128 + N when signal N ended it
    std::string out;
};

class ServerProcess {
public:
    explicit ServerProcess(ServerProcessOptions options);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    /// Starts the server on 127.0.0.1 and waits until it says it listens.
    /// False, with error, when it ends or stays silent for timeout.
    bool start(std::string* error = nullptr, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    bool running() const { return pid_ > 0; }

    int port() const { return port_; }
    /// "127.0.0.1:PORT", what the program takes as a host.
    std::string host() const;
    /// "http://127.0.0.1:PORT" + path.
    std::string url(const std::string& path) const;
    const std::filesystem::path& dataDir() const { return dataDir_; }
    pid_t pid() const { return pid_; }
    /// From the start of the process to its line saying it listens.
    std::chrono::nanoseconds startupTime() const { return startup_; }

    /// Asks the server to stop (SIGTERM) and waits; its exit status.
    int stop();
    /// Ends it with SIGKILL and waits.
    void kill();

    /// Runs "channeldeck-server ARGS --data DIR [--database URL]" on the
    /// same store (publish, token).
    CommandRun command(const std::vector<std::string>& args) const;
    /// The owner's token ("" when it cannot be read).
    std::string ownerToken() const;

private:
    int waitForExit();

    ServerProcessOptions options_;
    std::unique_ptr<TempDir> ownDir_;
    std::filesystem::path dataDir_;
    pid_t pid_ = -1;
    int out_ = -1;
    int port_ = 0;
    std::chrono::nanoseconds startup_{0};
};

/// Runs argv (argv[0] a path) and gathers its standard output.
CommandRun runCapturing(const std::vector<std::string>& argv);

}  // namespace cd::test
