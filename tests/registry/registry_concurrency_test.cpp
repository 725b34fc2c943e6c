#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "registry/cls_registry_access.h"
#include "support/temp_dir.h"

namespace cd::registry {
namespace {

constexpr int kWrites = 200;

// Catches lost writes when two processes change the same key at once (no
// locking, no busy wait, or a read-modify-write race on key creation).
TEST(RegistryConcurrency, TwoProcessesWritingAtOnceKeepEveryValue) {
    test::TempDir dir;
    const auto folder = dir / "registry";
    pid_t children[2];
    for (int p = 0; p < 2; ++p) {
        children[p] = ::fork();
        ASSERT_GE(children[p], 0);
        if (children[p] == 0) {
            // Each process opens its own store, as two running programs would;
            // both start on a folder that does not exist yet.
            RegistryStore store(folder);
            ClsRegistryAccess reg(store);
            int failures = 0;
            for (int i = 0; i < kWrites; ++i) {
                const std::string name = "p" + std::to_string(p) + "_" + std::to_string(i);
                if (reg.WriteString("HKCU\\Software\\Shared\\Sub" + std::to_string(i % 3), name, name) == 0) ++failures;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    RegistryStore store(folder);
    ClsRegistryAccess reg(store);
    std::vector<std::string> keys;
    EXPECT_EQ(reg.EnumKeys("HKCU\\Software\\Shared", keys), 3);
    int found = 0;
    for (int p = 0; p < 2; ++p) {
        for (int i = 0; i < kWrites; ++i) {
            const std::string name = "p" + std::to_string(p) + "_" + std::to_string(i);
            if (reg.ReadString("HKCU\\Software\\Shared\\Sub" + std::to_string(i % 3), name, "") == name) ++found;
        }
    }
    EXPECT_EQ(found, 2 * kWrites);
}

}  // namespace
}  // namespace cd::registry
