// The real window driven as a new user drives it: mouse clicks and keys at
// the widgets' places, and checks of what the user then sees (which widget
// is on top at a point, what the lists show, what the player opened).
#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QSlider>
#include <QTextBrowser>
#include <QToolButton>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "app/document_window.h"
#include "app/instance_activation.h"
#include "app/mpv_player_widget.h"
#include "app/now_playing_panel.h"
#include "app/player_widget.h"
#include "app/report_view.h"
#include "mainwindow/activation_name.h"
#include "program_window.h"
#include "ui/combo_box.h"

namespace cd::app {
namespace {

class WindowInput : public ProgramWindowBase {
protected:
    void addRoutes() override {
        server_.server().Get("/tone.wav", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(wav_, "audio/wav");
        });
        server_.server().Get("/red.y4m", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(redClip(), "video/x-yuv4mpeg");
        });
        server_.server().Get("/gone", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("<html><body>Not Found</body></html>", "text/html");
        });
        server_.server().Get("/endless", [this](const httplib::Request&, httplib::Response& res) {
            // A live picture: frames as they come, no length and no end.
            res.set_chunked_content_provider("video/x-yuv4mpeg", [this](size_t offset, httplib::DataSink& sink) {
                static const std::string clip = redClip();
                const std::size_t headerSize = clip.find('\n') + 1;
                const std::size_t frameSize = (clip.size() - headerSize) / 25;
                if (offset == 0) return sink.write(clip.data(), headerSize + frameSize);
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                return stopping_ ? false : sink.write(clip.data() + headerSize, frameSize);
            });
        });
        // Listings in UTF-8, declared in the header; search results in
        // windows-1252 that declare nothing.
        server_.server().Get("/browse", [this](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard lock(mutex_);
                listings_.push_back(req.get_param_value("c"));
            }
            res.set_content("<html><body><a href=\"/watch?v=fuenf1\">F\xC3\xBCnf Freunde</a></body></html>",
                            "text/html; charset=utf-8");
        });
        server_.server().Get("/results", [this](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard lock(mutex_);
                searches_.push_back(req.get_param_value("search_query"));
            }
            res.set_content("<html><body><a href=\"/watch?v=cafe1\">Caf\xE9 cr\xE8me</a></body></html>", "text/html");
        });
    }

    std::vector<std::string> catalogueLines() override {
        return {"Tone TV|" + server_.url("/tone.wav") + "|TV|English",
                "Picture TV|" + server_.url("/red.y4m") + "|TV|English",
                "Gone TV|" + server_.url("/gone") + "|TV|English",
                "Endless TV|" + server_.url("/endless") + "|TV|English",
                "A channel with a rather long name that needs room|" + server_.url("/tone.wav") + "|TV|English"};
    }

    /// Ends the running program, lets prepare change the folder or the
    /// configuration, and starts it again.
    void restart(const std::function<void()>& prepare) {
        shell_->mainView()->close();
        shell_.reset();
        prepare();
        startProgram();
    }

    void TearDown() override {
        stopping_ = true;
        ProgramWindowBase::TearDown();
    }

    /// Five seconds of a red picture four times as wide as high, as
    /// uncompressed YUV4MPEG frames.
    static std::string redClip() {
        const int w = 160, h = 40;
        std::string clip = "YUV4MPEG2 W160 H40 F5:1 Ip A1:1 C420jpeg\n";
        for (int frame = 0; frame < 25; ++frame) {
            clip += "FRAME\n";
            clip += std::string(w * h, static_cast<char>(76));
            clip += std::string(w * h / 4, static_cast<char>(85));
            clip += std::string(w * h / 4, static_cast<char>(255));
        }
        return clip;
    }

    FormView* view() { return shell_->mainView(); }

    std::vector<std::string> searches() {
        std::lock_guard lock(mutex_);
        return searches_;
    }

    /// What the user reads in row 0 of a list view.
    QString shownRow(const char* name) {
        auto* tree = view()->widgetAs<cd::app::ReportView>(name);
        return tree ? tree->model()->index(0, 0).data().toString() : QString();
    }

    std::vector<std::string> listings() {
        std::lock_guard lock(mutex_);
        return listings_;
    }

    std::vector<std::string> searches_;
    std::vector<std::string> listings_;
    std::atomic<bool> stopping_{false};

    /// True when the user can reach w: it is shown, and the middle of it is
    /// not covered by another widget of the window.
    ::testing::AssertionResult reachable(QWidget* w, const std::string& what) {
        if (!w) return ::testing::AssertionFailure() << what << " has no widget";
        if (!w->isVisible()) return ::testing::AssertionFailure() << what << " is hidden";
        const QPoint centre = w->mapTo(view(), w->rect().center());
        if (!view()->rect().contains(centre))
            return ::testing::AssertionFailure() << what << " lies outside the window";
        QWidget* top = view()->childAt(centre);
        if (top != w && !w->isAncestorOf(top))
            return ::testing::AssertionFailure()
                   << what << " is covered by "
                   << (top ? top->metaObject()->className() + std::string(" ") + top->objectName().toStdString()
                           : "nothing");
        return ::testing::AssertionSuccess();
    }

    void resizeTo(int width, int height) {
        view()->resize(width, height);
        (void)QTest::qWaitFor([&] { return view()->size() == QSize(width, height); }, 2000);
        QCoreApplication::processEvents();
    }

    QListWidget* list(const char* name) { return view()->widgetAs<QListWidget>(name); }

    static std::string texts(QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out.join(',').toStdString();
    }

    /// A double click through the window system's path: two presses and
    /// releases at once, which Qt itself turns into a double click.
    static void doubleClick(QWidget* w, const QPoint& at) {
        QWidget* top = w->window();
        QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, {}, w->mapTo(top, at));
    }

    static QPoint rowCentre(QListWidget* list, const QString& text) {
        const auto found = list->findItems(text, Qt::MatchExactly);
        if (found.isEmpty()) return {-1, -1};
        list->scrollToItem(found.front());
        return list->visualItemRect(found.front()).center();
    }
};

// Catches a file click that plays another row than the one clicked, a folder
// that opens the drive root instead of itself, and media kinds missing from
// the file list.
TEST_F(WindowInput, MyFilesOpensTheClickedFolderAndPlaysTheClickedFile) {
    const auto media = dir_ / "media";
    std::filesystem::create_directories(media / "Season 1");
    dir_.write("media/a.flac", "x");
    dir_.write("media/b.OPUS", "x");
    dir_.write("media/c.wav", wav_);
    dir_.write("media/d.Mp4", "x");
    dir_.write("media/notes.txt", "x");
    for (const char* name : {"e.mkv", "f.webm", "g.ogg", "h.m4a", "i.AAC"})
        dir_.write(std::string("media/Season 1/") + name, "x");
    restart([&] {
        // Where the user was last time: the saved folder comes back.
        dir_.write("settings.ini",
                   "[Settings]\nLanguage=English\nshowHelp=0\nTVLang=All\nRadioLang=All\nDir=" + media.string() + "\n");
    });
    QTest::mouseClick(button("cmdFiles"), Qt::LeftButton);
    QListWidget* folders = list("Dir1");
    QListWidget* files = list("File1");
    ASSERT_TRUE(reachable(folders, "the folder list"));
    ASSERT_TRUE(reachable(files, "the file list"));
    EXPECT_EQ(texts(files), "a.flac,b.OPUS,c.wav,d.Mp4");

    // The third file, not the first.
    const QPoint c = rowCentre(files, "c.wav");
    ASSERT_GE(c.y(), 0);
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, c);
    EXPECT_EQ(shell_->player()->currentUrl(), (media / "c.wav").string());
    EXPECT_EQ(files->currentItem()->text(), QStringLiteral("c.wav"));

    // A double click opens the subfolder.
    const QPoint season = rowCentre(folders, "Season 1");
    ASSERT_GE(season.y(), 0);
    doubleClick(folders->viewport(), season);
    QCoreApplication::processEvents();
    EXPECT_EQ(form().folderList->current(), (media / "Season 1").string());
    EXPECT_EQ(folders->currentItem() ? folders->currentItem()->text() : QString(), QStringLiteral("Season 1"));
    EXPECT_EQ(texts(files), "e.mkv,f.webm,g.ogg,h.m4a,i.AAC");

    // Up to the parent's entry and Enter opens the parent.
    folders->setFocus();
    QTest::keyClick(folders, Qt::Key_Up);
    QTest::keyClick(folders, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(form().folderList->current(), media.string());
    EXPECT_EQ(texts(files), "a.flac,b.OPUS,c.wav,d.Mp4");

    // Down to the subfolder and Enter opens it again; the click on the
    // second file there plays that file.
    QTest::keyClick(folders, Qt::Key_Down);
    QTest::keyClick(folders, Qt::Key_Enter);
    QCoreApplication::processEvents();
    EXPECT_EQ(form().folderList->current(), (media / "Season 1").string());
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, rowCentre(files, "f.webm"));
    EXPECT_EQ(shell_->player()->currentUrl(), (media / "Season 1" / "f.webm").string());
}

// Catches an editor panel that the player and the banner cover, at the start
// size and when the window grows, and editor controls that take no input.
TEST_F(WindowInput, EditorPanelIsReachableAndTakesInput) {
    restart([&] { dir_.write("admin.txt", ""); });
    ASSERT_TRUE(form().editorPanel->visible());
    auto checkAll = [&](const std::string& when) {
        for (const auto& c : form().controls()) {
            if (c->container() != form().editorPanel->name() || !c->visible()) continue;
            EXPECT_TRUE(reachable(view()->widgetFor(c->name(), c->index()), c->name() + " " + when));
        }
        for (const char* name : {"cmdTV", "cmdRadio", "cmdVideo", "cmdFavorites", "cmdYouTube", "cmdFiles",
                                 "cmdWebsite", "ListView1", "cmdFav", "Combo1"})
            EXPECT_TRUE(reachable(view()->widgetFor(name), std::string(name) + " " + when));
    };
    checkAll("at the start size");

    // Typed into the add row and added with a click: a new row in the list.
    const int before = form().channelList->count();
    auto* name = view()->widgetAs<QLineEdit>(form().addNameText->name());
    ASSERT_NE(name, nullptr);
    QTest::mouseDClick(name, Qt::LeftButton);
    name->selectAll();
    QTest::keyClicks(name, "Typed Channel");
    QTest::mouseClick(view()->widgetAs<QPushButton>(form().addButton->name()), Qt::LeftButton);
    ASSERT_EQ(form().channelList->count(), before + 1);
    EXPECT_EQ(form().channelList->item(before).text, "Typed Channel");

    resizeTo(view()->width() + 300, view()->height() + 200);
    checkAll("in a larger window");

    // The close box hides the panel and gives the player back.
    QTest::mouseClick(view()->widgetAs<QPushButton>(form().closeEditorButton->name()), Qt::LeftButton);
    EXPECT_FALSE(form().editorPanel->visible());
    EXPECT_TRUE(reachable(shell_->playerWidget(), "the player after the editor closed"));
}

// Catches a list pane that keeps its start width in a wide window, buttons
// that a narrow window cuts off, a literal "-" entry in the channel actions
// menu, and a language window that Return does not close.
TEST_F(WindowInput, LayoutGrowsTheListKeepsButtonsReachableAndMenusRead) {
    restart([&] { config_.version.companyName = "Quenmark Software"; });
    QWidget* channels = view()->widgetFor("ListView1");
    QWidget* player = shell_->playerWidget();
    const int listBefore = channels->width();
    const int playerBefore = player->width();
    resizeTo(view()->width() + 400, view()->height());
    EXPECT_GT(channels->width(), listBefore + 100) << "the list takes part of the extra width";
    EXPECT_GT(player->width(), playerBefore + 100) << "and so does the player";

    // As narrow as the window lets itself be made.
    view()->resize(700, 500);
    QCoreApplication::processEvents();
    EXPECT_GE(view()->minimumWidth(), 700);
    for (const char* name : {"cmdTV", "cmdFiles", "cmdSports", "cmdExtras", "cmdXXX", "cmdWebsite", "ListView1",
                             "cmdFav", "WindowsMediaPlayer1"}) {
        QWidget* w = view()->widgetFor(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_TRUE(reachable(w, std::string(name) + " in the smallest window"));
        EXPECT_GE(w->width(), 40) << name;
        EXPECT_GE(w->height(), 20) << name;
    }

    // The channel actions menu: a separator, no "-" entry.
    QMenu* actions = view()->menuFor(form().channelActionsMenu->name());
    ASSERT_NE(actions, nullptr);
    int separators = 0;
    for (QAction* a : actions->actions()) {
        EXPECT_NE(a->text(), QStringLiteral("-"));
        if (a->isSeparator()) {
            ++separators;
            EXPECT_TRUE(a->text().isEmpty()) << "a separator with text shows it as a heading";
        }
    }
    EXPECT_EQ(separators, 1);

    // Return in the language window presses OK.
    view()->actionFor("mnuLanguageItem", 0)->trigger();
    FormView* language = shell_->viewFor(program().windows.languageWindow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return language->isVisible(); }, 3000));
    QTest::keyClick(language, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !language->isVisible(); }, 2000));
}

// Catches a radio channel that plays under the frozen frame of the TV channel
// before, a stop that leaves the last frame, a stretched picture, a seek bar
// on a live stream, and an offline picture left over what plays next.
TEST_F(WindowInput, PictureFollowsWhatPlays) {
    MpvPlayerWidget* video = shell_->player();
    QWidget* cover = video->findChild<QWidget*>(QStringLiteral("noVideoCover"));
    ASSERT_NE(cover, nullptr);
    clickRow("Picture TV");
    ASSERT_TRUE(QTest::qWaitFor([&] { return video->isVideoShown(); }, 15000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !cover->isVisible(); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shell_->playerWidget()->seekSlider()->isVisible(); }, 3000))
        << "a clip of known length can be sought";
    QTest::qWait(300);
    const QImage frame = video->grabFramebuffer();
    ASSERT_FALSE(frame.isNull());
    const QColor middle = frame.pixelColor(frame.width() / 2, frame.height() / 2);
    const QColor top = frame.pixelColor(frame.width() / 2, 2);
    EXPECT_GT(middle.red(), 150) << "the red picture is shown";
    EXPECT_LT(top.red(), 40) << "a 4:1 picture is not stretched to the whole height";

    clickRow("Tone TV");
    // Sound only: the old frame is covered, by the now-playing panel that
    // takes the picture's place or by the cover over the picture.
    PlayerWidget* player = shell_->playerWidget();
    ASSERT_TRUE(QTest::qWaitFor([&] { return cover->isVisible() || player->panelShown(); }, 15000))
        << "sound only covers the old frame";
    if (player->panelShown())
        EXPECT_EQ(player->panel()->heading(), QStringLiteral("Tone TV"));
    else
        EXPECT_EQ(qobject_cast<QLabel*>(cover)->text(), QStringLiteral("Tone TV"));

    clickRow("Picture TV");
    ASSERT_TRUE(QTest::qWaitFor([&] { return video->isVideoShown() && !cover->isVisible(); }, 15000));
    QTest::mouseClick(shell_->playerWidget()->stopButton(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return cover->isVisible() || player->panelShown(); }, 5000))
        << "a stop leaves no frame";

    // A file has a seek bar; a live stream has none.
    QSignalSpy started(video, &MpvPlayerWidget::playbackStarted);
    clickRow("Endless TV");
    ASSERT_TRUE(started.wait(15000)) << form().playerStatus->caption();
    QTest::qWait(300);
    EXPECT_FALSE(shell_->playerWidget()->seekSlider()->isVisible()) << "duration " << video->duration();

    // The offline picture goes once anything plays.
    clickRow("Gone TV");
    QWidget* offline = view()->widgetFor("imgOffline");
    ASSERT_TRUE(QTest::qWaitFor([&] { return offline->isVisible(); }, 10000));
    started.clear();
    clickRow("Tone TV");
    ASSERT_TRUE(started.count() > 0 || started.wait(15000));
    EXPECT_FALSE(offline->isVisible());
}

// Catches Live Sports and Extras that do nothing, and a help that does not
// show on a desktop without a program to open it with.
TEST_F(WindowInput, SportsExtrasAndHelpOpenSomething) {
    restart([&] {
        config_.version.companyName = "Quenmark Software";
        dir_.write("Help.html", "<html><head><title>Help</title></head><body><h1>Getting started</h1></body></html>");
    });
    QTest::mouseClick(button("cmdSports"), Qt::LeftButton);
    EXPECT_TRUE(form().videoSitePanel->visible());
    EXPECT_TRUE(shell_->videoView()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program().videoSite().loading() && !listings().empty(); }, 10000));
    EXPECT_EQ(listings().back(), "17") << "the sports listing";
    EXPECT_EQ(view()->widgetAs<QComboBox>("Combo3")->currentText(), QStringLiteral("Sports"));

    // This machine has no program that opens web pages: the user is told.
    QString told;
    QTimer::singleShot(100, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    QTest::mouseClick(button("cmdExtras"), Qt::LeftButton);
    EXPECT_TRUE(program().windows.isLoaded(program().windows.websiteWindow)) << "Extras opens the website window";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !told.isEmpty(); }, 3000));
    EXPECT_TRUE(told.contains(QStringLiteral("could not be opened"))) << told.toStdString();

    // This machine has no program that opens pages: the help shows in the
    // program's own window.
    view()->actionFor("mnuHelpItem", 0)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return DocumentWindow() && DocumentWindow()->isVisible(); }, 3000));
    EXPECT_TRUE(DocumentWindow()->toPlainText().contains(QStringLiteral("Getting started")));
    DocumentWindow()->close();
}

// Catches a second instance that ends without a word after seconds instead
// of bringing the running window to the front and ending at once.
TEST_F(WindowInput, SecondInstanceBringsTheRunningWindowToTheFront) {
    ASSERT_NE(program().instanceLock(), nullptr) << "the running program holds its folder";
    int activations = 0;
    ActivationServer server(QString::fromStdString(mainwindow::ActivationSocketName(dir_.path())), [&] {
        ++activations;
        BringToFront(view());
    });
    ASSERT_TRUE(server.listening());
    view()->showMinimized();
    QCoreApplication::processEvents();

    QProcess second;
    QStringList env = QProcess::systemEnvironment();
    for (const char* name : {"CATALOGUE", "LANGUAGE", "BANNER", "VIDEO", "VIDEO_REGIONAL", "VIDEO_PLAYER"})
        env << QStringLiteral("CHANNELDECK_%1_HOST=127.0.0.1:9").arg(QLatin1String(name));
    second.setEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    second.start(QStringLiteral(CD_APP_PATH), {QStringLiteral("--data-dir"), QString::fromStdString(dir_.path())});
    ASSERT_TRUE(second.waitForStarted(5000));
    // The activation arrives while the second run waits for its answer.
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10000));
    EXPECT_LT(clock.elapsed(), 3000) << "the second run ends at once";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().contains("brought to the front"));
    // The second run may end before this side has read its message.
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations == 1; }, 3000));
    EXPECT_EQ(activations, 1);
    EXPECT_TRUE(view()->isVisible());
    EXPECT_FALSE(view()->isMinimized());
}

// Catches a window title, website button and offline picture back in
// English after a restart in German.
TEST_F(WindowInput, GermanStaysOnTheTitleAndWebsiteButtonAfterARestart) {
    restart([&] {
        std::filesystem::copy_file(std::filesystem::path(CD_SOURCE_DIR) / "data" / "Localization.txt",
                                   dir_ / "Localization.txt");
        dir_.write("settings.ini", "[Settings]\nLanguage=Deutsch\nshowHelp=0\nTVLang=All\nRadioLang=All\n");
    });
    EXPECT_EQ(button("cmdFavorites")->text(), QStringLiteral("Favoriten"));
    const std::string brand = config_.version.productName + " von " + config_.version.companyName;
    EXPECT_EQ(view()->windowTitle().toStdString(), brand);
    EXPECT_EQ(button("cmdWebsite")->text().toStdString(), config_.version.website + " besuchen");

    // The offline picture speaks German too.
    clickRow("Gone TV");
    auto* offline = view()->widgetAs<QLabel>("imgOffline");
    ASSERT_TRUE(QTest::qWaitFor([&] { return offline->isVisible(); }, 10000));
    EXPECT_EQ(offline->pixmap().toImage(), OfflinePicture(QSize(400, 200), QStringLiteral("Sender offline")).toImage());
    EXPECT_NE(offline->pixmap().toImage(), OfflinePicture(QSize(400, 200)).toImage());
}

// Catches UTF-8 titles shown as mojibake, a progress line cut by its own
// box, Return in the search box that does not search, a channel that plays
// on under a chosen video, and a plug-in player in the video page.
TEST_F(WindowInput, VideoTabShowsTitlesSearchesOnReturnAndSilencesTheChannel) {
    QSignalSpy started(shell_->player(), &MpvPlayerWidget::playbackStarted);
    clickRow("Tone TV");
    ASSERT_TRUE(started.count() > 0 || started.wait(15000));

    QTest::mouseClick(button("cmdYouTube"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program().videoSite().loading(); }, 10000));
    ASSERT_EQ(form().videoList->count(), 1);
    EXPECT_EQ(shownRow("ListView3").toStdString(), "F\xC3\xBCnf Freunde");
    auto* status = view()->widgetAs<QLineEdit>("txtStatus");
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Downloaded ")));
    EXPECT_GE(status->height(), status->minimumSizeHint().height()) << "the progress line fits its box";
    EXPECT_GE(status->width(), status->fontMetrics().horizontalAdvance(status->text()));

    auto* videos = view()->widgetAs<cd::app::ReportView>("ListView3");
    QTest::mouseClick(videos->viewport(), Qt::LeftButton, {},
                      videos->visualRect(videos->model()->index(0, 0)).center());
    const std::string page = dir_.read("youtube.html");
    EXPECT_NE(page.find("<h1>F\xC3\xBCnf Freunde</h1>"), std::string::npos);
    EXPECT_NE(page.find("<iframe width='425' height='355' src='http://" + server_.host() + "/embed/fuenf1'"),
              std::string::npos);
    EXPECT_EQ(page.find("<object"), std::string::npos);
    EXPECT_FALSE(shell_->player()->isPlaying()) << "the channel stops when a video is chosen";
    EXPECT_TRUE(QTest::qWaitFor([&] { return shell_->player()->isIdle(); }, 5000));

    // Search mode, a typed text and Return.
    auto* countries = view()->widgetAs<QComboBox>("Combo4");
    ASSERT_NE(countries, nullptr);
    const int searchMode = countries->findText(QStringLiteral("SEARCH"));
    ASSERT_GE(searchMode, 0);
    countries->setCurrentIndex(searchMode);
    emit countries->activated(searchMode);
    auto* text = view()->widgetAs<QLineEdit>("txtSearch");
    ASSERT_TRUE(reachable(text, "the search box"));
    QTest::mouseClick(text, Qt::LeftButton);
    text->selectAll();
    QTest::keyClicks(text, "F");
    QTest::sendKeyEvent(QTest::Click, text, Qt::Key_Udiaeresis, QStringLiteral("\u00FC"), Qt::NoModifier);
    QTest::keyClicks(text, "nf");
    QTest::keyClick(text, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !searches().empty() && !program().videoSite().loading(); }, 10000));
    EXPECT_EQ(searches().front(), "F\xC3\xBCnf");
    ASSERT_GE(form().videoList->count(), 1);
    EXPECT_EQ(shownRow("ListView3").toStdString(), "Caf\xC3\xA9 cr\xC3\xA8me");
}

}  // namespace
}  // namespace cd::app
