// channeldeck-server: the catalogue server the program reports to.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <iostream>
#include <thread>

#include "catalogue_server.h"
#include "owner/owner_token.h"
#include "publish/catalogue_check.h"
#include "publish/publisher.h"
#include "server_options.h"
#include "util/files.h"

namespace {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;

int serve(const cd::server::ServerConfig& config) {
    // Signals are taken by one thread with sigwait, so they are blocked in
    // every thread before any is started.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    // Every open connection takes a descriptor.
    rlimit files{};
    if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &files);
    }

    cd::server::SystemClock clock;
    cd::server::CatalogueServer server(config, clock);
    std::string error;
    if (!server.open(&error)) {
        std::cerr << "channeldeck-server: " << error << "\n";
        return kFailed;
    }
    // run() returns only after this thread's stop(); it is joined before the
    // server goes, so stop() never touches a server that is gone.
    std::thread signalWaiter([&server, signals] {
        int sig = 0;
        sigwait(&signals, &sig);
        server.stop();
    });
    std::cout << "channeldeck-server: listening on " << server.boundAddress()
              << " (store: " << (config.databaseUrl.empty() ? "sqlite" : "postgresql") << ")" << std::endl;
    server.run();
    signalWaiter.join();
    return kOk;
}

std::unique_ptr<cd::server::storage::ReportStore> openStore(const cd::server::ServerConfig& config) {
    std::error_code ec;
    std::filesystem::create_directories(config.dataDir, ec);
    std::string error;
    auto store = cd::server::storage::openStore({config.dataDir, config.databaseUrl, config.fullSync}, &error);
    if (!store) std::cerr << "channeldeck-server: " << error << "\n";
    return store;
}

int publish(const cd::server::ServerOptions& options) {
    const auto body = cd::util::readFile(options.publishFile);
    if (!body) {
        std::cerr << "channeldeck-server: cannot read " << options.publishFile << "\n";
        return kFailed;
    }
    if (body->size() > cd::server::publish::kMaxCatalogueBytes) {
        std::cerr << "channeldeck-server: Not published: the file is larger than 64 MiB.\n";
        return kFailed;
    }
    auto store = openStore(options.config);
    if (!store) return kFailed;
    cd::server::SystemClock clock;
    const auto result = cd::server::publish::publishCatalogue(*store, *body, clock.unixSeconds());
    (result.ok ? std::cout : std::cerr) << (result.ok ? "" : "channeldeck-server: ") << result.message << "\n";
    return result.ok ? kOk : kFailed;
}

int token(const cd::server::ServerOptions& options) {
    auto store = openStore(options.config);
    if (!store) return kFailed;
    const auto t = cd::server::owner::ensureToken(*store, options.newToken);
    if (!t) {
        std::cerr << "channeldeck-server: cannot read or store the token: " << store->lastError() << "\n";
        return kFailed;
    }
    std::cout << *t << "\n";
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    // The store holds the owner's token and the clients' addresses: files
    // the server makes are for its own user only.
    ::umask(0077);
    std::string error;
    const auto options = cd::server::parseServerOptions(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::cerr << "channeldeck-server: " << error << "\n\n" << cd::server::serverUsage();
        return kUsage;
    }
    switch (options->command) {
        case cd::server::ServerOptions::Command::Help:
            std::cout << cd::server::serverUsage();
            return kOk;
        case cd::server::ServerOptions::Command::Version:
            std::cout << "channeldeck-server " CD_SERVER_VERSION "\n";
            return kOk;
        case cd::server::ServerOptions::Command::Publish:
            return publish(*options);
        case cd::server::ServerOptions::Command::Token:
            return token(*options);
        case cd::server::ServerOptions::Command::Serve:
            break;
    }
    return serve(options->config);
}
