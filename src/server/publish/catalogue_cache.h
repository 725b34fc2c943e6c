#pragma once
// The published catalogue as this process serves it, from memory. refresh()
// asks the store for the published version (at start, after a publish here,
// and every second from a background thread) and loads a new one, so a
// catalogue published through another process or the publish command is
// served within about a second, and serving never waits for the database.
#include <memory>
#include <mutex>

#include "storage/report_store.h"

namespace cd::server::publish {

class CatalogueCache {
public:
    explicit CatalogueCache(storage::ReportStore& store);

    /// Loads the published catalogue when its version changed. False when
    /// the store cannot be read; the catalogue in service stays.
    bool refresh();
    /// The catalogue to serve (version 0: none published), or null before
    /// the first successful refresh.
    std::shared_ptr<const storage::CatalogueSnapshot> current() const;

private:
    storage::ReportStore& store_;
    std::mutex refreshing_;  // one load at a time
    mutable std::mutex mutex_;
    std::shared_ptr<const storage::CatalogueSnapshot> snapshot_;
};

}  // namespace cd::server::publish
