#include "util/text.h"

#include <algorithm>

namespace cd::util {

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

std::string toUpper(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = asciiUpper(c);
    return r;
}

std::string toLower(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = asciiLower(c);
    return r;
}

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

std::size_t ifind(std::string_view hay, std::string_view needle, std::size_t from) {
    if (from > hay.size()) return std::string_view::npos;
    if (needle.empty()) return from;
    if (needle.size() > hay.size() - from) return std::string_view::npos;
    const char first = asciiLower(needle[0]);
    const std::size_t last = hay.size() - needle.size();
    for (std::size_t i = from; i <= last; ++i) {
        if (asciiLower(hay[i]) != first) continue;
        if (iequals(hay.substr(i, needle.size()), needle)) return i;
    }
    return std::string_view::npos;
}

bool icontains(std::string_view hay, std::string_view needle) { return ifind(hay, needle) != std::string_view::npos; }

namespace {
template <typename Find>
std::string replaceWith(std::string_view s, std::string_view what, std::string_view with, Find find) {
    if (what.empty()) return std::string(s);
    std::string out;
    out.reserve(s.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = find(s, what, pos);
        if (hit == std::string_view::npos) break;
        out.append(s.substr(pos, hit - pos));
        out.append(with);
        pos = hit + what.size();
    }
    out.append(s.substr(pos));
    return out;
}
}  // namespace

std::string replaceAll(std::string_view s, std::string_view what, std::string_view with) {
    return replaceWith(s, what, with,
                       [](std::string_view h, std::string_view n, std::size_t p) { return h.find(n, p); });
}

std::string ireplaceAll(std::string_view s, std::string_view what, std::string_view with) {
    return replaceWith(s, what, with,
                       [](std::string_view h, std::string_view n, std::size_t p) { return ifind(h, n, p); });
}

std::vector<std::string> split(std::string_view s, std::string_view sep) {
    std::vector<std::string> parts;
    if (sep.empty()) {
        parts.emplace_back(s);
        return parts;
    }
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = s.find(sep, pos);
        if (hit == std::string_view::npos) break;
        parts.emplace_back(s.substr(pos, hit - pos));
        pos = hit + sep.size();
    }
    parts.emplace_back(s.substr(pos));
    return parts;
}

std::vector<std::string_view> splitView(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = s.find(sep, pos);
        if (hit == std::string_view::npos) break;
        parts.push_back(s.substr(pos, hit - pos));
        pos = hit + 1;
    }
    parts.push_back(s.substr(pos));
    return parts;
}

std::string_view trimSpaces(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    const std::size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string upperFirst(std::string s) {
    if (!s.empty()) s[0] = asciiUpper(s[0]);
    return s;
}

std::string decimal(long long n) { return std::to_string(n); }

}  // namespace cd::util

namespace cd::util {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string fillPlaceholders(std::string_view text, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(text[i + 1] - '1');
            if (n < args.size()) {
                out += *(args.begin() + n);
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string_view trimWhitespace(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace cd::util
