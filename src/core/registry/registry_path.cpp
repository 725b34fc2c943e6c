#include "registry/registry_path.h"

#include "util/text.h"

namespace cd::registry {

namespace {

struct RootName {
    std::string_view longName;
    std::string_view shortName;
};

// No long name contains a short one and the other way round, so the
// replacements cannot feed each other whatever order they run in.
constexpr RootName kRootNames[] = {
    {"HKEY_CURRENT_USER", "HKCU"},   {"HKEY_LOCAL_MACHINE", "HKLM"},    {"HKEY_CLASSES_ROOT", "HKCR"},
    {"HKEY_USERS", "HKUS"},          {"HKEY_PERFORMANCE_DATA", "HKPD"}, {"HKEY_DYN_DATA", "HKDD"},
    {"HKEY_CURRENT_CONFIG", "HKCC"},
};

}  // namespace

std::string shortRootNames(std::string_view path) {
    std::string out(path);
    for (const auto& r : kRootNames) out = util::ireplaceAll(out, r.longName, r.shortName);
    return out;
}

std::string longRootNames(std::string_view path) {
    std::string out(path);
    for (const auto& r : kRootNames) out = util::ireplaceAll(out, r.shortName, r.longName);
    return out;
}

RegistryPath splitRegistryPath(std::string_view path) {
    const std::string shortened = shortRootNames(path);
    const std::size_t slash = shortened.find('\\');
    if (slash == std::string::npos) return {util::toUpper(shortened), {}};
    return {util::toUpper(std::string_view(shortened).substr(0, 4)), shortened.substr(slash + 1)};
}

}  // namespace cd::registry
