// The channel list download against a real loopback server: what replaces
// Data.txt, what an unchanged list costs, and that every failure leaves
// Data.txt (and always Imported.txt) as it was.
#include "catalogue/catalogue_download.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>

#include "fetch/http_client.h"
#include "formats/line_cipher.h"
#include "platform/poll_event_loop.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"
#include "util/files.h"

namespace cd::catalogue {
namespace {

namespace fs = std::filesystem;

const std::string kExport = "<data>\r\n" + formats::EncodeLine("Fox TV|http://tv.example/fox|TV|English") +
                            "\r\nRadio Caf\xe9|mms://radio.example/a|Radio|French\r\n</data>\r\n";
const std::string kEtag = "\"v1\"";
const std::string kLastModified = "Tue, 08 Dec 2026 10:00:00 GMT";

class ChannelListDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.server().Get(R"(/(webtv|mirror)/Data\.htm)",
                            [this](const httplib::Request& req, httplib::Response& res) {
                                {
                                    std::lock_guard lock(mutex);
                                    ifNoneMatch = req.get_header_value("If-None-Match");
                                    ifModifiedSince = req.get_header_value("If-Modified-Since");
                                }
                                ++requests;
                                if (!ifNoneMatch.empty() && ifNoneMatch == kEtag) {
                                    res.status = 304;
                                    return;
                                }
                                res.set_header("ETag", kEtag);
                                res.set_header("Last-Modified", kLastModified);
                                res.set_content(body, "text/html");
                            });
        server.server().Get("/junk", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<html><body>Welcome to our new site</body></html>", "text/html");
        });
        server.server().Get("/empty-list", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<data>\r\n</data>\r\n", "text/html");
        });
        server.server().Get("/missing", [](const httplib::Request&, httplib::Response& res) { res.status = 404; });
        // Says a length and sends half of it: a cut-off list.
        server.server().Get("/cut", [](const httplib::Request&, httplib::Response& res) {
            const std::string half = kExport.substr(0, kExport.size() / 2);
            res.set_content_provider(kExport.size(), "text/html",
                                     [half](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                         if (offset == 0) sink.write(half.data(), half.size());
                                         return offset == 0;
                                     });
        });
        server.start();
        util::writeFileAtomic(catalogue(), oldCatalogue);
        util::writeFileAtomic(dir.path() / "Imported.txt", imported);
    }

    fs::path catalogue() const { return dir.path() / "Data.txt"; }

    DownloadResult download(const std::string& path) {
        platform::PollEventLoop loop;
        fetch::HttpClient client(loop);
        auto task = downloadChannelList(client, channelListAddress(server.host(), path), catalogue());
        task.start();
        loop.runUntil([&task] { return task.done(); }, std::chrono::seconds(20));
        EXPECT_TRUE(task.done()) << "the download hung";
        return task.done() ? task.result() : DownloadResult{};
    }

    std::string fileText(const fs::path& file) { return util::readFile(file).value_or("<missing>"); }

    test::TempDir dir;
    test::LoopbackServer server;
    std::string body = kExport;
    std::mutex mutex;
    std::string ifNoneMatch, ifModifiedSince;
    std::atomic<int> requests{0};
    const std::string oldCatalogue = formats::EncodeLine("Old|http://old.example/|TV|English") + "\r\n";
    const std::string imported = formats::EncodeLine("Mine|http://mine.example/|TV|") + "\r\n";
};

// Catches a download that keeps the plain/encoded mix of the export (the
// category view decodes every line), touches Imported.txt, or fetches a
// whole unchanged list again; and an edited Data.txt kept by a "not changed".
TEST_F(ChannelListDownloadTest, ReplacesDataTxtThenAsksOnlyWhetherItChanged) {
    DownloadResult r = download("/webtv/Data.htm");
    ASSERT_EQ(r.outcome, DownloadOutcome::Replaced) << describe(r);
    EXPECT_EQ(r.records, 2u);
    EXPECT_FALSE(r.conditional);
    EXPECT_EQ(fileText(catalogue()), formats::EncodeLine("Fox TV|http://tv.example/fox|TV|English") + "\r\n" +
                                         formats::EncodeLine("Radio Caf\xe9|mms://radio.example/a|Radio|French") +
                                         "\r\n");
    EXPECT_EQ(fileText(dir.path() / "Imported.txt"), imported);

    r = download("/webtv/Data.htm");
    EXPECT_EQ(r.outcome, DownloadOutcome::Unchanged) << describe(r);
    EXPECT_TRUE(r.conditional);
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(ifNoneMatch, kEtag);
        EXPECT_EQ(ifModifiedSince, kLastModified);
    }
    const std::string downloaded = fileText(catalogue());

    // The same list from another address: the validators are the first
    // server's, and say nothing of this one.
    r = download("/mirror/Data.htm");
    EXPECT_EQ(r.outcome, DownloadOutcome::Replaced) << describe(r);
    EXPECT_FALSE(r.conditional);
    EXPECT_EQ(fileText(catalogue()), downloaded);

    // The owner's list changed on the server while Data.txt was edited here:
    // the edit must not make the program believe it is up to date.
    util::writeFileAtomic(catalogue(), downloaded + formats::EncodeLine("Added|http://a/|TV|English") + "\r\n");
    body = "<data>\r\nNew One|http://new.example/|TV|German\r\n</data>\r\n";
    r = download("/webtv/Data.htm");
    EXPECT_EQ(r.outcome, DownloadOutcome::Replaced) << describe(r);
    EXPECT_FALSE(r.conditional);
    EXPECT_EQ(fileText(catalogue()), formats::EncodeLine("New One|http://new.example/|TV|German") + "\r\n");
    EXPECT_EQ(requests.load(), 4);
}

// Catches a failure that replaces or truncates Data.txt, or is reported as
// a success: junk, an error status, a cut body, a list without channels,
// nothing listening, and a catalogue that cannot be replaced.
TEST_F(ChannelListDownloadTest, EveryFailureLeavesTheFilesWhole) {
    struct Case {
        std::string path;
        DownloadOutcome outcome;
    };
    const Case cases[] = {
        {"/junk", DownloadOutcome::NotAChannelList},
        {"/missing", DownloadOutcome::HttpError},
        {"/cut", DownloadOutcome::NotFetched},
        {"/empty-list", DownloadOutcome::NotAChannelList},
    };
    for (const auto& c : cases) {
        const DownloadResult r = download(c.path);
        EXPECT_EQ(r.outcome, c.outcome) << c.path << ": " << describe(r);
        EXPECT_EQ(fileText(catalogue()), oldCatalogue) << c.path;
        EXPECT_FALSE(fs::exists(validatorsFileFor(catalogue()))) << c.path;
    }
    EXPECT_EQ(download("/empty-list").check.problem, formats::ExportProblem::NoRecord);
    EXPECT_EQ(download("/missing").httpStatus, 404);

    server.stop();
    DownloadResult r = download("/webtv/Data.htm");
    EXPECT_EQ(r.outcome, DownloadOutcome::NotFetched);
    EXPECT_EQ(r.fetchError, fetch::FetchError::Refused);
    EXPECT_EQ(fileText(catalogue()), oldCatalogue);
    EXPECT_EQ(fileText(dir.path() / "Imported.txt"), imported);
}

// Catches a plain export's record written with a byte the cipher turns into
// a line end, which splits it and stops every reader of Data.txt there.
TEST_F(ChannelListDownloadTest, RecordsTheCipherCannotCarryAreMendedOrLeftOut) {
    body =
        "<data>\r\n"
        "\xccsland TV|http://tv.example/island|TV|English\r\n"
        "Broken|http://tv.example/\xcc|TV|English\r\n"
        "Plain|http://tv.example/plain|TV|English\r\n"
        "</data>\r\n";
    const DownloadResult r = download("/webtv/Data.htm");
    ASSERT_EQ(r.outcome, DownloadOutcome::Replaced) << describe(r);
    EXPECT_EQ(r.records, 2u);
    EXPECT_EQ(r.leftOut, 1u);
    EXPECT_EQ(fileText(catalogue()), formats::EncodeLine("\xc3\x8csland TV|http://tv.example/island|TV|English") +
                                         "\r\n" + formats::EncodeLine("Plain|http://tv.example/plain|TV|English") +
                                         "\r\n");

    body = "<data>\r\nBroken|http://tv.example/\xcc|TV|English\r\n</data>\r\n";
    fs::remove(validatorsFileFor(catalogue()));  // the test server's ETag does not follow its body
    EXPECT_EQ(download("/webtv/Data.htm").outcome, DownloadOutcome::NotAChannelList);
    EXPECT_NE(fileText(catalogue()), oldCatalogue) << "the first list stays";
}

TEST_F(ChannelListDownloadTest, AnUnreplaceableCatalogueIsToldNotLost) {
    // A folder where Data.txt should be: the rename cannot put a file there,
    // even for root, whom file modes do not stop.
    fs::remove(catalogue());
    fs::create_directory(catalogue());
    fs::create_directory(catalogue() / "keep");
    const DownloadResult r = download("/webtv/Data.htm");
    EXPECT_EQ(r.outcome, DownloadOutcome::NotWritten) << describe(r);
    EXPECT_FALSE(r.writeError.empty());
    EXPECT_TRUE(fs::is_directory(catalogue() / "keep"));
}

}  // namespace
}  // namespace cd::catalogue
