#include "catalogue_server.h"

#include <pthread.h>

#include "http/http_date.h"
#include "publish/catalogue_check.h"
#include "publish/conditional_get.h"
#include "publish/publisher.h"

namespace cd::server {

namespace {

constexpr std::string_view kReportPath = "/webtv/getData.asp";
constexpr std::string_view kCataloguePath = "/webtv/Data.htm";
constexpr std::size_t kLoginFormBytes = 4096;
constexpr std::size_t kQueuedTasks = 1024;

http::Response unauthorized() {
    return http::Response::text(401, "The owner's token is needed: Authorization: Bearer TOKEN.\n")
        .set("www-authenticate", "Bearer realm=\"owner\"");
}

}  // namespace

CatalogueServer::CatalogueServer(ServerConfig config, const Clock& clock)
    : config_(std::move(config)), clock_(clock), limiter_(config_.rateLimit), http_(*this, config_.limits) {}

CatalogueServer::~CatalogueServer() {
    stop();
    if (refresher_.joinable()) refresher_.join();
    if (workers_) workers_->stop();
    if (committer_) committer_->stop();
}

bool CatalogueServer::open(std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(config_.dataDir, ec);
    if (!std::filesystem::is_directory(config_.dataDir, ec)) {
        if (error) *error = "cannot use the data folder " + config_.dataDir.string();
        return false;
    }
    storage::StoreLocation location{config_.dataDir, config_.databaseUrl, config_.fullSync};
    location.checkpointAside = true;
    intakeStore_ = storage::openStore(location, error);
    location.checkpointAside = false;
    if (!intakeStore_) return false;
    serviceStore_ = storage::openStore(location, error);
    if (!serviceStore_) return false;
    if (!owner::ensureToken(*serviceStore_, false)) {
        if (error) *error = "cannot create the owner's token: " + serviceStore_->lastError();
        return false;
    }
    gate_ = std::make_unique<owner::OwnerGate>(*serviceStore_);
    catalogue_ = std::make_unique<publish::CatalogueCache>(*serviceStore_);
    if (!gate_->refresh() || !catalogue_->refresh()) {
        if (error) *error = "cannot read the store: " + serviceStore_->lastError();
        return false;
    }
    committer_ = std::make_unique<intake::GroupCommitter>(*intakeStore_);
    intake_ = std::make_unique<intake::ReportIntake>(*committer_, limiter_, clock_);
    ownerPages_ = std::make_unique<owner::OwnerPages>(*serviceStore_, *gate_, clock_);
    files_ = std::make_unique<FixedFiles>(config_.dataDir);
    workers_ = std::make_unique<WorkerPool>(config_.workers, kQueuedTasks);
    if (!http_.listen(config_.listen, error)) return false;
    refresher_ = std::thread([this] { refreshLoop(); });
    return true;
}

void CatalogueServer::run() {
    http_.run();
    {
        std::lock_guard lock(refreshMutex_);
        stopping_ = true;
    }
    refreshWake_.notify_all();
    if (refresher_.joinable()) refresher_.join();
    workers_->stop();
    committer_->stop();
}

void CatalogueServer::stop() {
    http_.stop();
    {
        std::lock_guard lock(refreshMutex_);
        stopping_ = true;
    }
    refreshWake_.notify_all();
}

void CatalogueServer::refreshLoop() {
    pthread_setname_np(pthread_self(), "cd-refresh");
    std::unique_lock lock(refreshMutex_);
    while (!refreshWake_.wait_for(lock, std::chrono::seconds(1), [this] { return stopping_; })) {
        lock.unlock();
        gate_->refresh();
        catalogue_->refresh();
        lock.lock();
    }
}

http::HeadDecision CatalogueServer::onHead(const http::Request& head) {
    // A report changes what is stored, so only GET (what the program sends)
    // records one; HEAD stays without effect.
    if (head.path == kReportPath && head.method != "GET")
        return {0, http::Response::text(405, "Reports are sent with GET.\n").set("allow", "GET")};
    if (head.path == kCataloguePath && head.method == "PUT") {
        // Refused before a byte of a large upload is read.
        const auto token = owner::bearerToken(head);
        if (!token || !gate_->matches(*token)) return {0, unauthorized()};
        return {publish::kMaxCatalogueBytes, std::nullopt};
    }
    if (head.path == "/owner/login" && head.method == "POST") return {kLoginFormBytes, std::nullopt};
    return {0, std::nullopt};
}

void CatalogueServer::handle(http::Request request, http::Responder respond) {
    if (request.path == kReportPath) {
        intake_->handle(request, respond);
    } else if (request.path == kCataloguePath) {
        if (request.method == "GET" || request.method == "HEAD")
            serveCatalogue(request, respond);
        else if (request.method == "PUT")
            offload(std::move(request), std::move(respond));
        else
            respond(http::Response::text(405, "Use GET, HEAD or PUT.\n").set("allow", "GET, HEAD, PUT"));
    } else if (owner::OwnerPages::owns(request.path) || files_->serves(request.path)) {
        offload(std::move(request), std::move(respond));
    } else {
        respond(http::Response::text(404, "Not found.\n"));
    }
}

void CatalogueServer::offload(http::Request request, http::Responder respond) {
    const bool queued = workers_->post([this, request = std::move(request), respond]() {
        if (owner::OwnerPages::owns(request.path)) {
            respond(ownerPages_->handle(request));
        } else if (request.path == kCataloguePath) {
            respond(publishUpload(request));
        } else if (request.method == "GET" || request.method == "HEAD") {
            respond(files_->answer(request.path));
        } else {
            respond(http::Response::text(405, "Use GET or HEAD.\n").set("allow", "GET, HEAD"));
        }
    });
    if (!queued) respond(http::Response::text(503, "The server is busy; try again later.\n").set("retry-after", "5"));
}

void CatalogueServer::serveCatalogue(const http::Request& request, const http::Responder& respond) {
    const auto snapshot = catalogue_->current();
    if (!snapshot) {
        respond(http::Response::text(503, "The catalogue cannot be read; try again later.\n"));
        return;
    }
    if (snapshot->version == 0) {
        respond(http::Response::text(404, "No catalogue is published yet.\n"));
        return;
    }
    http::Response r;
    r.set("etag", snapshot->etag);
    r.set("last-modified", http::formatHttpDate(snapshot->publishedAt));
    // Clients keep a copy but ask each time whether it is still current.
    r.set("cache-control", "no-cache");
    if (publish::notModified(request, snapshot->etag, snapshot->publishedAt)) {
        r.status = 304;
        respond(std::move(r));
        return;
    }
    // Records are bytes in the catalogue's code page, not markup for a browser.
    r.set("content-type", "text/plain; charset=windows-1252");
    r.set("x-content-type-options", "nosniff");
    r.sharedBody = snapshot->body;
    respond(std::move(r));
}

http::Response CatalogueServer::publishUpload(const http::Request& request) {
    const auto token = owner::bearerToken(request);
    if (!token || !gate_->matches(*token)) return unauthorized();
    const auto result = publish::publishCatalogue(*serviceStore_, request.body, clock_.unixSeconds());
    if (result.ok) catalogue_->refresh();
    return http::Response::text(result.status, result.message + "\n");
}

}  // namespace cd::server
