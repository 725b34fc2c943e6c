// Bad files for the registry layer: a folder where the script should be, a
// script under a regular file, a store or an export that cannot grow,
// overlong lines and NUL bytes in a script. Each must end in a clear result,
// with no crash, a store that still opens whole, and nothing half written.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "registry/cls_registry_access.h"
#include "support/file_size_limit.h"
#include "support/sqlite_integrity.h"
#include "support/temp_dir.h"

namespace cd::registry {
namespace {

namespace fs = std::filesystem;

class RegistryBadFile : public ::testing::Test {
protected:
    test::TempDir dir;
    RegistryStore store{dir / "registry"};
    ClsRegistryAccess reg{store};
};

// Catches a folder given as the script being read as an empty script (a
// success) or crashing the import; nothing may be written.
TEST_F(RegistryBadFile, ScriptThatIsAFolderOrUnderAFileImportsNothing) {
    fs::create_directory(dir / "in.reg");
    EXPECT_EQ(reg.ImportFromReg((dir / "in.reg").string()), 0);
    dir.write("plainfile", "not a folder");
    EXPECT_EQ(reg.ImportFromReg((dir / "plainfile" / "in.reg").string()), 0);
    EXPECT_FALSE(fs::exists(dir / "registry")) << "a failed import creates no store";
}

// Catches a store folder that cannot exist (its parent is a regular file)
// being reported as imported.
TEST_F(RegistryBadFile, StoreUnderARegularFileFailsTheImport) {
    dir.write("plainfile", "not a folder");
    RegistryStore nowhere(dir / "plainfile" / "registry");
    ClsRegistryAccess access(nowhere);
    const auto script = dir.write("in.reg", "REGEDIT4\r\n\r\n[HKCU\\Software\\X]\r\n\"a\"=\"1\"\r\n");
    EXPECT_EQ(access.ImportFromReg(script.string()), 0);
    EXPECT_FALSE(access.KeyExists("HKCU\\Software\\X"));
    EXPECT_EQ(dir.read("plainfile"), "not a folder");
}

// Catches an import that runs out of room (a full disk) damaging the store,
// leaving a value cut short, or reporting success: the store must open
// sound, and every value in it must be whole.
TEST_F(RegistryBadFile, ImportIntoAStoreThatCannotGrowStopsCleanly) {
    ASSERT_NE(reg.WriteString("HKCU\\Software\\Before", "kept", "still here"), 0);
    std::string script = "REGEDIT4\r\n\r\n[HKCU\\Software\\Big]\r\n";
    const std::string text(3000, 'v');
    for (int i = 0; i < 200; ++i) script += "\"v" + std::to_string(i) + "\"=\"" + text + "\"\r\n";
    const auto file = dir.write("big.reg", script);

    const int status = test::runWithFileSizeLimit(96 * 1024, [&] {
        RegistryStore child(dir / "registry");
        ClsRegistryAccess access(child);
        return access.ImportFromReg(file.string()) == 0 ? 0 : 1;
    });
    EXPECT_EQ(status, 0) << "the import reported success although the store could not take it";

    EXPECT_EQ(test::integrityOf(store.fileFor("HKCU")), "ok");
    RegistryStore reopened(dir / "registry");
    ClsRegistryAccess after(reopened);
    EXPECT_EQ(after.ReadString("HKCU\\Software\\Before", "kept", "?"), "still here");
    std::vector<std::string> names;
    std::vector<RegistryVariant> values;
    const auto count = after.EnumValues("HKCU\\Software\\Big", names, values, -1);
    EXPECT_LT(count, 200) << "the limit did not stop the import";
    for (const auto& name : names) {
        const auto value = after.QueryValue("HKCU\\Software\\Big", name);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->data, text + '\0') << name << " was stored cut short";
    }
    // Once there is room again the same import completes.
    EXPECT_EQ(after.ImportFromReg(file.string()), 1);
    EXPECT_EQ(after.EnumValues("HKCU\\Software\\Big", names, values, -1), 200);
}

// Catches an export that runs out of room (a full disk) reported as done,
// or touching the store.
TEST_F(RegistryBadFile, ExportThatCannotGrowFails) {
    for (int i = 0; i < 50; ++i)
        ASSERT_NE(reg.WriteString("HKCU\\Software\\Out\\K" + std::to_string(i), "v", std::string(200, 'o')), 0);
    const std::string target = (dir / "out.reg").string();
    const int status = test::runWithFileSizeLimit(2048, [&] {
        RegistryStore child(dir / "registry");
        ClsRegistryAccess access(child);
        return access.ExportToReg("HKCU\\Software\\Out", target, true);
    });
    EXPECT_EQ(status, 0) << "the export reported success although the file could not take it";
    EXPECT_LE(fs::file_size(target), 2048u);
    EXPECT_EQ(test::integrityOf(store.fileFor("HKCU")), "ok");
    EXPECT_EQ(reg.ReadString("HKCU\\Software\\Out\\K49", "v", "?"), std::string(200, 'o'));
}

// Catches a script line past 32,767 bytes being cut or crashing the import:
// the value is stored whole, and reads as ReadString's limit says.
TEST_F(RegistryBadFile, OverlongLinesAreStoredWhole) {
    const std::string longText(100'000, 'L');
    const std::string longName(40'000, 'N');
    const auto file = dir.write("long.reg", "REGEDIT4\r\n\r\n[HKCU\\Software\\Long]\r\n\"text\"=\"" + longText +
                                                "\"\r\n\"" + longName + "\"=dword:00000007\r\n\"after\"=\"ok\"\r\n");
    ASSERT_EQ(reg.ImportFromReg(file.string()), 1);
    const auto stored = reg.QueryValue("HKCU\\Software\\Long", "text");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->data, longText + '\0');
    EXPECT_EQ(reg.ReadString("HKCU\\Software\\Long", "text", "default"), "default") << "past ReadString's 255 bytes";
    EXPECT_EQ(reg.ReadDWORD("HKCU\\Software\\Long", longName, 0), 7);
    EXPECT_EQ(reg.ReadString("HKCU\\Software\\Long", "after", "?"), "ok");

    // A key name past 255 bytes names no key: the import stops there.
    const auto badKey =
        dir.write("key.reg", "REGEDIT4\r\n\r\n[HKCU\\" + std::string(300, 'K') + "]\r\n\"a\"=\"1\"\r\n");
    EXPECT_EQ(reg.ImportFromReg(badKey.string()), 0);
}

// Catches NUL bytes ending a script line, a name or a value early, or
// crashing the import: they are stored as the bytes they are.
TEST_F(RegistryBadFile, NulBytesInAScriptAreStoredAsBytes) {
    const std::string value("a\0b", 3);
    const std::string name("n\0m", 3);
    const auto file = dir.write("nul.reg", "REGEDIT4\r\n\r\n[HKCU\\Software\\Nul]\r\n\"s\"=\"" + value + "\"\r\n\"" +
                                               name + "\"=\"x\"\r\n\"after\"=\"ok\"\r\n");
    ASSERT_EQ(reg.ImportFromReg(file.string()), 1);
    const auto stored = reg.QueryValue("HKCU\\Software\\Nul", "s");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->data, value + '\0');
    EXPECT_EQ(reg.ReadString("HKCU\\Software\\Nul", "s", "?"), "a") << "ReadString stops at the first null";
    EXPECT_TRUE(reg.ValueExists("HKCU\\Software\\Nul", name));
    EXPECT_EQ(reg.ReadString("HKCU\\Software\\Nul", "after", "?"), "ok");
}

// Catches a small script of very deep keys being stored: every call walks
// its key's path from the root, so exporting such a tree afterwards took
// hours (20,000 levels from a 40 KB script). The store stops at the Windows
// registry's 512 levels and the import says it could not apply the script.
TEST_F(RegistryBadFile, KeysDeeperThanTheRegistryAllowsAreRefused) {
    std::string deepest = "HKCU";
    for (std::size_t i = 0; i < RegistryStore::kMaxKeyDepth; ++i) deepest += "\\k";
    EXPECT_NE(reg.CreateKey(deepest), 0);
    EXPECT_TRUE(reg.KeyExists(deepest));
    EXPECT_EQ(reg.CreateKey(deepest + "\\k"), 0);
    EXPECT_EQ(reg.WriteString(deepest + "\\k", "v", "x"), 0);
    EXPECT_FALSE(reg.KeyExists(deepest + "\\k"));

    std::string script = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Deep";
    for (int i = 0; i < 20'000; ++i) script += "\\a";
    script += "]\r\n\"v\"=\"x\"\r\n";
    const auto file = dir.write("deep.reg", script);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(reg.ImportFromReg(file.string()), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(reg.KeyExists("HKCU\\Software\\Deep"));
}

}  // namespace
}  // namespace cd::registry
