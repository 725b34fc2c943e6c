// channeldeck-tool make-localization, run as a real program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "localization/cls_languages.h"
#include "support/temp_dir.h"
#include "support/tool_runner.h"
#include "ui/windows.h"

namespace cd::tool {
namespace {

using test::runTool;
using test::ToolRun;

std::string quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

/// The English file as the program's own windows and default messages give it.
std::string expectedEnglish(const std::filesystem::path& folder) {
    ui::Windows windows;
    windows.loadAll();
    localization::ClsLanguages languages(platform::Configuration::defaults().version, folder, windows);
    localization::addDefaultMessages(languages.messages());
    return languages.localizationFileText();
}

// Catches the tool writing something other than every window's captions and the default messages.
TEST(MakeLocalizationTool, WritesTheEnglishFile) {
    test::TempDir scratch;
    test::TempDir target;
    const ToolRun r = runTool(scratch, "make-localization " + quoted(target.path()));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(target.read("Localization.txt"), expectedEnglish(target.path()));
    EXPECT_NE(r.out.find("Localization.txt"), std::string::npos);
    EXPECT_TRUE(r.err.empty());
}

// Catches an existing file being kept or appended to.
TEST(MakeLocalizationTool, ReplacesAnExistingFile) {
    test::TempDir scratch;
    test::TempDir target;
    target.write("Localization.txt", "old");
    ASSERT_EQ(runTool(scratch, "make-localization " + quoted(target.path())).status, 0);
    EXPECT_EQ(target.read("Localization.txt"), expectedEnglish(target.path()));
}

// Catches bad arguments accepted or crashing instead of a usage error.
TEST(MakeLocalizationTool, UsageErrors) {
    test::TempDir scratch;
    ToolRun r = runTool(scratch, "make-localization");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage: channeldeck-tool make-localization DIR"), std::string::npos);
    r = runTool(scratch, "make-localization a b");
    EXPECT_EQ(r.status, 2);
}

// Catches a missing or non-folder target reported as a success.
TEST(MakeLocalizationTool, TargetMustBeAFolder) {
    test::TempDir scratch;
    ToolRun r = runTool(scratch, "make-localization " + quoted(scratch / "missing"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is not a folder"), std::string::npos);
    scratch.write("plain", "x");
    r = runTool(scratch, "make-localization " + quoted(scratch / "plain"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(scratch.read("plain"), "x");
}

// Catches a file that could not be written being reported as written.
TEST(MakeLocalizationTool, UnwritableTargetIsAnError) {
    test::TempDir scratch;
    test::TempDir target;
    std::filesystem::create_directory(target / "Localization.txt");
    const ToolRun r = runTool(scratch, "make-localization " + quoted(target.path()));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("could not write"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(target / "Localization.txt"));
}

}  // namespace
}  // namespace cd::tool
