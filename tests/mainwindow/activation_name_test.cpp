#include "mainwindow/activation_name.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace cd::mainwindow {
namespace {

namespace fs = std::filesystem;

// Catches a name that differs for one folder named two ways (a second
// instance started through a link would not find the first), or that two
// folders share.
TEST(ActivationSocketName, OneFolderOneNameWhateverItIsCalled) {
    test::TempDir dir;
    fs::create_directories(dir / "a" / "b");
    fs::create_directories(dir / "c");
    fs::create_directory_symlink(dir / "a", dir / "link");
    const std::string name = ActivationSocketName(dir / "a");
    EXPECT_EQ(name.rfind("channeldeck-", 0), 0u);
    EXPECT_EQ(ActivationSocketName(dir / "link"), name);
    EXPECT_EQ(ActivationSocketName(dir / "a" / "b" / ".."), name);
    EXPECT_EQ(ActivationSocketName(dir.path() / "c" / ".." / "a" / ""), name);
    EXPECT_NE(ActivationSocketName(dir / "c"), name);
    EXPECT_NE(ActivationSocketName(dir / "a" / "b"), name);
    // A folder that is gone still gives a name, the same each time.
    EXPECT_EQ(ActivationSocketName(dir / "missing"), ActivationSocketName(dir / "missing"));
    EXPECT_LT(name.size(), 100u) << "a local socket's name must stay short";
}

}  // namespace
}  // namespace cd::mainwindow
