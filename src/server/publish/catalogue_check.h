#pragma once
// An upload is published only after the check every reader of Data.htm
// makes; the server uses it under its own names.
#include "formats/export_check.h"

namespace cd::server::publish {

inline constexpr std::size_t kMaxCatalogueBytes = formats::kMaxExportBytes;
using CatalogueCheck = formats::ExportCheck;

inline CatalogueCheck checkCatalogue(std::string_view body) { return formats::checkExport(body); }

}  // namespace cd::server::publish
