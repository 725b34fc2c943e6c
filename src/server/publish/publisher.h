#pragma once
// Publishing a Data.htm: checked, then stored with its channels in one
// transaction, so every server process on the store serves either the old
// catalogue or the new one, whole.
#include <cstdint>
#include <string>
#include <string_view>

#include "storage/report_store.h"

namespace cd::server::publish {

struct PublishResult {
    bool ok = false;
    /// 400 for a file that fails the check, 503 when the store failed.
    int status = 0;
    std::string message;
    std::int64_t version = 0;
    std::size_t records = 0;
};

/// The strong validator of a catalogue's bytes: a quoted 64-bit FNV-1a hash.
std::string catalogueEtag(std::string_view body);

/// Checks body and publishes it as of now (seconds since 1970).
PublishResult publishCatalogue(storage::ReportStore& store, const std::string& body, std::int64_t now);

}  // namespace cd::server::publish
