#pragma once
// What every fuzz target shares: a scratch folder for the files a parser
// reads (on /dev/shm when there is one, so the thousands of small writes a
// second stay in memory), and a check that stops the run with a message
// libFuzzer keeps next to the input that broke it.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

namespace cd::fuzz {

/// Stops the run when cond is false: a broken promise of the code under
/// test is a finding just like a crash.
#define CD_FUZZ_CHECK(cond)                                                               \
    do {                                                                                  \
        if (!(cond)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

/// One folder per fuzzing process, emptied of whatever a run left in it
/// by the caller, and removed when the process ends normally.
class ScratchFolder {
public:
    static const std::filesystem::path& path() {
        static ScratchFolder folder;
        return folder.path_;
    }

    /// Writes bytes to name in the folder, replacing what was there.
    static std::filesystem::path write(const std::string& name, std::string_view bytes) {
        const auto file = path() / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        CD_FUZZ_CHECK(out.good());
        return file;
    }

    /// A fresh, empty sub-folder of the scratch folder.
    static std::filesystem::path freshSubfolder(const std::string& name) {
        const auto sub = path() / name;
        std::error_code ec;
        std::filesystem::remove_all(sub, ec);
        std::filesystem::create_directories(sub, ec);
        CD_FUZZ_CHECK(!ec);
        return sub;
    }

private:
    ScratchFolder() {
        std::error_code ec;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ec) || ::access(base.c_str(), W_OK) != 0)
            base = std::filesystem::temp_directory_path(ec);
        std::string pattern = (base / "cd-fuzz-XXXXXX").string();
        CD_FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }

    std::filesystem::path path_;
};

}  // namespace cd::fuzz
