// ImportFromReg: applies a REGEDIT4 registry script line by line, in file
// order. The line syntax is in reg_script.h.
#include <cstdint>
#include <optional>

#include "formats/reg_script.h"
#include "registry/cls_registry_access.h"
#include "util/files.h"
#include "util/text.h"

namespace cd::registry {

namespace {

/// The hexadecimal digits at the start of text as a 32-bit number (none gives
/// 0); nothing when there are more than eight, which no dword can hold.
std::optional<std::int32_t> dwordFrom(std::string_view text) {
    std::uint32_t n = 0;
    std::size_t digits = 0;
    for (char c : text) {
        const int d = util::hexDigit(c);
        if (d < 0) break;
        if (++digits > 8) return std::nullopt;
        n = n * 16 + static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(n);
}

bool isHexData(std::string_view data) {
    return util::iequals(data.substr(0, 4), "hex:") || formats::ReadRegHexType(data).has_value();
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
    // A string value: "@" unquoted names the default value, which empty text
    // deletes; any other name, "@" in quotes too, names a value of its own.
    const auto writeText = [&](const formats::RegValueLine& v, const std::string& value) -> std::int32_t {
        if (!v.defaultName) return writeValue(section, {v.name, kRegString, value + '\0'});
        std::int32_t done = WriteString(section, "@", value);
        if (done != 0 && value.empty()) done = KillValue(section, "");
        return done;
    };
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string line(util::trimSpaces(lines[i]));
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
        auto v = formats::ReadRegValueLine(line);
        // Long hexadecimal data goes on over lines that end in a backslash.
        while (v && !v->quoted && isHexData(v->data) && line.back() == '\\' && i + 1 < lines.size()) {
            line.pop_back();
            line += util::trimSpaces(lines[++i]);
            v = formats::ReadRegValueLine(line);
        }
        if (!v) continue;
        const std::string_view data = v->data;

        std::int32_t done = 0;
        if (v->quoted) {
            done = writeText(*v, v->data);
        } else if (util::trimSpaces(data) == "-") {
            done = KillValue(section, v->name);
            if (done == 0 && !KeyExists(section)) done = 1;  // no key, so no value either
        } else if (util::iequals(data.substr(0, 4), "hex:")) {
            done = WriteBinary(section, v->name, util::replaceAll(data.substr(4), ",", " "));
        } else if (const auto hex = formats::ReadRegHexType(data)) {
            const auto bytes = formats::ReadRegHexList(data.substr(hex->listStart));
            if (!bytes) return 0;
            // Expandable strings and string lists are kept as plain strings;
            // other types keep their code and bytes.
            if (hex->type == 1 || hex->type == 2 || hex->type == 7)
                done = writeText(*v, formats::RegTextOfHexString(*bytes, hex->type));
            else
                done = writeValue(section, {v->name, hex->type, *bytes});
        } else if (util::iequals(data.substr(0, 6), "dword:")) {
            const auto n = dwordFrom(data.substr(6));
            done = n ? WriteDWORD(section, v->name, *n) : 0;
        } else {
            done = writeText(*v, v->data);
        }
        // The whole file applies or the result says it did not.
        if (done == 0) return 0;
    }
    return 1;
}

}  // namespace cd::registry
