// The catalogue loop with every real part: the owner publishes a list on a
// real channeldeck-server, the real window downloads it from the File menu,
// and what the user then does with its channels (a dead one clicked, a
// favourite, a rating) reaches the owner's page.
#include <QMenu>
#include <string>

#include "program_window.h"
#include "support/server_process.h"
#include "util/files.h"

namespace cd::app {
namespace {

class ProgramWindowCatalogueLoop : public ProgramWindowBase {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(catalogueServer_.start(&error)) << error;
        ProgramWindowBase::SetUp();
    }
    void addRoutes() override {
        server_.server().Get("/dead", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("<html><body>Not Found</body></html>", "text/html");
        });
    }
    std::vector<std::string> catalogueLines() override { return {"Old TV|" + server_.url("/old") + "|TV|English"}; }
    void beforeStart() override { config_.hosts.catalogue = catalogueServer_.host(); }

    // The text of the message box that a click on the File menu entry brings.
    std::string downloadAndRead() {
        const auto told = whenMessageBoxRead(shell_->mainView());
        clickFileMenuEntry(shell_->mainView(), "Download Most Recent Channel List");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !told->empty(); }, 15000));
        return *told;
    }

    std::string ownerGet(const std::string& path) {
        httplib::Client client("127.0.0.1", catalogueServer_.port());
        const auto res = client.Get(path, {{"Authorization", "Bearer " + catalogueServer_.ownerToken()}});
        return res && res->status == 200 ? res->body : "<nothing at " + path + ">";
    }

    test::ServerProcess catalogueServer_{{CD_SERVER_PATH, {}, {}, {"--rate-limit", "0"}}};
};

// Catches a download entry that is hidden or does nothing, a list that is
// not shown after it, a junk answer that replaces Data.txt, and reports of
// the program that the owner never sees.
TEST_F(ProgramWindowCatalogueLoop, PublishedListIsDownloadedAndTheUsersReportsReachTheOwner) {
    // Nothing published yet: the user is told, and Data.txt stays.
    const std::string before = *util::readFile(dir_ / "Data.txt");
    const std::string refused = downloadAndRead();
    EXPECT_EQ(refused.rfind("The channel list was not downloaded: ", 0), 0u) << refused;
    EXPECT_EQ(*util::readFile(dir_ / "Data.txt"), before);
    ASSERT_EQ(form().channelList->count(), 1);

    const auto published =
        dir_.write("Data.htm", "<data>\r\nDead TV|" + server_.url("/dead") + "|TV|English\r\n" +
                                   catalogue::EncodeLine("Second TV|" + server_.url("/second") + "|TV|German") +
                                   "\r\n</data>\r\n");
    const auto publish = catalogueServer_.command({"publish", published.string()});
    ASSERT_EQ(publish.status, 0) << publish.out;
    // The running server looks for a new version about once a second.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return ownerGet("/webtv/Data.htm").find("Dead TV") != std::string::npos; }, 5000));

    EXPECT_EQ(downloadAndRead(), "The most recent channel list has been downloaded and applied.");
    ASSERT_EQ(form().channelList->count(), 2);
    auto* view = shell_->mainView()->widgetAs<cd::app::ReportView>("ListView1");
    EXPECT_EQ(view->model()->index(0, 0).data().toString(), "Dead TV");
    EXPECT_EQ(downloadAndRead(), "The channel list has not changed since your last download.");

    // The dead channel: the offline picture, and an OFFLINE report.
    clickRow("Dead TV");
    ASSERT_TRUE(QTest::qWaitFor([&] { return form().offlinePicture->visible(); }, 10000));
    clickRow("Dead TV");
    whenPopupChoose(shell_->mainView(), "Add to Favorites");
    QTest::mouseClick(button("cmdFav"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form().favouritesList->count() == 1; }, 5000));
    whenPopupChoose(shell_->mainView(), "Rate 5 Stars - Love it");
    QTest::mouseClick(button("cmdFav"), Qt::LeftButton);

    // Reports are sent in the background: the owner sees them once they
    // have arrived, under the name the published list gives the channel.
    std::string summary;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            summary = ownerGet("/owner/api/summary");
            return summary.find("\"OFFLINE\": 1, \"FAVORITE\": 1, \"Rate\": 1") != std::string::npos;
        },
        15000))
        << summary;
    const std::string rankings = ownerGet("/owner/api/rankings");
    std::size_t named = 0;
    for (std::size_t at = 0; (at = rankings.find("\"name\": \"Dead TV\"", at)) != std::string::npos; ++at) ++named;
    EXPECT_EQ(named, 5u) << "offline over 1, 7 and 30 days, favourites, ratings:\n" << rankings;
    EXPECT_NE(rankings.find("\"average\": 5.0000"), std::string::npos) << rankings;
    EXPECT_NE(ownerGet("/owner").find("Dead TV"), std::string::npos);
}

}  // namespace
}  // namespace cd::app
