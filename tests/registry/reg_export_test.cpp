#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "registry/cls_registry_access.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/control.h"

namespace cd::registry {
namespace {

class RegExport : public ::testing::Test {
protected:
    test::TempDir dir;
    RegistryStore store{dir / "registry"};
    ClsRegistryAccess reg{store};
    std::string file(const std::string& name) const { return (dir / name).string(); }
};

// Catches wrong group order, lower-case hex, unpadded dwords, LF endings or short root names.
TEST_F(RegExport, ExampleKeyIsWrittenByteForByte) {
    // Written in the reverse of the group order, which must not matter.
    ASSERT_NE(reg.WriteDWORD("HKCU\\Software\\Test", "n", 26), 0);
    ASSERT_NE(reg.WriteBinary("HKCU\\Software\\Test", "b", "01 AB"), 0);
    ASSERT_NE(reg.WriteString("HKCU\\Software\\Test", "x", "y"), 0);
    ASSERT_EQ(reg.ExportToReg("HKCU\\Software\\Test", file("out.reg"), false), 1);
    EXPECT_EQ(dir.read("out.reg"),
              "REGEDIT4\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
              "\"x\"=\"y\"\r\n"
              "\"b\"=hex:01,AB\r\n"
              "\"n\"=dword:0000001A\r\n"
              "\r\n");
}

// Catches a default value left out, negative dwords not in two's complement, or empty hex mangled.
TEST_F(RegExport, DefaultValueNegativeDwordAndEmptyBinary) {
    ASSERT_NE(reg.WriteString("hklm\\S", "@", "dflt"), 0);
    ASSERT_NE(reg.WriteDWORD("hklm\\S", "m", -1), 0);
    ASSERT_NE(reg.WriteBinary("hklm\\S", "e", ""), 0);
    ASSERT_EQ(reg.ExportToReg("hklm\\S", file("d.reg"), false), 1);
    EXPECT_EQ(dir.read("d.reg"),
              "REGEDIT4\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\S]\r\n"
              "@=\"dflt\"\r\n"
              "\"e\"=hex:\r\n"
              "\"m\"=dword:FFFFFFFF\r\n"
              "\r\n");
}

// Catches a subtree walk in the wrong order, or subkeys written without the flag.
TEST_F(RegExport, SubkeysFollowTheirParentInEnumerationOrder) {
    ASSERT_NE(reg.WriteString("HKCU\\T\\B", "v", "1"), 0);
    ASSERT_NE(reg.WriteString("HKCU\\T\\A\\Deep", "w", "2"), 0);
    ASSERT_EQ(reg.ExportToReg("HKCU\\T", file("flat.reg"), false), 1);
    EXPECT_EQ(dir.read("flat.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\T]\r\n\r\n");
    ASSERT_EQ(reg.ExportToReg("HKCU\\T", file("tree.reg"), true), 1);
    EXPECT_EQ(dir.read("tree.reg"),
              "REGEDIT4\r\n\r\n"
              "[HKEY_CURRENT_USER\\T]\r\n\r\n"
              "[HKEY_CURRENT_USER\\T\\B]\r\n\"v\"=\"1\"\r\n\r\n"
              "[HKEY_CURRENT_USER\\T\\A]\r\n\r\n"
              "[HKEY_CURRENT_USER\\T\\A\\Deep]\r\n\"w\"=\"2\"\r\n\r\n");
}

// Catches an export that overwrites or appends to a file that is already there.
TEST_F(RegExport, ExistingFileIsRefusedAndLeftUnchanged) {
    ASSERT_NE(reg.WriteString("HKCU\\X", "a", "1"), 0);
    dir.write("taken.reg", "precious");
    EXPECT_EQ(reg.ExportToReg("HKCU\\X", file("taken.reg"), true), 0);
    EXPECT_EQ(dir.read("taken.reg"), "precious");
    EXPECT_EQ(reg.ExportToReg("HKCU\\X", file("no/such/folder/x.reg"), true), 0);
}

// Catches long string values written as "" (lost on import) because of the read buffer.
TEST_F(RegExport, LongStringsAreWrittenWhole) {
    const std::string longText(300, 'L');
    ASSERT_NE(reg.WriteString("HKCU\\L", "@", longText), 0);
    ASSERT_NE(reg.WriteString("HKCU\\L", "s", longText), 0);
    ASSERT_EQ(reg.ExportToReg("HKCU\\L", file("l.reg"), false), 1);
    EXPECT_EQ(dir.read("l.reg"),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\L]\r\n@=\"" + longText + "\"\r\n\"s\"=\"" + longText + "\"\r\n\r\n");
}

// Catches a progress box that is not updated per key, or updated without letting events run first.
TEST_F(RegExport, OutputShowsEachKeyPathAfterPumpingEvents) {
    test::FakeEventPump pump;
    ClsRegistryAccess withPump(store, &pump);
    ui::Control box("TextBox", "txtOutput");
    std::vector<std::string> seenAtPump;
    pump.onPump = [&] { seenAtPump.push_back(box.text()); };
    ASSERT_NE(withPump.CreateKey("HKCU\\P\\Q"), 0);
    ASSERT_EQ(withPump.ExportToReg("HKCU\\P", file("p.reg"), true, &box), 1);
    EXPECT_EQ(pump.calls, 2);
    EXPECT_EQ(seenAtPump, (std::vector<std::string>{"", "HKEY_CURRENT_USER\\P"}));
    EXPECT_EQ(box.text(), "HKEY_CURRENT_USER\\P\\Q");
}

// Catches an export that reports success although the disk refused part of the file.
TEST_F(RegExport, AFailedWriteReportsZero) {
    ASSERT_NE(reg.WriteString("HKCU\\Big", "s", std::string(2000, 'x')), 0);
    const std::string target = file("big.reg");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The file-size limit makes the disk refuse the section after the header.
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        RegistryStore childStore(dir / "registry");
        ClsRegistryAccess childReg(childStore);
        ::_exit(childReg.ExportToReg("HKCU\\Big", target, false) == 0 ? 10 : 11);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 10);
    EXPECT_LE(dir.read("big.reg").size(), 100u);
}

// Catches a missing key that aborts the export instead of giving an empty section.
TEST_F(RegExport, MissingKeyGetsAnEmptySection) {
    ASSERT_EQ(reg.ExportToReg("HKCU\\Nothing", file("n.reg"), true), 1);
    EXPECT_EQ(dir.read("n.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Nothing]\r\n\r\n");
}

}  // namespace
}  // namespace cd::registry
