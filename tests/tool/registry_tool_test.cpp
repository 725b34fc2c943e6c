#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <string>
#include <utility>
#include <vector>

#include "support/temp_dir.h"
#include "support/tool_runner.h"

namespace cd::test {
namespace {

class RegistryTool : public ::testing::Test {
protected:
    TempDir dir;
    std::string reg(const std::string& rest) const {
        return "reg " + rest + " --registry-dir " + shellQuoted((dir / "reg").string());
    }
};

// Catches set/get that use different stores, or get printing the terminating null.
TEST_F(RegistryTool, SetThenGetPrintsTheValue) {
    ASSERT_EQ(runTool(dir, reg("set 'HKEY_CURRENT_USER\\Software\\T' colour 'dark red'")).status, 0);
    const auto r = runTool(dir, reg("get 'hkcu\\software\\t' COLOUR"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "dark red\n");
    const auto missing = runTool(dir, reg("get 'HKCU\\Software\\T' nothing"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("nothing"), std::string::npos);
}

// Catches an export that differs from the class's format, or overwrites an existing file.
TEST_F(RegistryTool, ExportWritesTheScriptAndRefusesAnExistingFile) {
    ASSERT_EQ(runTool(dir, reg("set 'HKCU\\Software\\Test' x y")).status, 0);
    ASSERT_EQ(runTool(dir, reg("set 'HKCU\\Software\\Test\\Sub' @ inner")).status, 0);
    const std::string out = shellQuoted((dir / "out.reg").string());
    ASSERT_EQ(runTool(dir, reg("export 'HKCU\\Software\\Test' " + out + " --subkeys")).status, 0);
    EXPECT_EQ(dir.read("out.reg"),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"x\"=\"y\"\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Test\\Sub]\r\n@=\"inner\"\r\n\r\n");
    const auto again = runTool(dir, reg("export 'HKCU\\Software\\Test' " + out));
    EXPECT_EQ(again.status, 1);
    EXPECT_FALSE(again.err.empty());
}

// Catches values that an export then an import into a fresh store changes:
// text cut at "=", quotes dropped, a trailing backslash eating the quote.
TEST_F(RegistryTool, ExportedValuesImportIntoAFreshStoreUnchanged) {
    const std::vector<std::pair<std::string, std::string>> values = {
        {"url", "http://x/?a=b&c=d"}, {"say", "say \"hi\""}, {"dir", "C:\\Program Files\\App\\"}};
    for (const auto& [name, value] : values)
        ASSERT_EQ(runTool(dir, reg("set 'HKCU\\Software\\RT' " + name + " " + shellQuoted(value))).status, 0);
    const std::string out = shellQuoted((dir / "rt.reg").string());
    ASSERT_EQ(runTool(dir, reg("export 'HKCU\\Software\\RT' " + out)).status, 0);
    const std::string fresh = " --registry-dir " + shellQuoted((dir / "fresh").string());
    ASSERT_EQ(runTool(dir, "reg import " + out + fresh).status, 0);
    for (const auto& [name, value] : values)
        EXPECT_EQ(runTool(dir, "reg get 'HKCU\\Software\\RT' " + name + fresh).out, value + "\n") << name;
}

// Catches an import that ignores its result or accepts a file with LF line ends.
TEST_F(RegistryTool, ImportAppliesAScriptAndRejectsABadOne) {
    const auto good = dir.write("good.reg", "REGEDIT4\r\n\r\n[HKCU\\Imp]\r\n\"n\"=dword:0000001A\r\n\"s\"=\"v\"\r\n");
    ASSERT_EQ(runTool(dir, reg("import " + shellQuoted(good.string()))).status, 0);
    EXPECT_EQ(runTool(dir, reg("get 'HKCU\\Imp' n")).out, "26\n");
    EXPECT_EQ(runTool(dir, reg("get 'HKCU\\Imp' s")).out, "v\n");
    const auto bad = dir.write("bad.reg", "REGEDIT4\n[HKCU\\Bad]\n\"s\"=\"v\"\n");
    EXPECT_EQ(runTool(dir, reg("import " + shellQuoted(bad.string()))).status, 1);
    EXPECT_EQ(runTool(dir, reg("get 'HKCU\\Bad' s")).status, 1);
    EXPECT_EQ(runTool(dir, reg("import " + shellQuoted((dir / "missing.reg").string()))).status, 1);
}

// Catches usage mistakes that crash, run anyway, or exit with the failure code.
TEST_F(RegistryTool, UsageErrorsExitWithTwo) {
    EXPECT_EQ(runTool(dir, "reg").status, 2);
    EXPECT_EQ(runTool(dir, reg("frobnicate")).status, 2);
    EXPECT_EQ(runTool(dir, reg("get onlykey")).status, 2);
    EXPECT_EQ(runTool(dir, reg("set k n v extra")).status, 2);
    EXPECT_EQ(runTool(dir, reg("get k n --subkeys")).status, 2);
    EXPECT_EQ(runTool(dir, reg("get k n --bogus")).status, 2);
    const auto r = runTool(dir, "reg get k n --registry-dir");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage: channeldeck-tool reg"), std::string::npos);
}

// Catches the tool ignoring CHANNELDECK_REGISTRY_DIR, or the = form of the option.
TEST_F(RegistryTool, RegistryFolderFromTheEnvironmentOrTheEqualsForm) {
    const std::string folder = shellQuoted((dir / "envreg").string());
    const std::string tool = shellQuoted(CD_TOOL_PATH);
    ASSERT_EQ(runTool(dir, "reg set 'HKLM\\A' b c --registry-dir=" + folder).status, 0);
    const auto elsewhere = runShell(
        dir, "CHANNELDECK_REGISTRY_DIR=" + shellQuoted((dir / "empty").string()) + " " + tool + " reg get 'HKLM\\A' b");
    EXPECT_EQ(elsewhere.status, 1);
    const auto here = runShell(dir, "CHANNELDECK_REGISTRY_DIR=" + folder + " " + tool + " reg get 'HKLM\\A' b");
    EXPECT_EQ(here.status, 0);
    EXPECT_EQ(here.out, "c\n");
}

// Catches two tool processes writing at once losing each other's values.
TEST_F(RegistryTool, TwoConcurrentWritersKeepEveryValue) {
    const std::string folder = shellQuoted((dir / "reg").string());
    const std::string one = shellQuoted(CD_TOOL_PATH) + " reg set 'HKCU\\Busy' ";
    std::string script;
    for (const char* who : {"a", "b"}) {
        script +=
            "(for i in $(seq 1 25); do " + one + who + "$i v$i --registry-dir " + folder + " || echo failed; done) & ";
    }
    script += "wait";
    const auto r = runShell(dir, script);
    EXPECT_EQ(r.out.find("failed"), std::string::npos);
    const std::string exported = shellQuoted((dir / "busy.reg").string());
    ASSERT_EQ(runTool(dir, reg("export 'HKCU\\Busy' " + exported)).status, 0);
    const std::string text = dir.read("busy.reg");
    for (const char* who : {"a", "b"}) {
        for (int i = 1; i <= 25; ++i) {
            const std::string line =
                "\"" + std::string(who) + std::to_string(i) + "\"=\"v" + std::to_string(i) + "\"\r\n";
            EXPECT_NE(text.find(line), std::string::npos) << line;
        }
    }
}

}  // namespace
}  // namespace cd::test
