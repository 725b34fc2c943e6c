// The fetch, probe and list commands of the real channeldeck-tool, run as a
// program against a loopback server and real catalogue files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "catalogue/line_cipher.h"
#include "fetch/fetch_server.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"
#include "support/tool_runner.h"

namespace {

using cd::test::runTool;
using cd::test::shellQuoted;
using cd::test::ToolRun;

std::string catalogue(std::initializer_list<std::string> plain) {
    std::string out;
    for (const auto& l : plain) out += cd::catalogue::EncodeLine(l) + "\r\n";
    return out;
}

class FetchTool : public ::testing::Test {
protected:
    cd::test::TempDir dir;
    cd::test::FetchTestServer server;
};

// Catches a fetch command that changes the body, or reports success for nothing.
TEST_F(FetchTool, FetchPrintsTheBodyAndFailsOnNothing) {
    ToolRun r = runTool(dir, "fetch " + shellQuoted(server.url("/bytes")));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, cd::test::FetchTestServer::allBytes());
    r = runTool(dir, "fetch " + shellQuoted(server.url("/notfound")));
    EXPECT_EQ(r.status, 0) << "an error page is a body like any other";
    EXPECT_NE(r.out.find("page NOT FOUND"), std::string::npos);
    r = runTool(dir, "fetch " + shellQuoted(server.url("/empty")));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("the body is empty"), std::string::npos);
    r = runTool(dir, "fetch file:///etc/passwd");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("nothing fetched"), std::string::npos);
}

// Catches an endless body read until memory runs out, or one past the cap
// printed as if it were the whole.
TEST_F(FetchTool, FetchStopsAtItsCap) {
    ToolRun r = runTool(dir, "fetch --max-bytes 5000 " + shellQuoted(server.url("/endless")));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("larger than 5000 bytes"), std::string::npos) << r.err;
    r = runTool(dir, "fetch --max-bytes=10 " + shellQuoted(server.url("/ten")));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0123456789");
    EXPECT_EQ(runTool(dir, "fetch --max-bytes 0 " + shellQuoted(server.url("/ten"))).status, 2);
    EXPECT_EQ(runTool(dir, "fetch --max-bytes lots " + shellQuoted(server.url("/ten"))).status, 2);
}

// Catches a probe that reads an endless stream forever, decides otherwise
// than a click would, or leaves out the reason.
TEST_F(FetchTool, ProbeSaysOnlineOrOfflineAndWhy) {
    EXPECT_EQ(runTool(dir, "probe " + shellQuoted(server.url("/ten"))).out, "online\na stream\n");
    EXPECT_EQ(runTool(dir, "probe " + shellQuoted(server.url("/endless"))).out, "online\na stream\n");
    const ToolRun r = runTool(dir, "probe " + shellQuoted(server.url("/terror")));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "offline\nnot a stream\n");
    EXPECT_EQ(runTool(dir, "probe " + shellQuoted(server.url("/notfound"))).out, "offline\nnot found (HTTP 404)\n");
    EXPECT_EQ(runTool(dir, "probe http://127.0.0.1:1/x").out, "offline\nrefused\n");
    EXPECT_EQ(runTool(dir, "probe mms://127.0.0.1/x").out, "online\na streaming protocol the player opens itself\n");
    EXPECT_EQ(runTool(dir, "probe file:///etc/passwd").out, "offline\nnot an address the player can open\n");
}

// Catches missing usage errors.
TEST_F(FetchTool, BadUsageExitsWithTwo) {
    for (const char* args :
         {"fetch", "probe", "probe a b", "download", "download a b", "list", "list Data.txt", "list --category TV",
          "list Data.txt --category", "list Data.txt --category TV --colour red"}) {
        const ToolRun r = runTool(dir, args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("usage: channeldeck-tool"), std::string::npos) << args;
    }
}

// Catches a list command that does not run the category view's filter and
// language box, or prints columns in another order.
TEST_F(FetchTool, ListPrintsRowsThenLanguageEntries) {
    dir.write("cat.txt", catalogue({"Fox|http://fox|TV|English", "Jazz|http://jazz|Radio|French",
                                    "Arte|mms://arte|TV|French/German", "Beeb|http://b|TV|english"}));
    ToolRun r = runTool(dir, "list cat.txt --category TV");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Fox\thttp://fox\tTV\tEnglish\nArte\tmms://arte\tTV\tFrench/German\nBeeb\thttp://b\tTV\tenglish\n"
              "Languages:\nAll\n\nEnglish\nFrench\nGerman\n");
    r = runTool(dir, "list cat.txt --category=TV --language ENG");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(
        r.out,
        "Fox\thttp://fox\tTV\tEnglish\nBeeb\thttp://b\tTV\tenglish\nLanguages:\nAll\n\nEnglish\nFrench\nGerman\n");
}

// Catches a failed load reported as success, or rows so far withheld.
TEST_F(FetchTool, ListFailureGoesToStderrWithExitOne) {
    ToolRun r = runTool(dir, "list missing.txt --category TV");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("TV Channel file was not found."), std::string::npos);
    dir.write("short.txt", catalogue({"Fox|http://fox|TV|English", "Bad|http://bad|TV", "Arte|a|TV|French"}));
    r = runTool(dir, "list short.txt --category TV");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "Fox\thttp://fox\tTV\tEnglish\n");
    EXPECT_NE(r.err.find("No channels could be loaded."), std::string::npos);
}

}  // namespace

// Catches a download command that replaces DATA.TXT with something that is
// no channel list, or says nothing about why it did not.
TEST(DownloadTool, ReplacesTheCatalogueOnlyWithAChannelList) {
    cd::test::TempDir dir;
    cd::test::LoopbackServer server;
    server.server().Get("/webtv/Data.htm", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<data>\r\nFox TV|http://tv.example/fox|TV|English\r\n</data>\r\n", "text/html");
    });
    server.server().Get("/moved.htm", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<html>This list has moved</html>", "text/html");
    });
    server.start();
    const std::string old = catalogue({"Old|http://old/|TV|English"});
    const auto file = dir.write("Data.txt", old);
    const std::string host = " --catalogue-host " + server.host() + " ";

    ToolRun r = runTool(dir, "download" + host + "--catalogue-list-path /moved.htm " + shellQuoted(file.string()));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not a channel list: line 1"), std::string::npos) << r.err;
    EXPECT_EQ(dir.read("Data.txt"), old);

    r = runTool(dir, "download" + host + shellQuoted(file.string()));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "downloaded 1 channels\n");
    EXPECT_EQ(dir.read("Data.txt"), catalogue({"Fox TV|http://tv.example/fox|TV|English"}));
}
