#include "registry/cls_registry_access.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace cd::registry {
namespace {

class RegistryAccess : public ::testing::Test {
protected:
    test::TempDir dir;
    RegistryStore store{dir.path()};
    ClsRegistryAccess reg{store};
};

// Catches a path parser that only knows one spelling of a root.
TEST_F(RegistryAccess, LongShortAndLowerCaseRootsNameTheSameKey) {
    ASSERT_NE(reg.WriteString("HKEY_CURRENT_USER\\Software\\X", "a", "1"), 0);
    EXPECT_EQ(reg.ReadString("hkey_current_user\\Software\\X", "a", "?"), "1");
    EXPECT_EQ(reg.ReadString("HKCU\\Software\\X", "a", "?"), "1");
    EXPECT_EQ(reg.ReadString("hkcu\\software\\x", "a", "?"), "1");
    EXPECT_TRUE(reg.KeyExists("HKCU"));
    EXPECT_TRUE(reg.KeyExists("hkey_current_user"));
    std::vector<std::string> keys;
    EXPECT_EQ(reg.EnumKeys("HKCU", keys), 1);
    EXPECT_EQ(keys, std::vector<std::string>{"Software"});
}

// Catches a parser that shortens only the leading root name or mis-takes the root.
TEST(RegistryPath, SplitsRootAndSubkeyAfterShorteningEveryLongName) {
    EXPECT_EQ(splitRegistryPath("HKCU").root, "HKCU");
    EXPECT_EQ(splitRegistryPath("HKCU").subkey, "");
    EXPECT_EQ(splitRegistryPath("hkey_local_machine").root, "HKLM");
    const auto p = splitRegistryPath("HKEY_CURRENT_USER\\Software\\hkey_users");
    EXPECT_EQ(p.root, "HKCU");
    EXPECT_EQ(p.subkey, "Software\\HKUS");
    // The root is the first four characters whatever follows them.
    EXPECT_EQ(splitRegistryPath("hkcuX\\a").root, "HKCU");
    EXPECT_EQ(splitRegistryPath("hkcuX\\a").subkey, "a");
    EXPECT_EQ(splitRegistryPath("HKCUX").root, "HKCUX");
    EXPECT_EQ(longRootNames("hkcu\\x\\HKLM"), "HKEY_CURRENT_USER\\x\\HKEY_LOCAL_MACHINE");
}

// Catches an unknown root that is mapped to some real root or crashes.
TEST_F(RegistryAccess, UnknownRootBehavesAsAMissingKey) {
    EXPECT_EQ(reg.CreateKey("HKXY\\A"), 0);
    EXPECT_EQ(reg.WriteString("HKXY\\A", "a", "1"), 0);
    EXPECT_EQ(reg.ReadString("HKXY\\A", "a", "dflt"), "dflt");
    EXPECT_EQ(reg.ReadDWORD("NOPE", "a", 7), 7);
    EXPECT_FALSE(reg.KeyExists("HKXY"));
    std::vector<std::string> keys{"stale"};
    EXPECT_EQ(reg.EnumKeys("HKXY", keys), -1);
    EXPECT_TRUE(keys.empty());
}

// Catches "@" being taken as the default value outside WriteString, or not in it.
TEST_F(RegistryAccess, AtNamesTheDefaultValueOnlyInWriteString) {
    ASSERT_NE(reg.WriteString("HKCU\\K", "@", "default"), 0);
    EXPECT_EQ(reg.ReadString("HKCU\\K", "", "?"), "default");
    EXPECT_EQ(reg.ReadString("HKCU\\K", "@", "?"), "?");
    ASSERT_NE(reg.WriteDWORD("HKCU\\K", "@", 5), 0);
    EXPECT_EQ(reg.ReadDWORD("HKCU\\K", "@", 0), 5);
    EXPECT_EQ(reg.ReadString("HKCU\\K", "", "?"), "default");
}

// Catches writes that create keys while CreateKeyIfDoesntExists is off.
TEST_F(RegistryAccess, WritingIntoAMissingKeyNeedsTheCreateFlag) {
    EXPECT_TRUE(reg.CreateKeyIfDoesntExists());
    reg.CreateKeyIfDoesntExists(false);
    EXPECT_EQ(reg.WriteString("HKCU\\New\\Key", "a", "1"), 0);
    EXPECT_EQ(reg.WriteDWORD("HKCU\\New\\Key", "a", 1), 0);
    EXPECT_EQ(reg.WriteBinary("HKCU\\New\\Key", "a", "01"), 0);
    EXPECT_FALSE(reg.KeyExists("HKCU\\New"));
    reg.CreateKeyIfDoesntExists(true);
    EXPECT_GT(reg.WriteString("HKCU\\New\\Key", "a", "1"), 0);
    EXPECT_TRUE(reg.KeyExists("HKCU\\New"));
}

// Catches a string stored without its terminating null, or a read buffer of the wrong size.
TEST_F(RegistryAccess, ReadStringFitsTwoHundredFiftyFourCharactersAndNoMore) {
    const std::string fits(254, 'a');
    const std::string tooLong(255, 'b');
    ASSERT_NE(reg.WriteString("HKCU\\B", "fits", fits), 0);
    ASSERT_NE(reg.WriteString("HKCU\\B", "long", tooLong), 0);
    EXPECT_EQ(reg.QueryValue("HKCU\\B", "fits")->data, fits + std::string(1, '\0'));
    EXPECT_EQ(reg.ReadString("HKCU\\B", "fits", "dflt"), fits);
    EXPECT_EQ(reg.ReadString("HKCU\\B", "long", "dflt"), "dflt");
    // Enumeration returns long strings whole.
    std::vector<std::string> names;
    std::vector<RegistryVariant> values;
    ASSERT_EQ(reg.EnumValues("HKCU\\B", names, values, kRegString), 2);
    EXPECT_EQ(std::get<std::string>(values[1]), tooLong);
}

// Catches ReadString that keeps leading spaces, reads past the null, or tests the type.
TEST_F(RegistryAccess, ReadStringTrimsLeadingSpacesAndStopsAtTheNull) {
    ASSERT_NE(reg.WriteString("HKCU\\S", "a", "   padded "), 0);
    EXPECT_EQ(reg.ReadString("HKCU\\S", "a", ""), "padded ");
    ASSERT_NE(reg.WriteBinary("HKCU\\S", "b", "41 42 00 43"), 0);
    EXPECT_EQ(reg.ReadString("HKCU\\S", "b", "?"), "AB");
    EXPECT_EQ(reg.ReadString("HKCU\\S", "missing", "?"), "?");
    EXPECT_EQ(reg.ReadString("HKCU\\Nokey", "a", "?"), "?");
}

// Catches a DWORD stored big-endian, sign-extended wrongly, or read from a longer value.
TEST_F(RegistryAccess, DwordValuesRoundTripIncludingNegativeNumbers) {
    ASSERT_NE(reg.WriteDWORD("HKCU\\D", "neg", -1), 0);
    ASSERT_NE(reg.WriteDWORD("HKCU\\D", "n", 26), 0);
    EXPECT_EQ(reg.ReadDWORD("HKCU\\D", "neg", 0), -1);
    EXPECT_EQ(reg.QueryValue("HKCU\\D", "n")->data, std::string("\x1a\0\0\0", 4));
    ASSERT_NE(reg.WriteString("HKCU\\D", "s", "1"), 0);
    EXPECT_EQ(reg.ReadDWORD("HKCU\\D", "s", 9), 0x31);  // "1" and its null fit the 4-byte buffer
    ASSERT_NE(reg.WriteString("HKCU\\D", "long", "1234"), 0);
    EXPECT_EQ(reg.ReadDWORD("HKCU\\D", "long", 9), 9);
    EXPECT_EQ(reg.ReadDWORD("HKCU\\D", "missing", -7), -7);
}

// Catches binary values that lose bytes, or invalid hex stored as made-up bytes.
TEST_F(RegistryAccess, BinaryValuesUseTheBinaryTextForm) {
    ASSERT_NE(reg.WriteBinary("HKCU\\Bin", "b", " 4a 00 ff "), 0);
    EXPECT_EQ(reg.ReadBinary("HKCU\\Bin", "b", "?"), "4A 00 FF");
    ASSERT_NE(reg.WriteBinary("HKCU\\Bin", "empty", ""), 0);
    EXPECT_EQ(reg.QueryValue("HKCU\\Bin", "empty")->type, kRegBinary);
    EXPECT_EQ(reg.ReadBinary("HKCU\\Bin", "empty", "?"), "");
    EXPECT_EQ(reg.WriteBinary("HKCU\\Bin", "bad", "4G"), 0);
    EXPECT_FALSE(reg.ValueExists("HKCU\\Bin", "bad"));
    EXPECT_EQ(reg.ReadBinary("HKCU\\Bin", "missing", "dflt"), "dflt");
}

// Catches KillValue/ValueExists that ignore the key or the name.
TEST_F(RegistryAccess, KillValueAndValueExists) {
    ASSERT_NE(reg.WriteString("HKCU\\V", "a", "1"), 0);
    EXPECT_TRUE(reg.ValueExists("HKCU\\V", "A"));
    EXPECT_NE(reg.KillValue("HKCU\\V", "a"), 0);
    EXPECT_FALSE(reg.ValueExists("HKCU\\V", "a"));
    EXPECT_NE(reg.KillValue("HKCU\\V", "never"), 0);  // the key opened; the value is absent
    EXPECT_EQ(reg.KillValue("HKCU\\Nokey", "a"), 0);
}

// Catches KillKey that reports success for a missing key, or leaves the subtree.
TEST_F(RegistryAccess, KillKeyDeletesTheSubtree) {
    ASSERT_NE(reg.WriteString("HKCU\\Top\\Sub\\Leaf", "a", "1"), 0);
    EXPECT_TRUE(reg.HaveSubkey("HKCU\\Top"));
    EXPECT_GT(reg.KillKey("HKCU\\Top"), 0);
    EXPECT_FALSE(reg.KeyExists("HKCU\\Top\\Sub\\Leaf"));
    EXPECT_EQ(reg.KillKey("HKCU\\Top"), 0);
    EXPECT_EQ(reg.KillKey("HKCU"), 0);
}

// Catches enumerations that keep stale entries, mix types, or report a missing key as empty.
TEST_F(RegistryAccess, EnumerationsCountEntriesAndFilterByType) {
    std::vector<std::string> keys{"stale"};
    ASSERT_NE(reg.CreateKey("HKCU\\E"), 0);
    EXPECT_EQ(reg.EnumKeys("HKCU\\E", keys), 0);
    EXPECT_TRUE(keys.empty());
    EXPECT_FALSE(reg.HaveSubkey("HKCU\\E"));
    EXPECT_FALSE(reg.HaveSubkey("HKCU\\Missing"));
    EXPECT_EQ(reg.EnumKeys("HKCU\\Missing", keys), -1);
    ASSERT_NE(reg.CreateKey("HKCU\\E\\one"), 0);
    ASSERT_NE(reg.CreateKey("HKCU\\E\\two"), 0);
    EXPECT_EQ(reg.EnumKeys("HKCU\\E", keys), 2);
    EXPECT_EQ(keys, (std::vector<std::string>{"one", "two"}));

    ASSERT_NE(reg.WriteString("HKCU\\E", "s", " text"), 0);
    ASSERT_NE(reg.WriteBinary("HKCU\\E", "b", "01AB"), 0);
    ASSERT_NE(reg.WriteDWORD("HKCU\\E", "d", -2), 0);
    ASSERT_NE(reg.WriteBinary("HKCU\\E", "z", ""), 0);
    std::vector<std::string> names{"stale"};
    std::vector<RegistryVariant> values{std::string("stale")};
    ASSERT_EQ(reg.EnumValues("HKCU\\E", names, values, -1), 4);
    EXPECT_EQ(names, (std::vector<std::string>{"s", "b", "d", "z"}));
    EXPECT_EQ(std::get<std::string>(values[0]), "text");
    EXPECT_EQ(std::get<std::string>(values[1]), "01 AB");
    EXPECT_EQ(std::get<std::int32_t>(values[2]), -2);
    EXPECT_EQ(std::get<std::string>(values[3]), "");
    EXPECT_EQ(reg.EnumValues("HKCU\\E", names, values, kRegDword), 1);
    EXPECT_EQ(names, std::vector<std::string>{"d"});
    EXPECT_EQ(reg.EnumValues("HKCU\\Missing", names, values, -1), -1);
    EXPECT_TRUE(names.empty() && values.empty());
}

// Catches a description table out of order, missing members, or wrong texts.
TEST(RegistryMembers, DescriptionsFollowTheInterfaceOrder) {
    const auto members = ClsRegistryAccess::members();
    ASSERT_EQ(members.size(), 22u);
    EXPECT_EQ(members.front().name, "CreateKeyIfDoesntExists");
    EXPECT_EQ(members[1].name, "SplitRegistryPath");
    EXPECT_FALSE(members[1].isPublic);
    EXPECT_EQ(members[17].name, "ExportKey");
    EXPECT_EQ(members.back().name, "isBinValid");
    EXPECT_EQ(ClsRegistryAccess::description("ValueExists"), "Checks if some value exists in registry");
    EXPECT_EQ(ClsRegistryAccess::description("ExportToReg"),
              "Exports contents of some key (and it's subkeys) to .reg file...");
    EXPECT_EQ(ClsRegistryAccess::description("CreateKeyIfDoesntExists"),
              "Let/Get. Should key will be created if no exists (when writting data to registry)");
    EXPECT_EQ(ClsRegistryAccess::description("ExportKey"), "");
    EXPECT_EQ(ClsRegistryAccess::description("NoSuchMember"), "");
}

}  // namespace
}  // namespace cd::registry
