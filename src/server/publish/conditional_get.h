#pragma once
// Conditional requests for the published catalogue: a client that holds
// the current copy gets 304 and no body.
#include <cstdint>
#include <string_view>

#include "http/request.h"

namespace cd::server::publish {

/// True when request's If-None-Match names etag (weak comparison, or "*");
/// without If-None-Match, when its If-Modified-Since is not before
/// lastModified. An unreadable date is ignored.
bool notModified(const http::Request& request, std::string_view etag, std::int64_t lastModified);

}  // namespace cd::server::publish
