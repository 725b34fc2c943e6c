#include "http/request_parser.h"

#include <algorithm>

namespace cd::server::http {

namespace {

bool isTokenChar(unsigned char c) {
    if (c >= '0' && c <= '9') return true;
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

HeadResult fail(int status, std::string why) {
    HeadResult r;
    r.state = HeadResult::State::Error;
    r.status = status;
    r.error = std::move(why);
    return r;
}

std::string_view trimOws(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Splits the head into lines ended by CR LF (a lone LF is taken as a line end too).
template <typename F>
bool forEachHeadLine(std::string_view head, F&& f) {
    std::size_t pos = 0;
    while (pos < head.size()) {
        std::size_t lf = head.find('\n', pos);
        if (lf == std::string_view::npos) lf = head.size();
        std::size_t end = lf;
        if (end > pos && head[end - 1] == '\r') --end;
        if (!f(head.substr(pos, end - pos))) return false;
        pos = lf + 1;
    }
    return true;
}

bool hasToken(std::string_view list, std::string_view token) {
    std::size_t pos = 0;
    while (pos <= list.size()) {
        std::size_t comma = list.find(',', pos);
        if (comma == std::string_view::npos) comma = list.size();
        const std::string_view item = trimOws(list.substr(pos, comma - pos));
        if (item.size() == token.size() &&
            std::equal(item.begin(), item.end(), token.begin(), [](char a, char b) { return lower(a) == b; }))
            return true;
        pos = comma + 1;
    }
    return false;
}

HeadResult parseRequestLine(std::string_view line, Request& request) {
    const std::size_t sp1 = line.find(' ');
    const std::size_t sp2 = sp1 == std::string_view::npos ? sp1 : line.find(' ', sp1 + 1);
    if (sp2 == std::string_view::npos || line.find(' ', sp2 + 1) != std::string_view::npos)
        return fail(400, "the request line is not METHOD TARGET VERSION");
    const std::string_view method = line.substr(0, sp1);
    const std::string_view target = line.substr(sp1 + 1, sp2 - sp1 - 1);
    const std::string_view version = line.substr(sp2 + 1);
    if (method.empty() || !std::all_of(method.begin(), method.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        return fail(400, "bad method");
    if (target.empty() || target.front() != '/') return fail(400, "the target must be a path");
    for (const char ch : target) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7f) return fail(400, "the target holds a byte that must be percent-encoded");
    }
    if (version == "HTTP/1.1") {
        request.versionMinor = 1;
    } else if (version == "HTTP/1.0") {
        request.versionMinor = 0;
    } else if (version.size() == 8 && version.substr(0, 5) == "HTTP/") {
        return fail(505, "only HTTP/1.0 and HTTP/1.1 are served");
    } else {
        return fail(400, "bad version");
    }
    request.method.assign(method);
    request.target.assign(target);
    const std::size_t q = target.find('?');
    request.path.assign(target.substr(0, q));
    request.query.assign(q == std::string_view::npos ? std::string_view() : target.substr(q + 1));
    // A fragment never reaches a server; one that does is a client's mistake.
    if (request.target.find('#') != std::string::npos) return fail(400, "the target holds a fragment");
    return {};
}

}  // namespace

HeadResult parseHead(std::string_view buffer, std::size_t& scanned, Request& request, const HeadLimits& limits) {
    // Leading empty lines before a request are allowed (and skipped).
    std::size_t start = 0;
    while (start < buffer.size() && (buffer[start] == '\r' || buffer[start] == '\n')) ++start;
    if (start > 4) return fail(400, "empty lines before the request");

    // The head ends at the first empty line: LF (CR) LF.
    std::size_t from = std::max(scanned, start);
    from = from > 2 ? from - 2 : 0;
    std::size_t end = std::string_view::npos;
    for (std::size_t lf = buffer.find('\n', from); lf != std::string_view::npos; lf = buffer.find('\n', lf + 1)) {
        if (lf <= start) continue;
        if (buffer[lf - 1] == '\n' || (lf >= 2 && buffer[lf - 1] == '\r' && buffer[lf - 2] == '\n')) {
            end = lf + 1;
            break;
        }
    }
    if (end == std::string_view::npos) {
        // A method is capital letters; anything else (TLS on the plain port,
        // binary junk) is refused at once rather than waited on.
        for (std::size_t i = start; i < buffer.size() && buffer[i] != ' '; ++i)
            if (buffer[i] < 'A' || buffer[i] > 'Z' || i - start > 20) return fail(400, "not an HTTP request");
        scanned = buffer.size();
        if (buffer.size() > limits.maxHeadBytes) return fail(431, "the request head is too large");
        return {};
    }
    if (end > limits.maxHeadBytes) return fail(431, "the request head is too large");

    const std::string_view head = buffer.substr(start, end - start);
    if (head.find('\0') != std::string_view::npos) return fail(400, "a NUL byte in the head");
    request = Request{};
    HeadResult result;
    bool first = true;
    bool sawLength = false, sawHost = false, sawChunked = false;
    std::size_t count = 0;
    const bool ok = forEachHeadLine(head, [&](std::string_view line) {
        if (line.find('\r') != std::string_view::npos) {
            result = fail(400, "a bare CR in the head");
            return false;
        }
        if (first) {
            first = false;
            result = parseRequestLine(line, request);
            return result.state != HeadResult::State::Error;
        }
        if (line.empty()) return true;  // the closing empty line
        if (line.front() == ' ' || line.front() == '\t') {
            result = fail(400, "folded header lines are not accepted");
            return false;
        }
        if (++count > limits.maxHeaders) {
            result = fail(431, "too many headers");
            return false;
        }
        const std::size_t colon = line.find(':');
        if (colon == 0 || colon == std::string_view::npos) {
            result = fail(400, "a header line without a name");
            return false;
        }
        const std::string_view name = line.substr(0, colon);
        for (const char c : name) {
            if (!isTokenChar(static_cast<unsigned char>(c))) {
                result = fail(400, "a bad header name");
                return false;
            }
        }
        const std::string_view value = trimOws(line.substr(colon + 1));
        for (const char ch : value) {
            const auto c = static_cast<unsigned char>(ch);
            if ((c < 0x20 && c != '\t') || c == 0x7f) {
                result = fail(400, "a control character in a header");
                return false;
            }
        }
        Header h;
        h.name.resize(name.size());
        std::transform(name.begin(), name.end(), h.name.begin(), lower);
        h.value.assign(value);
        if (h.name == "content-length") {
            if (sawLength || value.empty() || value.size() > 15 ||
                !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                result = fail(400, "a bad or repeated Content-Length");
                return false;
            }
            sawLength = true;
            result.contentLength = std::stoull(std::string(value));
        } else if (h.name == "transfer-encoding") {
            sawChunked = true;
        } else if (h.name == "host") {
            if (sawHost) {
                result = fail(400, "Host given twice");
                return false;
            }
            sawHost = true;
        } else if (h.name == "expect") {
            if (!hasToken(value, "100-continue")) {
                result = fail(417, "only 100-continue is understood");
                return false;
            }
            result.expectContinue = true;
        }
        request.headers.push_back(std::move(h));
        return true;
    });
    if (!ok) return result;
    // A body whose end the server would have to find in chunks could be read
    // differently by a proxy in front; no route needs one.
    if (sawChunked) return fail(sawLength ? 400 : 501, "Transfer-Encoding is not accepted; send Content-Length");
    if (request.versionMinor == 1 && !sawHost) return fail(400, "HTTP/1.1 needs a Host header");

    const std::string* connection = request.header("connection");
    if (request.versionMinor == 1)
        request.keepAlive = !(connection && hasToken(*connection, "close"));
    else
        request.keepAlive = connection && hasToken(*connection, "keep-alive");

    result.state = HeadResult::State::Done;
    result.headLength = end;
    return result;
}

}  // namespace cd::server::http
