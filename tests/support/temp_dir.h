#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace cd::test {

/// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    /// Writes bytes to a file in the folder and returns its path.
    std::filesystem::path write(const std::string& name, std::string_view bytes) const;
    /// The whole file as bytes ("" when missing).
    std::string read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

}  // namespace cd::test
