// The real program under a virtual X server: start-up, playback, panels,
// resizing, local files, the video tab, languages and the small windows.
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <chrono>
#include <functional>
#include <thread>

#include "app/mpv_player_widget.h"
#include "catalogue/line_cipher.h"
#include "program_window.h"
#include "util/files.h"
#include "util/lines.h"

namespace cd::app {
namespace {

class ProgramWindow : public ProgramWindowBase {
protected:
    void addRoutes() override {
        server_.server().Get("/tone.wav", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(wav_, "audio/wav");
        });
        server_.server().Get("/gone", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("<html><body>Not Found</body></html>", "text/html");
        });
        server_.server().Get("/endless", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("audio/mpeg", [](size_t, httplib::DataSink& sink) {
                static const std::string chunk(2048, 'x');
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                return sink.write(chunk.data(), chunk.size());
            });
        });
        server_.server().Get("/browse", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(
                "<html><body><div><a href=\"/watch?v=abc1\"><img src=\"t.jpg\"></a>"
                "<a href=\"/watch?v=abc1\">First clip</a></div>"
                "<a href=\"/watch?v=xyz2\">Second &amp; last</a></body></html>",
                "text/html");
        });
    }

    std::vector<std::string> catalogueLines() override {
        return {"Tone TV|" + server_.url("/tone.wav") + "|TV|English",
                "Gone TV|" + server_.url("/gone") + "|TV|English",
                "Endless TV|" + server_.url("/endless") + "|TV|English",
                "Tone Radio|" + server_.url("/tone.wav") + "|Radio|English"};
    }
};

// Catches a start-up that misses its caption or does not fill the TV list from Data.txt.
TEST_F(ProgramWindow, StartsWithCaptionAndTheTvChannels) {
    EXPECT_EQ(shell_->mainView()->windowTitle().toStdString(), "ChannelDeck by Quenmark Software");
    EXPECT_EQ(form().channelList->count(), 3);
    EXPECT_TRUE(button("cmdXXX")->isVisible()) << "the full edition shows Adult";
    EXPECT_EQ(button("cmdWebsite")->text().toStdString(), "Visit www.channeldeck.org");
    EXPECT_TRUE(shell_->playerWidget()->isVisible());
}

// Catches a search field the user cannot reach or that filters wrongly: the
// user's imported channels are listed after the catalogue's with their UTF-8
// names shown as written, Ctrl+F reaches the field, typing "cafe" leaves
// "Café Tone" alone, a click on it plays it, and Esc brings every row back.
TEST_F(ProgramWindow, SearchFieldFindsAnImportedChannelByTypingAndPlaysTheClickedRow) {
    dir_.write("Imported.txt", catalogue::EncodeLine("Caf\xc3\xa9 Tone|" + server_.url("/tone.wav") + "|TV|") + "\r\n");
    QTest::mouseClick(button("cmdTV"), Qt::LeftButton);
    ASSERT_EQ(form().channelList->count(), 4);
    auto* view = shell_->mainView()->widgetAs<cd::app::ReportView>("ListView1");
    EXPECT_EQ(view->model()->index(3, 0).data().toString(), QString::fromUtf8("Caf\xc3\xa9 Tone"));

    auto* field = shell_->mainView()->widgetAs<QLineEdit>("txtChannelSearch");
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->isVisible());
    EXPECT_LE(field->geometry().bottom(), view->geometry().top()) << "the field sits above the list";
    // No window manager under Xvfb: the window is made the active one, as a
    // click on it would.
    QApplication::setActiveWindow(shell_->mainView());
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }, 2000));
    QTest::keyClicks(field, "CAFE");
    ASSERT_EQ(form().channelList->count(), 1);
    EXPECT_EQ(view->model()->rowCount(), 1);
    clickRow("Caf\xc3\xa9 Tone");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell_->player()->currentUrl() == server_.url("/tone.wav"); }, 5000));
    // The status line names a UTF-8 channel as written, not as windows-1252.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form().playerStatus->caption().rfind("Playing Caf\xc3\xa9 Tone", 0) == 0; }, 15000))
        << form().playerStatus->caption();

    QTest::keyClicks(field, "x");  // "CAFEx": nothing
    EXPECT_EQ(form().channelList->count(), 0);
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(form().channelList->count(), 4);
    // The typed text stays over a category switch: Radio has no match.
    QTest::keyClicks(field, "gone");
    QTest::mouseClick(button("cmdRadio"), Qt::LeftButton);
    EXPECT_EQ(form().channelList->count(), 0);
    QTest::mouseClick(button("cmdTV"), Qt::LeftButton);
    ASSERT_EQ(form().channelList->count(), 1);
    EXPECT_EQ(form().channelList->item(0).text, "Gone TV");
}

// Catches a playlist import or export the user cannot carry out from the
// menu: a playlist served over http is fetched, its playable channel joins
// the list at once (kept in Imported.txt, Data.txt untouched), the user is
// told what came in, and the list exported as shown comes out as M3U.
TEST_F(ProgramWindow, PlaylistImportFromTheWebAndExportFromTheFileMenu) {
    const std::string before = *util::readFile(dir_ / "Data.txt");
    server_.server().Get("/list.m3u", [this](const httplib::Request&, httplib::Response& res) {
        res.set_content("#EXTM3U\n#EXTINF:-1 tvg-language=\"German\",Imported Tone\n" +
                            server_.url("/tone.wav?from=list") + "\n#EXTINF:-1,Local\nfile:///tmp/x.ts\n",
                        "audio/x-mpegurl");
    });
    whenModal(shell_->mainView(), [this](QWidget* modal) {
        if (modal->objectName() != "playlistSourceDialog") return false;
        auto* field = modal->findChild<QLineEdit*>("playlistSource");
        QTest::keyClicks(field, QString::fromStdString(server_.url("/list.m3u")));
        auto* ok = modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        return true;
    });
    auto told = whenMessageBoxRead(shell_->mainView());
    clickFileMenuEntry(shell_->mainView(), QString::fromUtf8("Import Playlist…"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !told->empty(); }, 10000));
    EXPECT_EQ(*told, "Playlist imported: imported 1, skipped 1 (not http/https 1, duplicates 0, unreadable 0).");
    ASSERT_EQ(form().channelList->count(), 4);
    EXPECT_EQ(form().channelList->item(3).text, "Imported Tone");
    EXPECT_EQ(*util::readFile(dir_ / "Data.txt"), before);
    clickRow("Imported Tone");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return shell_->player()->currentUrl() == server_.url("/tone.wav?from=list"); }, 5000));

    const auto out = dir_ / "shown.m3u";
    whenSaveDialogChoose(shell_->mainView(), out);
    told = whenMessageBoxRead(shell_->mainView());
    clickFileMenuEntry(shell_->mainView(), QString::fromUtf8("Export Channel List as Playlist…"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !told->empty(); }, 10000));
    EXPECT_EQ(*told, "4 channels were saved to " + out.string() + ".");
    const auto m3u = util::readFile(out);
    ASSERT_TRUE(m3u.has_value());
    EXPECT_EQ(m3u->rfind("#EXTM3U\n", 0), 0u);
    EXPECT_NE(
        m3u->find("tvg-language=\"German\" group-title=\"TV\",Imported Tone\n" + server_.url("/tone.wav?from=list")),
        std::string::npos);
}

// Catches a favourites search the user cannot reach or that acts on the
// wrong favourite: Ctrl+F from the favourites tab reaches its own field,
// typing "cafe" leaves the two "Café" favourites, a click on the second
// plays that one (not the second of the whole list), removing it keeps the
// hidden favourite in Favorites.txt, and Esc brings every row back.
TEST_F(ProgramWindow, FavouritesSearchFiltersByTypingAndActsOnTheClickedRow) {
    dir_.write("Imported.txt",
               catalogue::EncodeLine("Caf\xc3\xa9 Tone|" + server_.url("/tone.wav?c=1") + "|TV|") + "\r\n" +
                   catalogue::EncodeLine("CAF\xc3\x89 Noir|" + server_.url("/tone.wav?c=2") + "|TV|") + "\r\n");
    QTest::mouseClick(button("cmdTV"), Qt::LeftButton);
    ASSERT_EQ(form().channelList->count(), 5);
    for (const char* name : {"Caf\xc3\xa9 Tone", "Tone TV", "CAF\xc3\x89 Noir"}) {
        clickRow(name);
        whenPopupChoose(shell_->mainView(), QStringLiteral("Add to Favorites"));
        QTest::mouseClick(button("cmdFav"), Qt::LeftButton);
    }
    ASSERT_EQ(form().favouritesList->count(), 3);

    QTest::mouseClick(button("cmdFavorites"), Qt::LeftButton);
    auto* view = shell_->mainView()->widgetAs<cd::app::ReportView>("ListView2");
    auto* field = shell_->mainView()->widgetAs<QLineEdit>("txtFavoriteSearch");
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->isVisible());
    EXPECT_LE(field->geometry().bottom(), view->geometry().top()) << "the field sits above the list";
    QApplication::setActiveWindow(shell_->mainView());
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }, 2000)) << "not the hidden channel field";
    QTest::keyClicks(field, "cafe");
    ASSERT_EQ(view->model()->rowCount(), 2);
    EXPECT_EQ(view->model()->index(0, 0).data().toString(), QString::fromUtf8("Caf\xc3\xa9 Tone"));
    EXPECT_EQ(view->model()->index(1, 0).data().toString(), QString::fromUtf8("CAF\xc3\x89 Noir"));

    const QModelIndex second = view->model()->index(1, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(second).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell_->player()->currentUrl() == server_.url("/tone.wav?c=2"); }, 5000));

    QTest::mouseClick(button("Command1"), Qt::LeftButton);
    ASSERT_EQ(view->model()->rowCount(), 1);
    std::vector<std::string> saved;
    for (const auto& line : util::readLines(*util::readFile(dir_ / "Favorites.txt")))
        saved.push_back(catalogue::DecodeLine(line));
    EXPECT_EQ(saved, (std::vector<std::string>{"Caf\xc3\xa9 Tone|" + server_.url("/tone.wav?c=1") + "|TV|",
                                               "Tone TV|" + server_.url("/tone.wav") + "|TV|English"}));

    // The File menu's export takes every favourite, the hidden one too.
    const auto out = dir_ / "favourites.m3u";
    whenSaveDialogChoose(shell_->mainView(), out);
    const auto told = whenMessageBoxRead(shell_->mainView());
    clickFileMenuEntry(shell_->mainView(), QString::fromUtf8("Export Favorites as Playlist\u2026"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !told->empty(); }, 10000));
    EXPECT_EQ(*told, "2 channels were saved to " + out.string() + ".");
    const std::string m3u = util::readFile(out).value_or("");
    EXPECT_NE(m3u.find(",Tone TV\n"), std::string::npos) << m3u;
    EXPECT_NE(m3u.find(",Caf\xc3\xa9 Tone\n"), std::string::npos) << m3u;

    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());
    ASSERT_EQ(view->model()->rowCount(), 2);
    EXPECT_EQ(view->model()->index(1, 0).data().toString(), QStringLiteral("Tone TV"));
}

// Catches a channel that is not handed to mpv, or mpv not playing it.
TEST_F(ProgramWindow, OnlineChannelPlaysInMpv) {
    QSignalSpy started(shell_->player(), &MpvPlayerWidget::playbackStarted);
    clickRow("Tone TV");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell_->player()->currentUrl() == server_.url("/tone.wav"); }, 5000));
    EXPECT_TRUE(started.count() > 0 || started.wait(15000));
    EXPECT_FALSE(shell_->mainView()->widgetFor("imgOffline")->isVisible());
    // What the player knows of the medium may follow in brackets.
    EXPECT_EQ(form().playerStatus->caption().rfind("Playing Tone TV", 0), 0u) << form().playerStatus->caption();
}

// Catches an offline channel that is played, not pictured or not reported.
TEST_F(ProgramWindow, OfflineChannelShowsPictureAndIsReported) {
    clickRow("Gone TV");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell_->mainView()->widgetFor("imgOffline")->isVisible(); }, 5000));
    EXPECT_TRUE(shell_->player()->currentUrl().empty());
    EXPECT_EQ(shell_->mainView()->widgetAs<QLabel>("PlayerStatus")->text().toStdString(),
              form().playerStatus->caption());
    EXPECT_NE(form().playerStatus->caption().find("Gone TV is offline"), std::string::npos);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reports().empty(); }, 5000));
    EXPECT_EQ(reports()[0].substr(0, 12), "OFFLINE http");
}

// Catches a click on an endless stream that never decides.
TEST_F(ProgramWindow, EndlessStreamIsDecidedWithinTheProbeBound) {
    clickRow("Endless TV");
    EXPECT_TRUE(QTest::qWaitFor([&] { return shell_->player()->currentUrl() == server_.url("/endless"); }, 5000));
}

// Catches Favorites / My Files disturbing the list or the playing medium, and Adult without consent.
TEST_F(ProgramWindow, PanelsLeavePlaybackAloneAndAdultCancelChangesNothing) {
    clickRow("Tone TV");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shell_->player()->currentUrl().empty(); }, 5000));
    const std::string playing = shell_->player()->currentUrl();
    QTest::mouseClick(button("cmdFavorites"), Qt::LeftButton);
    EXPECT_TRUE(form().favouritesPanel->visible());
    EXPECT_FALSE(form().channelPanel->visible());
    QTest::mouseClick(button("cmdFiles"), Qt::LeftButton);
    EXPECT_TRUE(form().filesPanel->visible());
    EXPECT_EQ(form().channelList->count(), 3);
    EXPECT_EQ(shell_->player()->currentUrl(), playing);

    answerNextBox(QMessageBox::Cancel);
    QTest::mouseClick(button("cmdXXX"), Qt::LeftButton);
    EXPECT_TRUE(form().filesPanel->visible());
    EXPECT_EQ(program().state().currentCategory, "TV");

    QTest::mouseClick(button("cmdRadio"), Qt::LeftButton);
    EXPECT_TRUE(form().channelPanel->visible());
    EXPECT_EQ(form().channelList->count(), 1);
}

// Catches a close that leaves the player running (or crashes freeing mpv).
TEST_F(ProgramWindow, ClosingStopsThePlayer) {
    clickRow("Tone TV");
    QSignalSpy finished(shell_.get(), &AppShell::finished);
    shell_->mainView()->close();
    EXPECT_TRUE(shell_->player()->currentUrl().empty());
    EXPECT_TRUE(finished.count() > 0 || finished.wait(5000));
    shell_.reset();
}

// Catches a resize that leaves the real widgets where they were.
TEST_F(ProgramWindow, ResizingTheWindowMovesTheRealWidgets) {
    QWidget* player = shell_->playerWidget();
    QWidget* list = shell_->mainView()->widgetFor("ListView1");
    const QSize playerBefore = player->size();
    const int listBefore = list->height();
    shell_->mainView()->resize(shell_->mainView()->width() + 200, shell_->mainView()->height() + 150);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->width() > playerBefore.width(); }, 3000));
    EXPECT_GT(player->height(), playerBefore.height());
    EXPECT_GT(list->height(), listBefore);
    EXPECT_EQ(shell_->videoView()->geometry(), player->geometry()) << "the video page shares the player's place";
}

// Catches a local file that is not handed to the player, or not played.
TEST_F(ProgramWindow, MyFilesClickPlaysAGeneratedWav) {
    std::filesystem::create_directory(dir_ / "media");
    dir_.write("media/tone.wav", wav_);
    dir_.write("media/notes.txt", "not media");
    QTest::mouseClick(button("cmdFiles"), Qt::LeftButton);
    ASSERT_TRUE(program().localFiles().showFolder((dir_ / "media").string()));
    auto* files = shell_->mainView()->widgetAs<QListWidget>("File1");
    ASSERT_NE(files, nullptr);
    ASSERT_EQ(files->count(), 1) << "only media files are listed";
    QSignalSpy started(shell_->player(), &MpvPlayerWidget::playbackStarted);
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
    EXPECT_EQ(shell_->player()->currentUrl(), (dir_ / "media" / "tone.wav").string());
    EXPECT_TRUE(started.count() > 0 || started.wait(15000));
}

// Catches a video row click that does not show the written player page.
TEST_F(ProgramWindow, VideoTabListsAServedPageAndShowsTheChosenVideo) {
    QTest::mouseClick(button("cmdYouTube"), Qt::LeftButton);
    EXPECT_TRUE(form().videoSitePanel->visible());
    EXPECT_TRUE(shell_->videoView()->isVisible());
    EXPECT_FALSE(shell_->playerWidget()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program().videoSite().loading(); }, 10000));
    ASSERT_EQ(form().videoList->count(), 2);
    auto* view = shell_->mainView()->widgetAs<cd::app::ReportView>("ListView3");
    ASSERT_NE(view, nullptr);
    int row = -1;
    for (int i = 0; i < form().videoList->count(); ++i)
        if (form().videoList->item(i).key == "abc1") row = i;
    ASSERT_GE(row, 0);
    EXPECT_EQ(form().videoList->item(row).text, "First clip");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 0)).center());
    const std::string page = dir_.read("youtube.html");
    EXPECT_NE(page.find("<h1>First clip</h1>"), std::string::npos);
    EXPECT_NE(page.find("/embed/abc1'"), std::string::npos);
    EXPECT_EQ(shell_->videoView()->url().toLocalFile().toStdString(), (dir_ / "youtube.html").string());
}

// Catches a language choice that does not reach the real widgets, or is lost on restart.
TEST_F(ProgramWindow, GermanFromTheLanguageWindowAppliesAtOnceAndAfterRestart) {
    std::filesystem::copy_file(std::filesystem::path(CD_SOURCE_DIR) / "data" / "Localization.txt",
                               dir_ / "Localization.txt");
    QAction* change = shell_->mainView()->actionFor("mnuLanguageItem", 0);
    ASSERT_NE(change, nullptr);
    change->trigger();
    FormView* language = shell_->viewFor(program().windows.languageWindow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return language->isVisible(); }, 3000));
    auto* combo = language->widgetAs<QComboBox>("Combo1");
    ASSERT_NE(combo, nullptr);
    const int german = combo->findText(QStringLiteral("Deutsch"));
    ASSERT_GE(german, 0);
    combo->setCurrentIndex(german);
    emit combo->activated(german);
    EXPECT_EQ(button("cmdFavorites")->text(), QStringLiteral("Favoriten"));
    EXPECT_EQ(shell_->mainView()->menuFor("mnuFile")->title().remove('&'), QStringLiteral("Datei"));
    QTest::mouseClick(language->widgetAs<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_FALSE(language->isVisible());

    shell_->mainView()->close();
    shell_.reset();
    startProgram();
    EXPECT_EQ(button("cmdFavorites")->text(), QStringLiteral("Favoriten"));
}

// Catches a start that skips the splash, an about box that does not open, or a banner not above the player.
TEST_F(ProgramWindow, SplashAboutAndBanner) {
    EXPECT_TRUE(program().windows.isLoaded(program().windows.splashWindow));
    EXPECT_FALSE(shell_->viewFor(program().windows.splashWindow)->isVisible());
    QAction* about = shell_->mainView()->actionFor("mnuAboutItem", 0);
    ASSERT_NE(about, nullptr);
    about->trigger();
    FormView* aboutView = shell_->viewFor(program().windows.aboutWindow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return aboutView->isVisible(); }, 3000));
    EXPECT_EQ(aboutView->windowTitle(), QStringLiteral("About ChannelDeck"));
    EXPECT_EQ(aboutView->widgetAs<QLabel>("lblVersion")->text(), QStringLiteral("1.0"));
    QWidget* banner = shell_->bannerView();
    ASSERT_TRUE(banner->isVisible());
    const QPoint bannerTop = banner->mapTo(shell_->mainView(), QPoint(0, 0));
    const QPoint playerTop = shell_->playerWidget()->mapTo(shell_->mainView(), QPoint(0, 0));
    EXPECT_LE(bannerTop.y() + banner->height(), playerTop.y());
    EXPECT_FALSE(shell_->mainView()->widgetFor("wbPicture")->isVisible());
}

}  // namespace
}  // namespace cd::app
