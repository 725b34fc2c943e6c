#include "publish/catalogue_cache.h"

namespace cd::server::publish {

CatalogueCache::CatalogueCache(storage::ReportStore& store) : store_(store) {}

std::shared_ptr<const storage::CatalogueSnapshot> CatalogueCache::current() const {
    std::lock_guard lock(mutex_);
    return snapshot_;
}

bool CatalogueCache::refresh() {
    std::lock_guard refreshing(refreshing_);
    const auto version = store_.catalogueVersion();
    if (!version) return false;
    if (const auto known = current(); known && known->version == *version) return true;
    auto loaded = store_.loadCatalogue();
    if (!loaded) return false;
    auto snapshot = std::make_shared<const storage::CatalogueSnapshot>(std::move(*loaded));
    std::lock_guard lock(mutex_);
    snapshot_ = std::move(snapshot);
    return true;
}

}  // namespace cd::server::publish
