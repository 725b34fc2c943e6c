// The catalogue commands of the real channeldeck-tool, run as a program on
// real files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "catalogue/line_cipher.h"
#include "support/temp_dir.h"
#include "support/tool_runner.h"
#include "util/files.h"

namespace {

using cd::test::runTool;
using cd::test::shellQuoted;
using cd::test::ToolRun;

namespace fs = std::filesystem;
using cd::catalogue::DecodeLine;
using cd::catalogue::EncodeLine;

std::string encodedLines(std::initializer_list<std::string> plain) {
    std::string out;
    for (const auto& l : plain) out += EncodeLine(l) + "\r\n";
    return out;
}

// Catches the cipher commands splitting lines at LF, losing a last line without its end, or ending lines with LF.
TEST(CatalogueTool, EncodeFollowsTheLineRuleAndWritesCrLf) {
    cd::test::TempDir dir;
    dir.write("stdin", "abc\r\ndef\rghi\nj");
    const ToolRun r = runTool(dir, "encode");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, EncodeLine("abc") + "\r\n" + EncodeLine("def") + "\r\n" + EncodeLine("ghi\nj") + "\r\n");
    EXPECT_EQ(r.out.substr(0, 3), "\xA1\xA2\xA3");
    EXPECT_EQ(r.err, "");
}

// Catches decode that is not the inverse of encode for ordinary text.
TEST(CatalogueTool, DecodeUndoesEncode) {
    cd::test::TempDir dir;
    const std::string plain = "Fox|http://fox|TV|English\r\nZDF|http://zdf|TV|German\r\n";
    dir.write("stdin", encodedLines({"Fox|http://fox|TV|English", "ZDF|http://zdf|TV|German"}));
    const ToolRun r = runTool(dir, "decode");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, plain);
}

// Catches the owner not being warned that a line will not come back from the cipher.
TEST(CatalogueTool, EncodeWarnsAboutBytesThatWillNotDecodeBack) {
    cd::test::TempDir dir;
    dir.write("stdin", "fine\r\nCaf\xCC\r\n");
    const ToolRun r = runTool(dir, "encode");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("line 1"), std::string::npos) << r.err;
}

// Catches stray arguments accepted silently.
TEST(CatalogueTool, CipherCommandsTakeNoArguments) {
    cd::test::TempDir dir;
    const ToolRun r = runTool(dir, "encode extra");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage: channeldeck-tool encode"), std::string::npos) << r.err;
}

// Catches an export whose layout or key handling differs from the editor's Encrypt and Save.
TEST(CatalogueTool, ExportWritesTheSameDataHtmAsTheEditor) {
    cd::test::TempDir dir;
    dir.write("Data.txt", encodedLines({"Fox|http://fox|TV|English|extra", "no record here", "Short|http://s"}));
    ToolRun r = runTool(dir, "export Data.txt out.htm");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("out.htm"), "<data>\r\n" + EncodeLine("Fox|http://fox|TV|English") + "\r\n" +
                                       EncodeLine("Short|http://s||") + "\r\n</data>\r\n");
    EXPECT_NE(r.out.find("2 channels"), std::string::npos) << r.out;

    r = runTool(dir, "export --plain Data.txt plain.htm");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("plain.htm"), "<data>\r\nFox|http://fox|TV|English\r\nShort|http://s||\r\n</data>\r\n");
}

// Catches a missing catalogue or an unwritable export reported as success.
TEST(CatalogueTool, ExportFailsClearlyOnMissingOrUnwritableFiles) {
    cd::test::TempDir dir;
    ToolRun r = runTool(dir, "export nothere.txt out.htm");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("nothere.txt"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "out.htm"));

    dir.write("Data.txt", encodedLines({"Fox|http://fox|TV|English"}));
    r = runTool(dir, "export Data.txt missing-folder/out.htm");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("could not be saved"), std::string::npos) << r.err;

    r = runTool(dir, "export Data.txt");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage:"), std::string::npos);
    r = runTool(dir, "export Data.txt out.htm --key");
    EXPECT_EQ(r.status, 2);
}

// Catches the command-line import pairing lines differently from Load2, or writing the catalogue plain.
TEST(CatalogueTool, ImportSectionedWritesAnEncodedCatalogue) {
    cd::test::TempDir dir;
    dir.write("list.txt", "[http://section]\r\nignored\r\nName\r\nRadio\r\n[B]\r\n\r\nOther\r\nTV\r\nLast");
    ToolRun r = runTool(dir, "import-sectioned list.txt Data.txt --type German");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("Data.txt"), encodedLines({"Name|http://section|Radio|German", "Other|B|TV|German"}));

    r = runTool(dir, "import-sectioned list.txt Default.txt");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("Default.txt"), encodedLines({"Name|http://section|Radio|TV", "Other|B|TV|TV"}))
        << "the type defaults to TV";
}

// Catches a missing import file, a missing value or a stray option passing silently.
TEST(CatalogueTool, ImportSectionedFailsClearly) {
    cd::test::TempDir dir;
    ToolRun r = runTool(dir, "import-sectioned nothere.txt Data.txt");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("nothere.txt"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "Data.txt"));
    r = runTool(dir, "import-sectioned list.txt Data.txt --type");
    EXPECT_EQ(r.status, 2);
    r = runTool(dir, "import-sectioned list.txt");
    EXPECT_EQ(r.status, 2);
}

// Catches the shipped sample catalogue drifting from its plain source.
TEST(CatalogueTool, SampleCatalogueDecodesToItsPlainSource) {
    cd::test::TempDir dir;
    const fs::path data = fs::path(CD_SOURCE_DIR) / "data";
    fs::copy_file(data / "Data.txt", dir / "stdin");
    const ToolRun r = runTool(dir, "decode");
    EXPECT_EQ(r.status, 0);
    const std::string plain = cd::util::readFile(data / "sample-catalogue.plain.txt").value_or("");
    EXPECT_FALSE(plain.empty());
    EXPECT_EQ(r.out, plain);
}

}  // namespace
