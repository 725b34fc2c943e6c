#include "publish/conditional_get.h"

#include "http/http_date.h"

namespace cd::server::publish {

namespace {

std::string_view opaque(std::string_view tag) {
    if (tag.substr(0, 2) == "W/") tag.remove_prefix(2);
    return tag;
}

bool listNames(std::string_view list, std::string_view etag) {
    std::size_t pos = 0;
    while (pos < list.size()) {
        while (pos < list.size() && (list[pos] == ' ' || list[pos] == '\t' || list[pos] == ',')) ++pos;
        if (pos >= list.size()) break;
        if (list[pos] == '*') return true;
        std::size_t start = pos;
        if (list.substr(pos, 2) == "W/") pos += 2;
        if (pos >= list.size() || list[pos] != '"') return false;  // not a list of entity tags
        const std::size_t close = list.find('"', pos + 1);
        if (close == std::string_view::npos) return false;
        if (opaque(list.substr(start, close + 1 - start)) == opaque(etag)) return true;
        pos = close + 1;
    }
    return false;
}

}  // namespace

bool notModified(const http::Request& request, std::string_view etag, std::int64_t lastModified) {
    if (const std::string* inm = request.header("if-none-match")) return listNames(*inm, etag);
    if (const std::string* ims = request.header("if-modified-since")) {
        const auto since = http::parseHttpDate(*ims);
        return since && lastModified <= *since;
    }
    return false;
}

}  // namespace cd::server::publish
