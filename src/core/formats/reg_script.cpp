#include "formats/reg_script.h"

#include "util/text.h"

namespace cd::formats {

namespace {

struct Quoted {
    std::string text;
    std::size_t end;  // just after the closing quote
};

// The quoted string that starts at s[start] (a double quote); nothing when
// it is not closed.
std::optional<Quoted> readQuoted(std::string_view s, std::size_t start) {
    std::string out;
    for (std::size_t i = start + 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            out.push_back(s[++i]);
        } else if (c == '"') {
            return Quoted{std::move(out), i + 1};
        } else {
            out.push_back(c);
        }
    }
    return std::nullopt;
}

std::string withoutQuotes(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != '"') out.push_back(c);
    return out;
}

// Old files quoted names and values without escaping them; what they mean
// is best read the way this program always read them.
std::optional<RegValueLine> readByOldRule(std::string_view line) {
    const std::string stripped = withoutQuotes(line);
    const std::string_view s = util::trimSpaces(stripped);
    const std::size_t eq = s.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::size_t eq2 = s.find('=', eq + 1);
    RegValueLine v;
    v.name = std::string(s.substr(0, eq));
    v.defaultName = v.name == "@";
    v.data = std::string(s.substr(eq + 1, eq2 == std::string_view::npos ? std::string_view::npos : eq2 - eq - 1));
    return v;
}

}  // namespace

std::string RegQuoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    for (char c : text) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string RegHexList(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) out.push_back(',');
        const auto b = static_cast<unsigned char>(bytes[i]);
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0x0F]);
    }
    return out;
}

std::string RegStringData(std::string_view text) {
    if (text.find_first_of("\r\n") == std::string_view::npos) return RegQuoted(text);
    std::string bytes(text);
    bytes.push_back('\0');
    return "hex(1):" + RegHexList(bytes);
}

std::optional<RegValueLine> ReadRegValueLine(std::string_view line) {
    RegValueLine v;
    std::size_t eq = 0;
    if (!line.empty() && line.front() == '"') {
        auto name = readQuoted(line, 0);
        if (!name || name->end >= line.size() || line[name->end] != '=') return readByOldRule(line);
        v.name = std::move(name->text);
        eq = name->end;
    } else {
        eq = line.find('=');
        if (eq == std::string_view::npos) return std::nullopt;
        v.name = std::string(line.substr(0, eq));
        // A line quoted nowhere, or only in a way this syntax does not know.
        if (v.name.find('"') != std::string::npos || eq + 1 >= line.size() || line[eq + 1] != '"')
            return readByOldRule(line);
        v.defaultName = v.name == "@";
    }

    const std::string_view data = line.substr(eq + 1);
    if (!data.empty() && data.front() == '"') {
        auto text = readQuoted(data, 0);
        // Not closed (an old file's value that ended in a backslash), or
        // closed before its end (an old file's value holding a quote).
        if (!text || text->end != data.size()) return readByOldRule(line);
        v.data = std::move(text->text);
        v.quoted = true;
        return v;
    }
    // Unquoted data after a quoted name: a type prefix and its data, "-",
    // or text that the old rule reads.
    const std::string stripped = withoutQuotes(data);
    v.data = stripped.substr(0, stripped.find('='));
    return v;
}

std::optional<RegHexType> ReadRegHexType(std::string_view data) {
    if (data.size() < 4 || !util::iequals(data.substr(0, 4), "hex(")) return std::nullopt;
    std::uint32_t type = 0;
    std::size_t i = 4;
    for (; i < data.size() && util::hexDigit(data[i]) >= 0; ++i) {
        if (i - 4 >= 8) return std::nullopt;
        type = type * 16 + static_cast<std::uint32_t>(util::hexDigit(data[i]));
    }
    if (i == 4 || data.substr(i, 2) != "):") return std::nullopt;
    return RegHexType{type, i + 2};
}

std::optional<std::string> ReadRegHexList(std::string_view list) {
    std::string bytes;
    if (util::trimSpaces(list).empty()) return bytes;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t comma = list.find(',', pos);
        const std::string_view piece =
            util::trimSpaces(list.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
        if (piece.empty() || piece.size() > 2) return std::nullopt;
        int value = 0;
        for (char c : piece) {
            const int d = util::hexDigit(c);
            if (d < 0) return std::nullopt;
            value = value * 16 + d;
        }
        bytes.push_back(static_cast<char>(value));
        if (comma == std::string_view::npos) return bytes;
        pos = comma + 1;
    }
}

std::string RegTextOfHexString(std::string bytes, std::uint32_t type) {
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    if (type != 7) return bytes;
    // A list of strings, each ended by a 00; the final 00 ended the list.
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    for (char& c : bytes)
        if (c == '\0') c = '\n';
    return bytes;
}

}  // namespace cd::formats
