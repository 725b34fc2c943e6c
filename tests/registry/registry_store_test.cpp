#include "registry/registry_store.h"

#include <gtest/gtest.h>

#include <chrono>

#include "support/temp_dir.h"

namespace cd::registry {
namespace {

std::vector<std::string> names(const std::vector<RegistryValue>& values) {
    std::vector<std::string> out;
    for (const auto& v : values) out.push_back(v.name);
    return out;
}

// Catches a store that loses data when it is reopened, or keeps keys only in memory.
TEST(RegistryStore, KeysAndTypedValuesSurviveReopening) {
    test::TempDir dir;
    {
        RegistryStore store(dir.path());
        ASSERT_NE(store.setValue("HKCU", "Software\\X", {"bin", kRegBinary, std::string("\x00\xff", 2)}, true), 0);
        ASSERT_NE(store.setValue("HKCU", "Software\\X", {"n", kRegDword, std::string("\x1a\0\0\0", 4)}, true), 0);
    }
    RegistryStore store(dir.path());
    const auto v = store.value("HKCU", "Software\\X", "bin");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, kRegBinary);
    EXPECT_EQ(v->data, std::string("\x00\xff", 2));
    EXPECT_EQ(store.value("HKCU", "Software\\X", "n")->type, kRegDword);
    EXPECT_TRUE(std::filesystem::exists(dir / "HKCU.sqlite"));
    EXPECT_FALSE(std::filesystem::exists(dir / "HKLM.sqlite"));
}

// Catches case-sensitive key or value lookups, and names that lose their spelling.
TEST(RegistryStore, NamesIgnoreLetterCaseButKeepTheirSpelling) {
    test::TempDir dir;
    RegistryStore store(dir.path());
    const auto id = store.createKey("HKCU", "Software\\MyApp");
    ASSERT_GT(id, RegistryStore::kRootKeyId);
    EXPECT_EQ(store.createKey("HKCU", "SOFTWARE\\myapp"), id);
    EXPECT_EQ(store.findKey("HKCU", "software\\MYAPP"), id);
    EXPECT_EQ(*store.subkeyNames("HKCU", ""), std::vector<std::string>{"Software"});
    ASSERT_NE(store.setValue("HKCU", "Software\\MyApp", {"Colour", kRegString, "red"}, false), 0);
    ASSERT_NE(store.setValue("HKCU", "Software\\MyApp", {"COLOUR", kRegString, "blue"}, false), 0);
    const auto vals = *store.values("HKCU", "Software\\MyApp");
    ASSERT_EQ(vals.size(), 1u);
    EXPECT_EQ(vals[0].name, "Colour");
    EXPECT_EQ(vals[0].data, "blue");
}

// Catches an enumeration in hash or alphabetical order, or an overwrite that moves the value.
TEST(RegistryStore, EnumerationKeepsCreationOrder) {
    test::TempDir dir;
    RegistryStore store(dir.path());
    for (const char* k : {"zeta", "Alpha", "mid"}) ASSERT_NE(store.createKey("HKLM", std::string("A\\") + k), 0);
    EXPECT_EQ(*store.subkeyNames("HKLM", "A"), (std::vector<std::string>{"zeta", "Alpha", "mid"}));
    for (const char* v : {"z", "a", "m"}) ASSERT_NE(store.setValue("HKLM", "A", {v, kRegString, "1"}, false), 0);
    ASSERT_NE(store.setValue("HKLM", "A", {"z", kRegDword, "2222"}, false), 0);
    EXPECT_EQ(names(*store.values("HKLM", "A")), (std::vector<std::string>{"z", "a", "m"}));
}

// Catches a delete that leaves orphaned subkeys or values behind, or deletes a root.
TEST(RegistryStore, DeletingAKeyDeletesItsWholeSubtree) {
    test::TempDir dir;
    RegistryStore store(dir.path());
    ASSERT_NE(store.setValue("HKCU", "T\\A\\B\\C", {"v", kRegString, "x"}, true), 0);
    ASSERT_NE(store.setValue("HKCU", "T\\A", {"w", kRegString, "y"}, true), 0);
    ASSERT_NE(store.createKey("HKCU", "T\\Keep"), 0);
    EXPECT_NE(store.deleteKey("HKCU", "t\\a"), 0);
    EXPECT_EQ(store.findKey("HKCU", "T\\A"), 0);
    EXPECT_EQ(store.findKey("HKCU", "T\\A\\B\\C"), 0);
    EXPECT_EQ(*store.subkeyNames("HKCU", "T"), std::vector<std::string>{"Keep"});
    // Recreating the key must not bring back the old values.
    ASSERT_NE(store.createKey("HKCU", "T\\A\\B\\C"), 0);
    EXPECT_TRUE(store.values("HKCU", "T\\A\\B\\C")->empty());
    EXPECT_FALSE(store.value("HKCU", "T\\A", "w"));
    EXPECT_EQ(store.deleteKey("HKCU", "T\\Missing"), 0);
    EXPECT_EQ(store.deleteKey("HKCU", ""), 0);
}

// Catches paths with empty or over-long names being accepted as some other key.
TEST(RegistryStore, MalformedSubkeyPathsNameNoKey) {
    test::TempDir dir;
    RegistryStore store(dir.path());
    EXPECT_EQ(store.createKey("HKCU", "a\\\\b"), 0);
    EXPECT_EQ(store.createKey("HKCU", "\\a"), 0);
    EXPECT_EQ(store.createKey("HKCU", "a\\"), 0);
    EXPECT_EQ(store.createKey("HKCU", std::string(256, 'k')), 0);
    EXPECT_NE(store.createKey("HKCU", std::string(255, 'k')), 0);
    EXPECT_EQ(store.createKey("HKXX", "a"), 0);
    EXPECT_FALSE(store.lastError().empty());
}

// Catches a missing root file being created by a read, or a root key that is absent before any write.
TEST(RegistryStore, ReadsNeverCreateFilesAndRootKeysAlwaysExist) {
    test::TempDir dir;
    RegistryStore store(dir / "nested" / "registry");
    EXPECT_EQ(store.findKey("HKCC", ""), RegistryStore::kRootKeyId);
    EXPECT_TRUE(store.subkeyNames("HKCC", "")->empty());
    EXPECT_FALSE(store.subkeyNames("HKCC", "x"));
    EXPECT_FALSE(store.value("HKCC", "", "x"));
    EXPECT_FALSE(std::filesystem::exists(dir / "nested"));
    ASSERT_NE(store.setValue("HKCC", "", {"x", kRegString, "1"}, false), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "nested" / "registry" / "HKCC.sqlite"));
}

// Catches a read-only store that still changes its files.
TEST(RegistryStore, ReadOnlyStoreReadsButRefusesEveryChange) {
    test::TempDir dir;
    {
        RegistryStore store(dir.path());
        ASSERT_NE(store.setValue("HKLM", "S", {"a", kRegString, "1"}, true), 0);
    }
    RegistryStore ro(dir.path(), StoreAccess::ReadOnly);
    EXPECT_EQ(ro.value("HKLM", "S", "a")->data, "1");
    EXPECT_EQ(ro.setValue("HKLM", "S", {"a", kRegString, "2"}, true), 0);
    EXPECT_FALSE(ro.lastError().empty());
    EXPECT_EQ(ro.createKey("HKLM", "S\\T"), 0);
    EXPECT_EQ(ro.deleteValue("HKLM", "S", "a"), 0);
    EXPECT_EQ(ro.deleteKey("HKLM", "S"), 0);
    EXPECT_EQ(ro.setValue("HKCU", "", {"a", kRegString, "2"}, true), 0);
    EXPECT_EQ(ro.value("HKLM", "S", "a")->data, "1");
    EXPECT_FALSE(std::filesystem::exists(dir / "HKCU.sqlite"));
}

// Catches a folder path that is really a file being treated as an empty, writable store.
TEST(RegistryStore, FolderThatIsAFileFailsEveryWrite) {
    test::TempDir dir;
    const auto notAFolder = dir.write("registry", "plain file");
    RegistryStore store(notAFolder);
    EXPECT_EQ(store.setValue("HKLM", "S", {"a", kRegString, "1"}, true), 0);
    EXPECT_EQ(store.createKey("HKLM", "S"), 0);
    EXPECT_FALSE(store.value("HKLM", "S", "a"));
}

// Catches a damaged database file that hangs the caller or is silently replaced.
TEST(RegistryStore, DamagedFileFailsQuicklyAndIsLeftAlone) {
    test::TempDir dir;
    const std::string garbage(4096, 'g');
    dir.write("HKCU.sqlite", garbage);
    RegistryStore store(dir.path());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(store.setValue("HKCU", "S", {"a", kRegString, "1"}, true), 0);
    EXPECT_FALSE(store.value("HKCU", "S", "a"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(dir.read("HKCU.sqlite"), garbage);
}

}  // namespace
}  // namespace cd::registry
