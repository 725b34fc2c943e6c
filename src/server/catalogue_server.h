#pragma once
// channeldeck-server: one process of the catalogue server. It owns the HTTP
// loop, the report committer with its own store connection, a second
// connection for everything else, a few workers and a background refresh of
// the shared state (published catalogue, owner's token). Everything that
// must outlive the process is in the store, so any number of processes can
// serve one PostgreSQL database.
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "clock.h"
#include "fixed_files.h"
#include "http/event_server.h"
#include "intake/group_committer.h"
#include "intake/rate_limiter.h"
#include "intake/report_intake.h"
#include "owner/owner_pages.h"
#include "owner/owner_token.h"
#include "publish/catalogue_cache.h"
#include "storage/open_store.h"
#include "worker_pool.h"

namespace cd::server {

struct ServerConfig {
    std::string listen = "127.0.0.1:8080";
    std::filesystem::path dataDir;
    /// "" for SQLite in dataDir.
    std::string databaseUrl;
    /// Reports a second per client address (burst ten times that); 0: no limit.
    double rateLimit = 20;
    /// SQLite: wait for the disk on every commit.
    bool fullSync = true;
    std::size_t workers = 2;
    http::ServerLimits limits;
};

class CatalogueServer final : public http::RequestHandler {
public:
    CatalogueServer(ServerConfig config, const Clock& clock);
    ~CatalogueServer() override;

    /// Opens the stores (creating the data folder, the tables and the
    /// owner's token when missing) and the listening socket.
    bool open(std::string* error);
    /// "ADDR:PORT" actually listened on.
    std::string boundAddress() const { return http_.boundAddress(); }
    int port() const { return http_.port(); }

    /// Serves on the calling thread until stop(); every report answered
    /// before it returns is committed.
    void run();
    /// Safe from any thread.
    void stop();

    http::HeadDecision onHead(const http::Request& head) override;
    void handle(http::Request request, http::Responder respond) override;

private:
    void serveCatalogue(const http::Request& request, const http::Responder& respond);
    http::Response publishUpload(const http::Request& request);
    void offload(http::Request request, http::Responder respond);
    void refreshLoop();

    ServerConfig config_;
    const Clock& clock_;
    std::unique_ptr<storage::ReportStore> intakeStore_;
    std::unique_ptr<storage::ReportStore> serviceStore_;
    std::unique_ptr<intake::GroupCommitter> committer_;
    intake::RateLimiter limiter_;
    std::unique_ptr<intake::ReportIntake> intake_;
    std::unique_ptr<publish::CatalogueCache> catalogue_;
    std::unique_ptr<owner::OwnerGate> gate_;
    std::unique_ptr<owner::OwnerPages> ownerPages_;
    std::unique_ptr<FixedFiles> files_;
    std::unique_ptr<WorkerPool> workers_;
    http::EventServer http_;

    std::mutex refreshMutex_;
    std::condition_variable refreshWake_;
    bool stopping_ = false;
    std::thread refresher_;
};

}  // namespace cd::server
