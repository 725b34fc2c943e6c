#pragma once
// One HTTP request as the server read it: the head as sent (the target is
// not decoded; each route decodes what it uses), the body, and the address
// of the client that sent it.
#include <string>
#include <string_view>
#include <vector>

namespace cd::server::http {

struct Header {
    std::string name;   // lower case
    std::string value;  // without the blanks around it
};

struct Request {
    std::string method;
    /// The request target exactly as sent, e.g. "/webtv/getData.asp?strType=Rate&...".
    std::string target;
    /// The target up to "?", and what follows it ("" when there is no "?").
    std::string path;
    std::string query;
    /// 0 for HTTP/1.0, 1 for HTTP/1.1.
    int versionMinor = 1;
    std::vector<Header> headers;
    std::string body;
    /// The client's address as text ("127.0.0.5", "::1"); an IPv4 client on
    /// an IPv6 socket is given in its IPv4 form.
    std::string peer;
    /// Whether the connection stays open after the answer.
    bool keepAlive = true;

    /// The value of the first header of that name (lower case), or null.
    const std::string* header(std::string_view lowerName) const;
};

}  // namespace cd::server::http
