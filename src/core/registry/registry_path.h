#pragma once
// The one-string key paths of the registry layer: a root name, optionally a
// backslash and a subkey path. Long root names ("HKEY_CURRENT_USER") and
// their short forms ("HKCU") are interchangeable, in any letter case.
#include <string>
#include <string_view>

namespace cd::registry {

struct RegistryPath {
    std::string root;    // the short root name as read from the path; may name no root
    std::string subkey;  // everything after the first backslash; "" for the root key
};

/// Every long root name, wherever it stands and in any letter case, replaced
/// by its short form.
std::string shortRootNames(std::string_view path);
/// Every short root name, wherever it stands and in any letter case, replaced
/// by its long form (the form registry script files carry).
std::string longRootNames(std::string_view path);

/// Splits a path after shortening its root names. With a backslash, the root
/// is the first four characters upper-cased and the subkey what follows the
/// first backslash; without one, the root is the whole path upper-cased.
RegistryPath splitRegistryPath(std::string_view path);

}  // namespace cd::registry
