#include <gtest/gtest.h>

#include "registry/cls_registry_access.h"
#include "support/temp_dir.h"

namespace cd::registry {
namespace {

class RegImport : public ::testing::Test {
protected:
    test::TempDir dir;
    RegistryStore store{dir / "registry"};
    ClsRegistryAccess reg{store};
    std::int32_t import(const std::string& text) { return reg.ImportFromReg(dir.write("in.reg", text).string()); }
};

// Catches any accepted line form being misread: strings, hex, dword, "@" and ignored lines.
TEST_F(RegImport, AppliesEveryValueLineForm) {
    ASSERT_EQ(import("regedit4\r\n"
                     "\"before\"=\"ignored: no section yet\"\r\n"
                     "\r\n"
                     "[HKEY_CURRENT_USER\\Software\\Imp]\r\n"
                     "; a comment=with equals\r\n"
                     "no equals sign here\r\n"
                     "\"s\"=\"plain\"\r\n"
                     "  \"eq\"=\"a=b=c\"  \r\n"
                     "\"q\"=\"say \"hi\"\"\r\n"
                     "\"b\"=hex:01,ab,FF\r\n"
                     "\"B2\"=HEX:\r\n"
                     "\"d\"=dword:0000001A\r\n"
                     "\"neg\"=DWORD:ffffffff\r\n"
                     "\"part\"=dword:12zz\r\n"
                     "@=\"the default\"\r\n"
                     "\"@\"=hex:02\r\n"),
              1);
    const std::string k = "HKCU\\Software\\Imp";
    EXPECT_FALSE(reg.ValueExists(k, "before"));
    EXPECT_EQ(reg.ReadString(k, "s", "?"), "plain");
    EXPECT_EQ(reg.ReadString(k, "eq", "?"), "a=b=c") << "a quoted value is read whole";
    EXPECT_EQ(reg.ReadString(k, "q", "?"), "say hi") << "a quote closed before the end: the old rule";
    EXPECT_EQ(reg.ReadBinary(k, "b", "?"), "01 AB FF");
    EXPECT_EQ(reg.QueryValue(k, "B2")->data, "");
    EXPECT_EQ(reg.ReadDWORD(k, "d", 0), 26);
    EXPECT_EQ(reg.ReadDWORD(k, "neg", 0), -1);
    EXPECT_EQ(reg.ReadDWORD(k, "part", 0), 0x12);
    EXPECT_EQ(reg.ReadString(k, "", "?"), "the default");
    EXPECT_EQ(reg.ReadBinary(k, "@", "?"), "02");
    EXPECT_FALSE(reg.ValueExists(k, "a comment"));
    std::vector<std::string> names;
    std::vector<RegistryVariant> values;
    EXPECT_EQ(reg.EnumValues(k, names, values, -1), 10);
}

// Catches a real-world script (as other programs write them) being mangled:
// escaped quotes and backslashes, expandable strings and string lists as
// hex(2) and hex(7), long hex data continued over lines, other value types,
// a deleted key and comments.
TEST_F(RegImport, ReadsScriptsWrittenByOtherPrograms) {
    ASSERT_NE(reg.WriteString("HKCU\\Software\\Vendor\\Old\\Sub", "a", "1"), 0);
    ASSERT_EQ(import("REGEDIT4\r\n"
                     "\r\n"
                     "; Written by the vendor's installer\r\n"
                     "[HKEY_CLASSES_ROOT\\App.Document\\shell\\open\\command]\r\n"
                     "@=\"\\\"C:\\\\Program Files\\\\App\\\\app.exe\\\" \\\"%1\\\"\"\r\n"
                     "\r\n"
                     "[HKEY_CURRENT_USER\\Software\\Vendor\\App]\r\n"
                     "\"InstallDir\"=\"C:\\\\Program Files\\\\App\\\\\"\r\n"
                     "\"Quote \\\"q\\\" = x\"=\"a=b\"\r\n"
                     "\"Path\"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,5c,61,\\\r\n"
                     "  70,70,00\r\n"
                     "\"Servers\"=hex(7):61,00,62,2e,63,00,00\r\n"
                     "\"Text\"=hex(1):48,69,00\r\n"
                     "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
                     "  16,17,18,\\\r\n"
                     "  19\r\n"
                     "\"Count\"=dword:00000010\r\n"
                     "\"Big\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                     "\"Trailing\"=\"ends in a backslash\\\\\"\r\n"
                     "\"Next\"=\"not joined to the line before\"\r\n"
                     "\r\n"
                     "[-HKEY_CURRENT_USER\\Software\\Vendor\\Old]\r\n"),
              1)
        << reg.lastError();
    EXPECT_EQ(reg.ReadString("HKCR\\App.Document\\shell\\open\\command", "", "?"),
              "\"C:\\Program Files\\App\\app.exe\" \"%1\"");
    const std::string k = "HKCU\\Software\\Vendor\\App";
    EXPECT_EQ(reg.ReadString(k, "InstallDir", "?"), "C:\\Program Files\\App\\");
    EXPECT_EQ(reg.ReadString(k, "Quote \"q\" = x", "?"), "a=b");
    EXPECT_EQ(reg.QueryValue(k, "Path")->type, kRegString);
    EXPECT_EQ(reg.QueryValue(k, "Path")->data, std::string("%SystemRoot%\\app\0", 17));
    EXPECT_EQ(reg.QueryValue(k, "Servers")->data, std::string("a\nb.c\0", 6)) << "strings joined by LF";
    EXPECT_EQ(reg.ReadString(k, "Text", "?"), "Hi");
    std::string blob;
    for (int b = 0; b <= 0x19; ++b) blob.push_back(static_cast<char>(b));
    EXPECT_EQ(reg.QueryValue(k, "Blob")->type, kRegBinary);
    EXPECT_EQ(reg.QueryValue(k, "Blob")->data, blob);
    EXPECT_EQ(reg.ReadDWORD(k, "Count", 0), 16);
    EXPECT_EQ(reg.QueryValue(k, "Big")->type, 0xBu) << "an unknown type keeps its code and bytes";
    EXPECT_EQ(reg.QueryValue(k, "Big")->data, std::string("\x01\0\0\0\0\0\0\0", 8));
    EXPECT_EQ(reg.ReadString(k, "Trailing", "?"), "ends in a backslash\\");
    EXPECT_EQ(reg.ReadString(k, "Next", "?"), "not joined to the line before");
    EXPECT_FALSE(reg.KeyExists("HKCU\\Software\\Vendor\\Old"));
    EXPECT_TRUE(reg.KeyExists("HKCU\\Software\\Vendor"));
}

// Catches scripts written by the old exporter, which quoted without
// escaping, being read worse than before: a value that ended in a
// backslash has no closing quote, backslashes that escape nothing stay, and
// a line quoted nowhere is read by the old rule. Bad hex(N) data fails.
TEST_F(RegImport, ReadsOldUnescapedScriptsByTheOldRule) {
    ASSERT_EQ(import("REGEDIT4\r\n\r\n"
                     "[HKEY_CURRENT_USER\\Software\\Old]\r\n"
                     "\"dir\"=\"C:\\\"\r\n"
                     "\"path\"=\"C:\\temp\\new\"\r\n"
                     "plain=value=cut\r\n"
                     "\"odd\"=unquoted \"text\"=cut\r\n"
                     "@=hex(1):41,00\r\n"
                     "\"@\"=\"a value named @\"\r\n"),
              1);
    const std::string k = "HKCU\\Software\\Old";
    EXPECT_EQ(reg.ReadString(k, "dir", "?"), "C:\\");
    EXPECT_EQ(reg.ReadString(k, "path", "?"), "C:\\temp\\new");
    EXPECT_EQ(reg.ReadString(k, "plain", "?"), "value");
    EXPECT_EQ(reg.ReadString(k, "odd", "?"), "unquoted text");
    EXPECT_EQ(reg.ReadString(k, "", "?"), "A") << "hex(1) data of @ is the default value";
    EXPECT_EQ(reg.ReadString(k, "@", "?"), "a value named @") << "a quoted @ names a value of its own";

    EXPECT_EQ(import("REGEDIT4\r\n[HKCU\\Bad]\r\n\"a\"=hex(2):4x,00\r\n"), 0);
    EXPECT_EQ(import("REGEDIT4\r\n[HKCU\\Bad]\r\n\"a\"=hex(7):41,,00\r\n"), 0);
    EXPECT_EQ(import("REGEDIT4\r\n[HKCU\\Bad]\r\n\"a\"=hex(1):41,\\\r\n"), 0) << "continued past the end";
    EXPECT_FALSE(reg.ValueExists("HKCU\\Bad", "a"));
}

// Catches deletions that do not happen, or "@" with empty data leaving an empty default.
TEST_F(RegImport, DeletesKeysValuesAndTheDefault) {
    ASSERT_NE(reg.WriteString("HKCU\\Software\\Test\\Sub", "a", "1"), 0);
    ASSERT_NE(reg.WriteString("HKCU\\Keep", "a", "1"), 0);
    ASSERT_NE(reg.WriteString("HKCU\\Keep", "b", "2"), 0);
    ASSERT_NE(reg.WriteString("HKCU\\Keep", "@", "dflt"), 0);
    ASSERT_EQ(import("REGEDIT4\r\n\r\n"
                     "[HKCU\\Keep]\r\n"
                     "\"a\"=-\r\n"
                     "[-HKEY_CURRENT_USER\\Software\\Test]\r\n"
                     "\"orphan\"=\"no section after a deletion\"\r\n"
                     "[-HKCU\\Already\\Gone]\r\n"
                     "[HKCU\\Keep]\r\n"
                     "\"never\"= - \r\n"
                     "@=\"\"\r\n"
                     "[HKCU\\NoSuchKey]\r\n"
                     "\"x\"=-\r\n"),
              1);
    EXPECT_FALSE(reg.KeyExists("HKCU\\Software\\Test"));
    EXPECT_TRUE(reg.KeyExists("HKCU\\Software"));
    EXPECT_FALSE(reg.ValueExists("HKCU\\Keep", "a"));
    EXPECT_TRUE(reg.ValueExists("HKCU\\Keep", "b"));
    EXPECT_FALSE(reg.ValueExists("HKCU\\Keep", ""));
    EXPECT_FALSE(reg.ValueExists("HKCU\\Keep", "orphan"));
    EXPECT_FALSE(reg.KeyExists("HKCU\\NoSuchKey"));
}

// Catches a reader that splits at bare LF or accepts a header with surrounding spaces.
TEST_F(RegImport, RefusesFilesWithoutAnExactHeader) {
    EXPECT_EQ(import("REGEDIT4\n[HKCU\\Lf]\n\"a\"=\"1\"\n"), 0);
    EXPECT_FALSE(reg.KeyExists("HKCU\\Lf"));
    EXPECT_EQ(import(" REGEDIT4\r\n[HKCU\\Sp]\r\n\"a\"=\"1\"\r\n"), 0);
    EXPECT_EQ(import("Windows Registry Editor Version 5.00\r\n[HKCU\\W]\r\n\"a\"=\"1\"\r\n"), 0);
    EXPECT_EQ(import(""), 0);
    EXPECT_FALSE(reg.KeyExists("HKCU\\Sp"));
    EXPECT_EQ(reg.ImportFromReg((dir / "missing.reg").string()), 0);
}

// Catches "[" alone being skipped, or the lines before it being rolled back.
TEST_F(RegImport, LoneBracketStopsTheImportKeepingEarlierLines) {
    ASSERT_EQ(import("REGEDIT4\r\n[HKCU\\Half]\r\n\"first\"=\"1\"\r\n[\r\n\"second\"=\"2\"\r\n"), 0);
    EXPECT_EQ(reg.ReadString("HKCU\\Half", "first", "?"), "1");
    EXPECT_FALSE(reg.ValueExists("HKCU\\Half", "second"));
}

// Catches an import that reports success although a line could not be applied.
TEST_F(RegImport, ALineTheStoreRefusesFailsTheImport) {
    EXPECT_EQ(import("REGEDIT4\r\n[HKXX\\Bad]\r\n\"a\"=\"1\"\r\n"), 0);
    EXPECT_EQ(import("REGEDIT4\r\n[HKCU\\H]\r\n\"a\"=hex:0g\r\n"), 0);
    EXPECT_FALSE(reg.ValueExists("HKCU\\H", "a"));
    EXPECT_EQ(import("REGEDIT4\r\n[HKCU\\H]\r\n\"a\"=dword:123456789\r\n"), 0);
    RegistryStore readOnly(dir / "registry", StoreAccess::ReadOnly);
    ClsRegistryAccess ro(readOnly);
    EXPECT_EQ(ro.ImportFromReg(dir.write("ok.reg", "REGEDIT4\r\n[HKCU\\R]\r\n\"a\"=\"1\"\r\n").string()), 0);
}

// Catches an import that leaves CreateKeyIfDoesntExists off and so writes nothing.
TEST_F(RegImport, TurnsOnKeyCreation) {
    reg.CreateKeyIfDoesntExists(false);
    ASSERT_EQ(import("REGEDIT4\r\n[HKCU\\A\\B\\C]\r\n\"a\"=\"1\"\r\n"), 1);
    EXPECT_TRUE(reg.CreateKeyIfDoesntExists());
    EXPECT_EQ(reg.ReadString("HKCU\\A\\B\\C", "a", "?"), "1");
}

// Catches any drift between what the export writes and what the import reads back.
TEST_F(RegImport, ExportImportExportGivesTheSameFile) {
    const std::string k = "HKCU\\Software\\Round";
    ASSERT_NE(reg.WriteString(k, "@", "top"), 0);
    ASSERT_NE(reg.WriteString(k, "name", "value with spaces"), 0);
    ASSERT_NE(reg.WriteBinary(k, "blob", "00 01 7F 80 FF"), 0);
    ASSERT_NE(reg.WriteDWORD(k, "min", -2147483647 - 1), 0);
    ASSERT_NE(reg.WriteDWORD(k, "one", 1), 0);
    ASSERT_NE(reg.WriteString(k + "\\Child\\HKLM", "deep", std::string(400, 'd')), 0);
    ASSERT_NE(reg.WriteBinary(k + "\\Child", "empty", ""), 0);
    const auto first = (dir / "first.reg").string();
    ASSERT_EQ(reg.ExportToReg(k, first, true), 1);

    RegistryStore other(dir / "other");
    ClsRegistryAccess again(other);
    ASSERT_EQ(again.ImportFromReg(first), 1);
    const auto second = (dir / "second.reg").string();
    ASSERT_EQ(again.ExportToReg(k, second, true), 1);
    EXPECT_EQ(dir.read("second.reg"), dir.read("first.reg"));
    EXPECT_NE(dir.read("first.reg").find("[HKEY_CURRENT_USER\\Software\\Round\\Child\\HKEY_LOCAL_MACHINE]"),
              std::string::npos);
}

}  // namespace
}  // namespace cd::registry
