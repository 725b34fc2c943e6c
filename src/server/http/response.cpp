#include "http/response.h"

namespace cd::server::http {

Response Response::text(int status, std::string body) {
    Response r;
    r.status = status;
    r.body = std::move(body);
    r.headers.push_back({"content-type", "text/plain; charset=utf-8"});
    return r;
}

Response& Response::set(std::string name, std::string value) {
    for (auto& h : headers) {
        if (h.name == name) {
            h.value = std::move(value);
            return *this;
        }
    }
    headers.push_back({std::move(name), std::move(value)});
    return *this;
}

std::string_view reasonPhrase(int status) {
    switch (status) {
        case 100:
            return "Continue";
        case 200:
            return "OK";
        case 204:
            return "No Content";
        case 303:
            return "See Other";
        case 304:
            return "Not Modified";
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 408:
            return "Request Timeout";
        case 411:
            return "Length Required";
        case 413:
            return "Content Too Large";
        case 414:
            return "URI Too Long";
        case 417:
            return "Expectation Failed";
        case 429:
            return "Too Many Requests";
        case 431:
            return "Request Header Fields Too Large";
        case 500:
            return "Internal Server Error";
        case 501:
            return "Not Implemented";
        case 503:
            return "Service Unavailable";
        case 505:
            return "HTTP Version Not Supported";
        default:
            return "Unknown";
    }
}

std::string serializeHead(const Response& r, bool keepAlive, std::string_view date) {
    std::string head;
    head.reserve(160);
    head += "HTTP/1.1 ";
    head += std::to_string(r.status);
    head += ' ';
    head += reasonPhrase(r.status);
    head += "\r\n";
    for (const auto& h : r.headers) {
        head += h.name;
        head += ": ";
        head += h.value;
        head += "\r\n";
    }
    if (!date.empty()) {
        head += "date: ";
        head += date;
        head += "\r\n";
    }
    // A 304 describes the stored answer; it carries no body and no length of its own.
    if (r.status != 304 && r.status >= 200) {
        head += "content-length: ";
        head += std::to_string(r.bodyView().size());
        head += "\r\n";
    }
    if (!keepAlive || r.close) head += "connection: close\r\n";
    head += "\r\n";
    return head;
}

}  // namespace cd::server::http
