// ExportToReg and ExportKey: a key, and optionally its subtree, written as a
// REGEDIT4 registry script (CR LF lines, long root names; names and strings
// quoted as reg_script.h says).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "formats/reg_script.h"
#include "platform/event_pump.h"
#include "registry/cls_registry_access.h"
#include "ui/control.h"
#include "util/text.h"

namespace cd::registry {

namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes to a file that must already exist, checking every step: a full disk
// or a lost file makes the export fail instead of reporting a short file as done.
bool appendToFile(const std::string& file, std::string_view bytes, bool sync) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = writeAll(fd, bytes) && (!sync || ::fsync(fd) == 0);
    const bool closed = ::close(fd) == 0;
    return written && closed;
}

std::string dwordText(std::int32_t n) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(static_cast<std::uint32_t>(n)));
    return buf;
}

const std::string* textOf(const RegistryVariant& v) { return std::get_if<std::string>(&v); }

// A key path or value name is written as it is inside its line; the import
// splits lines at CR LF, so one holding that pair cannot be written at all.
bool fitsOneLine(std::string_view text) { return text.find("\r\n") == std::string_view::npos; }

}  // namespace

std::int32_t ClsRegistryAccess::ExportToReg(const std::string& sPath, const std::string& sRegFile, bool IncludeSubkeys,
                                            ui::Control* Output) {
    // O_EXCL makes "refuse an existing file" and "create it" one step, so a
    // file that appears meanwhile is not overwritten either.
    const int fd = ::open(sRegFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return 0;
    const bool written = writeAll(fd, "REGEDIT4\r\n\r\n");
    if (::close(fd) != 0 || !written) return 0;
    if (!ExportKey(sPath, sRegFile, IncludeSubkeys, Output)) return 0;
    return appendToFile(sRegFile, {}, true) ? 1 : 0;
}

bool ClsRegistryAccess::ExportKey(const std::string& sPath, const std::string& sRegFile, bool IncludeSubkeys,
                                  ui::Control* Output) {
    const std::string path = longRootNames(sPath);
    if (Output) {
        if (pump_) pump_->runPending();
        Output->setText(path);
    }
    if (!fitsOneLine(path)) return false;
    std::string section = "[" + path + "]\r\n";
    // Read whole: a long default value written as "" would be lost on import.
    if (const auto def = readText(path, "", false)) section += "@=" + formats::RegStringData(*def) + "\r\n";

    std::vector<std::string> names;
    std::vector<RegistryVariant> values;
    EnumValues(path, names, values, kRegString);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!fitsOneLine(names[i])) return false;
        const std::string* text = textOf(values[i]);
        if (!names[i].empty() && text)
            section += formats::RegQuoted(names[i]) + "=" + formats::RegStringData(*text) + "\r\n";
    }
    EnumValues(path, names, values, kRegBinary);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!fitsOneLine(names[i])) return false;
        const std::string* text = textOf(values[i]);
        if (text)
            section +=
                formats::RegQuoted(names[i]) + "=hex:" + util::replaceAll(util::trimSpaces(*text), " ", ",") + "\r\n";
    }
    EnumValues(path, names, values, kRegDword);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!fitsOneLine(names[i])) return false;
        if (const auto* n = std::get_if<std::int32_t>(&values[i]))
            section += formats::RegQuoted(names[i]) + "=dword:" + dwordText(*n) + "\r\n";
    }
    section += "\r\n";
    if (!appendToFile(sRegFile, section, false)) return false;

    if (!IncludeSubkeys) return true;
    std::vector<std::string> subkeys;
    EnumKeys(path, subkeys);
    for (const auto& name : subkeys) {
        if (!ExportKey(path + "\\" + name, sRegFile, true, Output)) return false;
    }
    return true;
}

}  // namespace cd::registry
