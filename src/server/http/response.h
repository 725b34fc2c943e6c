#pragma once
// One HTTP answer. Large bodies that many answers share (the published
// catalogue) are held once and referenced, not copied per request.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "http/request.h"

namespace cd::server::http {

struct Response {
    int status = 200;
    /// Headers besides Content-Length, Date and Connection, which the server sets.
    std::vector<Header> headers;
    std::string body;
    /// When set, the body sent instead of body.
    std::shared_ptr<const std::string> sharedBody;
    /// Close the connection after this answer.
    bool close = false;

    /// A short plain-text answer.
    static Response text(int status, std::string body);
    Response& set(std::string name, std::string value);
    std::string_view bodyView() const { return sharedBody ? std::string_view(*sharedBody) : std::string_view(body); }
};

/// The reason phrase of a status code ("OK", "Not Found", ...).
std::string_view reasonPhrase(int status);

/// The status line and headers of r, ended by the empty line. A HEAD answer
/// announces the body's length but carries none (the caller leaves it out).
std::string serializeHead(const Response& r, bool keepAlive, std::string_view date);

}  // namespace cd::server::http
