#pragma once
// The check a Data.htm passes before it is published: the line "<data>",
// one record per line, each encoded with the line cipher or plain (the
// editor's export key), and the line "</data>". A damaged upload (wrong line
// ends, a cut-off file, a line that is no record) is refused whole, with the
// line that is wrong, so the catalogue in service is never a broken one.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "storage/report_store.h"

namespace cd::server::publish {

/// The largest Data.htm accepted.
inline constexpr std::size_t kMaxCatalogueBytes = 64 * 1024 * 1024;

struct CatalogueCheck {
    bool ok = false;
    /// Why it was refused (when not ok), naming the line.
    std::string error;
    std::vector<storage::CatalogueRecord> records;
    std::size_t encodedLines = 0;
    std::size_t plainLines = 0;
};

/// Checks body and reads its records (decoded where encoded).
CatalogueCheck checkCatalogue(std::string_view body);

}  // namespace cd::server::publish
