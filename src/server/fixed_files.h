#pragma once
// The plain files the server hands out from its data folder: "banner.html"
// and "Languages/<product>/Localization.txt". The table of what is served
// is made once at start-up from what the folder holds; a request only picks
// an entry of it, so no request can name a path of its own.
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "http/response.h"

namespace cd::server {

class FixedFiles {
public:
    /// The largest file served.
    static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

    explicit FixedFiles(const std::filesystem::path& dataDir);

    /// True when path is one of the served addresses.
    bool serves(std::string_view path) const;
    /// The file's answer: 200 with its bytes, or 404 when it is gone.
    http::Response answer(std::string_view path) const;

private:
    struct Entry {
        std::filesystem::path file;
        std::string contentType;
    };
    std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace cd::server
