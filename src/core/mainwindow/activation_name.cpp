#include "mainwindow/activation_name.h"

#include <unistd.h>

#include <cstdint>
#include <system_error>

namespace cd::mainwindow {

std::string ActivationSocketName(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path real = std::filesystem::canonical(folder, ec);
    if (ec) real = std::filesystem::absolute(folder, ec).lexically_normal();
    // FNV-1a: stable across runs and builds, unlike std::hash.
    std::uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : real.string()) {
        h ^= c;
        h *= 1099511628211ull;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name = "channeldeck-";
    for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(h >> shift) & 0xF];
    return name + "-" + std::to_string(::getuid());
}

}  // namespace cd::mainwindow
