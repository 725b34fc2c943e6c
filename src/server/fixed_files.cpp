#include "fixed_files.h"

#include "util/files.h"

namespace cd::server {

namespace {

// A product folder's name as it may stand in an address.
bool plainName(const std::string& name) {
    if (name.empty() || name.size() > 64) return false;
    for (const char c : name) {
        const bool ok =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '_';
        if (!ok) return false;
    }
    return true;
}

}  // namespace

FixedFiles::FixedFiles(const std::filesystem::path& dataDir) {
    entries_["/banner.html"] = {dataDir / "banner.html", "text/html; charset=utf-8"};
    std::error_code ec;
    for (const auto& product : std::filesystem::directory_iterator(dataDir / "Languages", ec)) {
        const std::string name = product.path().filename().string();
        if (!plainName(name) || !product.is_directory(ec)) continue;
        entries_["/Languages/" + name + "/Localization.txt"] = {product.path() / "Localization.txt",
                                                                "text/plain; charset=utf-8"};
    }
}

bool FixedFiles::serves(std::string_view path) const { return entries_.find(path) != entries_.end(); }

http::Response FixedFiles::answer(std::string_view path) const {
    const auto it = entries_.find(path);
    std::error_code ec;
    if (it == entries_.end() || !std::filesystem::is_regular_file(it->second.file, ec))
        return http::Response::text(404, "Not found.\n");
    if (std::filesystem::file_size(it->second.file, ec) > kMaxFileBytes)
        return http::Response::text(500, "The file is too large to serve.\n");
    auto bytes = util::readFile(it->second.file);
    if (!bytes) return http::Response::text(404, "Not found.\n");
    http::Response r;
    r.body = std::move(*bytes);
    r.set("content-type", it->second.contentType);
    r.set("cache-control", "no-cache");
    r.set("x-content-type-options", "nosniff");
    return r;
}

}  // namespace cd::server
