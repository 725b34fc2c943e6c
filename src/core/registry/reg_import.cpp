// ImportFromReg: applies a REGEDIT4 registry script line by line, in file order.
#include <cstdint>
#include <optional>

#include "registry/cls_registry_access.h"
#include "util/files.h"
#include "util/text.h"

namespace cd::registry {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

/// The hexadecimal digits at the start of text as a 32-bit number (none gives
/// 0); nothing when there are more than eight, which no dword can hold.
std::optional<std::int32_t> dwordFrom(std::string_view text) {
    std::uint32_t n = 0;
    std::size_t digits = 0;
    for (char c : text) {
        const int d = hexDigit(c);
        if (d < 0) break;
        if (++digits > 8) return std::nullopt;
        n = n * 16 + static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(n);
}

std::string withoutQuotes(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != '"') out.push_back(c);
    return out;
}

}  // namespace

std::int32_t ClsRegistryAccess::ImportFromReg(const std::string& sRegFile) {
    CreateKeyIfDoesntExists(true);
    const auto text = util::readFile(sRegFile);
    if (!text) return 0;
    // Lines end at CR LF only: a file with bare LF endings is one long first line.
    const auto lines = util::split(*text, "\r\n");
    if (util::toUpper(lines.front()) != "REGEDIT4") return 0;

    // The key of the open section; none before the first one and after a deletion.
    bool inSection = false;
    std::string section;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string line(util::trimSpaces(withoutQuotes(lines[i])));
        if (!line.empty() && line.front() == '[') {
            if (line.size() < 2) return 0;  // "[" alone names no key at all
            const std::string path = line.substr(1, line.size() - 2);
            inSection = false;
            if (!path.empty() && path.front() == '-') {
                const std::string doomed = path.substr(1);
                // A key that is already gone is as good as deleted.
                if (KillKey(doomed) == 0 && KeyExists(doomed)) return 0;
            } else {
                section = path;
                inSection = true;
            }
            continue;
        }
        if (!inSection || line.empty() || line.front() == ';') continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string name = line.substr(0, eq);
        const std::size_t eq2 = line.find('=', eq + 1);
        const std::string data = line.substr(eq + 1, eq2 == std::string::npos ? std::string::npos : eq2 - eq - 1);

        std::int32_t done = 0;
        if (util::trimSpaces(data) == "-") {
            done = KillValue(section, name);
            if (done == 0 && !KeyExists(section)) done = 1;  // no key, so no value either
        } else if (util::iequals(std::string_view(data).substr(0, 4), "hex:")) {
            done = WriteBinary(section, name, util::replaceAll(std::string_view(data).substr(4), ",", " "));
        } else if (util::iequals(std::string_view(data).substr(0, 6), "dword:")) {
            const auto n = dwordFrom(std::string_view(data).substr(6));
            done = n ? WriteDWORD(section, name, *n) : 0;
        } else {
            done = WriteString(section, name, data);
            if (done != 0 && name == "@" && data.empty()) done = KillValue(section, "");
        }
        // The whole file applies or the result says it did not.
        if (done == 0) return 0;
    }
    return 1;
}

}  // namespace cd::registry
