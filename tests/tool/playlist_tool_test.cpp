// The playlist commands and the list search of the real channeldeck-tool,
// run as a program on real files.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "formats/channel.h"
#include "formats/line_cipher.h"
#include "support/temp_dir.h"
#include "support/tool_runner.h"
#include "util/display_text.h"
#include "util/lines.h"
#include "util/text.h"

namespace {

using cd::formats::Channel;
using cd::test::runShell;
using cd::test::runTool;
using cd::test::shellQuoted;
using cd::test::ToolRun;

std::string catalogue(std::initializer_list<std::string> plain) {
    std::string out;
    for (const auto& l : plain) out += cd::formats::EncodeLine(l) + "\r\n";
    return out;
}

std::vector<Channel> recordsOf(const std::string& bytes) {
    std::vector<Channel> out;
    cd::util::forEachLine(bytes, [&](std::string_view line) {
        if (auto c = cd::formats::parseRecordLine(cd::formats::DecodeLine(line))) out.push_back(*c);
        return true;
    });
    return out;
}

// Catches the import's summary line or exit status wrong, a playlist from
// standard input not read, the "already there" file ignored, or a failure
// reported as success.
TEST(PlaylistTool, ImportPrintsItsCountsAndFailsClearly) {
    cd::test::TempDir dir;
    dir.write("list.m3u",
              "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:-1 group-title=\"Adult\",Late\r\nhttp://late/1\r\n"
              "#EXTINF:-1,Known\r\nhttp://known/1\r\nfile:///x.ts\r\n#EXTINF:-1,Cut\r\n");
    dir.write("Data.txt", catalogue({"Known|http://known/1|TV|English"}));
    ToolRun r = runTool(dir, "import-playlist list.m3u Imported.txt --category radio --already-in Data.txt");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "imported 1, skipped 3 (not http/https 1, duplicates 1, unreadable 1)\n");
    EXPECT_EQ(recordsOf(dir.read("Imported.txt")), (std::vector<Channel>{{"Late", "http://late/1", "XXX", ""}}));

    dir.write("stdin", "[playlist]\nFile1=http://radio/1\nTitle1=One\n");
    r = runTool(dir, "import-playlist - Imported.txt --category=Radio");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "imported 1, skipped 0 (not http/https 0, duplicates 0, unreadable 0)\n");
    EXPECT_EQ(recordsOf(dir.read("Imported.txt")).back(), (Channel{"One", "http://radio/1", "Radio", ""}));

    for (const char* args : {"import-playlist", "import-playlist list.m3u", "import-playlist a b c",
                             "import-playlist list.m3u x.txt --category Sport",
                             "import-playlist list.m3u x.txt --bogus 1", "import-playlist list.m3u x.txt --category"}) {
        r = runTool(dir, args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("usage: channeldeck-tool import-playlist"), std::string::npos) << args;
    }
    r = runTool(dir, "import-playlist missing.m3u x.txt");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.m3u cannot be read"), std::string::npos) << r.err;
    std::filesystem::create_directory(dir / "folder.txt");
    r = runTool(dir, "import-playlist list.m3u folder.txt");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("nothing imported"), std::string::npos) << r.err;
}

// Catches two importers at once losing each other's records: each reads the
// file, adds its own and renames its version over the other's unless they
// take turns on a lock that outlives the rename.
TEST(PlaylistTool, ImportersAtOnceLoseNothing) {
    cd::test::TempDir dir;
    constexpr int kImporters = 4, kRounds = 5, kEntries = 400;
    std::string script;
    for (int p = 0; p < kImporters; ++p) {
        std::string loop;
        for (int round = 0; round < kRounds; ++round) {
            std::string playlist = "#EXTM3U\n";
            for (int i = 0; i < kEntries; ++i) {
                const std::string id = std::to_string(p) + "-" + std::to_string(round) + "-" + std::to_string(i);
                playlist += "#EXTINF:-1,Channel " + id + "\nhttp://host/" + id + "\n";
            }
            const std::string name = "p" + std::to_string(p) + "r" + std::to_string(round) + ".m3u";
            dir.write(name, playlist);
            loop += shellQuoted(CD_TOOL_PATH) + " import-playlist " + name + " Imported.txt >> out" +
                    std::to_string(p) + " || echo failed >> out" + std::to_string(p) + "; ";
        }
        script += "( " + loop + ") &\n";
    }
    script += "wait\n";
    const ToolRun r = runShell(dir, script);
    EXPECT_EQ(r.status, 0) << r.err;
    for (int p = 0; p < kImporters; ++p) {
        const std::string out = dir.read("out" + std::to_string(p));
        std::string expected;
        for (int round = 0; round < kRounds; ++round)
            expected += "imported 400, skipped 0 (not http/https 0, duplicates 0, unreadable 0)\n";
        EXPECT_EQ(out, expected) << p;
    }
    std::map<std::string, int> seen;
    for (const Channel& c : recordsOf(dir.read("Imported.txt"))) ++seen[c.address];
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kImporters * kRounds * kEntries));
    for (const auto& [address, count] : seen) EXPECT_EQ(count, 1) << address;
}

// Catches an export that the import does not read back into the same
// records (names compared as text: windows-1252 comes back as UTF-8), and
// options of the export not applied as the category view applies them.
TEST(PlaylistTool, ExportThenImportGivesTheSameRecords) {
    cd::test::TempDir dir;
    dir.write("Data.txt", catalogue({"Caf\xE9 Cr\xE8me|http://a/1|TV|French/English",
                                     "Na\xC3\xAFve, \"Live\"|https://u:p@b/2?x=1;y=2|TV|German",
                                     "Jazz|http://c/3|Radio|English", "Beeb|mms://d/4|TV|english"}));
    ToolRun r = runTool(dir, "export-playlist Data.txt tv.m3u");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "exported 3 channels\n");
    r = runTool(dir, "import-playlist tv.m3u Back.txt --category Video");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "imported 3, skipped 0 (not http/https 0, duplicates 0, unreadable 0)\n");
    EXPECT_EQ(recordsOf(dir.read("Back.txt")),
              (std::vector<Channel>{{"Caf\xC3\xA9 Cr\xC3\xA8me", "http://a/1", "TV", "French/English"},
                                    {"Na\xC3\xAFve, \"Live\"", "https://u:p@b/2?x=1;y=2", "TV", "German"},
                                    {"Beeb", "mms://d/4", "TV", "english"}}));

    r = runTool(dir, "export-playlist Data.txt some.m3u --category TV --language ENGLISH --search CAFE");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "exported 1 channel\n");
    EXPECT_EQ(dir.read("some.m3u"),
              "#EXTM3U\n#EXTINF:-1 tvg-language=\"French/English\" group-title=\"TV\",Caf\xC3\xA9 Cr\xC3\xA8me\n"
              "http://a/1\n");
    r = runTool(dir, "export-playlist Data.txt none.m3u --category tv");
    EXPECT_EQ(r.out, "exported 0 channels\n");
    EXPECT_EQ(dir.read("none.m3u"), "#EXTM3U\n");

    dir.write("short.txt", catalogue({"Fox|http://fox|TV|English", "Bad|http://bad|TV"}));
    r = runTool(dir, "export-playlist short.txt short.m3u");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "short.m3u"));
    r = runTool(dir, "export-playlist Data.txt");
    EXPECT_EQ(r.status, 2);
}

// Catches a search that minds case or accents, drops the language filter,
// changes the list's output format, or lists other rows than the export:
// both must show what the category view shows.
TEST(PlaylistTool, ListSearchAndExportShowTheSameRows) {
    cd::test::TempDir dir;
    dir.write("Data.txt", catalogue({"Caf\xE9 One|http://a/1|TV|French", "CAFE\xCC\xFE|http://x|Radio|French",
                                     "Caf\xC3\xA9 Two|http://a/2|TV|English", "Other|http://a/3|TV|English",
                                     "cafeteria|http://a/4|TV|german", "Jazz Caf\xE9|http://a/5|Radio|French"}));
    ToolRun r = runTool(dir, "list Data.txt --category TV --search CAF\xC3\x89");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Caf\xE9 One\thttp://a/1\tTV\tFrench\nCaf\xC3\xA9 Two\thttp://a/2\tTV\tEnglish\n"
              "cafeteria\thttp://a/4\tTV\tgerman\nLanguages:\nAll\n\nEnglish\nFrench\ngerman\n");
    r = runTool(dir, "list Data.txt --category TV --language english --search=cafe\xCC\x81");
    EXPECT_EQ(r.out, "Caf\xC3\xA9 Two\thttp://a/2\tTV\tEnglish\nLanguages:\nAll\n\nEnglish\nFrench\ngerman\n");
    r = runTool(dir, "list Data.txt --category TV --search nothing");
    EXPECT_EQ(r.out, "Languages:\nAll\n\nEnglish\nFrench\ngerman\n");

    for (const std::string options :
         {"--category TV", "--category TV --language French", "--category Radio", "--category TV --search cafe",
          "--category Radio --language fr --search jazz", "--category XXX"}) {
        const ToolRun listed = runTool(dir, "list Data.txt " + options);
        ASSERT_EQ(listed.status, 0) << listed.err;
        const ToolRun exported = runTool(dir, "export-playlist Data.txt out.m3u " + options);
        ASSERT_EQ(exported.status, 0) << exported.err;
        // The list prints stored bytes, the export UTF-8: compare row by row as text.
        std::string rows;
        for (const std::string& row : cd::util::split(listed.out.substr(0, listed.out.find("Languages:\n")), "\n"))
            if (!row.empty()) rows += cd::util::displayText(row) + "\n";
        std::string fromExport;
        const std::vector<std::string> lines = cd::util::split(dir.read("out.m3u"), "\n");
        for (std::size_t i = 1; i + 1 < lines.size(); i += 2) {
            const std::string& info = lines[i];
            const std::size_t languagesAt = info.find("tvg-language=\"") + 14;
            const std::string languages = info.substr(languagesAt, info.find('"', languagesAt) - languagesAt);
            const std::size_t categoryAt = info.find("group-title=\"") + 13;
            const std::string category = info.substr(categoryAt, info.find('"', categoryAt) - categoryAt);
            fromExport +=
                info.substr(info.find("\",") + 2) + "\t" + lines[i + 1] + "\t" + category + "\t" + languages + "\n";
        }
        EXPECT_EQ(fromExport, rows) << options;
    }
}

}  // namespace
