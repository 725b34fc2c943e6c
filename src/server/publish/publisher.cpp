#include "publish/publisher.h"

#include <cstdio>

#include "publish/catalogue_check.h"

namespace cd::server::publish {

std::string catalogueEtag(std::string_view body) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (const char c : body) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ULL;
    }
    char buf[24];
    std::snprintf(buf, sizeof buf, "\"%016llx\"", static_cast<unsigned long long>(h));
    return buf;
}

PublishResult publishCatalogue(storage::ReportStore& store, const std::string& body, std::int64_t now) {
    PublishResult result;
    const CatalogueCheck check = checkCatalogue(body);
    if (!check.ok) {
        result.status = 400;
        result.message = "Not published: " + check.error + ".";
        return result;
    }
    const auto version = store.publishCatalogue(body, catalogueEtag(body), now, check.records);
    if (!version) {
        result.status = 503;
        result.message = "Not published: the store failed: " + store.lastError();
        return result;
    }
    result.ok = true;
    result.status = 200;
    result.version = *version;
    result.records = check.records.size();
    result.message = "Published version " + std::to_string(*version) + ": " + std::to_string(check.records.size()) +
                     (check.records.size() == 1 ? " record" : " records") + " (" + std::to_string(check.encodedLines) +
                     " encoded, " + std::to_string(check.plainLines) + " plain).";
    return result;
}

}  // namespace cd::server::publish
