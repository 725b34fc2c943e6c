#pragma once
// How a second instance reaches the first: the lock holder of a program
// folder listens on a local socket whose name comes from the folder's real
// path, so every way of naming the folder (a relative path, a symbolic link)
// leads to the same instance, and two folders never share one.
#include <filesystem>
#include <string>

namespace cd::mainwindow {

/// The message a second instance sends to bring the first to the front.
inline constexpr const char* kActivateMessage = "activate";

/// "channeldeck-" and 16 hex digits of a hash of folder's real path (the
/// path as given when it cannot be resolved), plus the user's id, so two
/// users' sockets of one shared folder never meet.
std::string ActivationSocketName(const std::filesystem::path& folder);

}  // namespace cd::mainwindow
