// The real program's player as a user and a radio station meet it: live
// streams that drop and come back (or do not), the station's title in the
// status line, and the keys and double click of the main window.
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <atomic>
#include <chrono>

#include "app/mpv_player_widget.h"
#include "app/now_playing_panel.h"
#include "app/report_view.h"
#include "live_stream.h"
#include "program_window.h"

namespace cd::app {
namespace {

using namespace std::chrono_literals;

class ProgramWindowPlayer : public ProgramWindowBase {
protected:
    void addRoutes() override {
        // Three seconds of sound, then the server ends the stream; every request alike.
        server_.server().Get("/live/drop", [this](const httplib::Request&, httplib::Response& res) {
            ++dropRequests_;
            serveLive(res, shortBody_, stopping_);
        });
        // Three seconds, and once gone_ is set the station is off the air.
        server_.server().Get("/live/once", [this](const httplib::Request&, httplib::Response& res) {
            if (gone_) {
                ++goneRequests_;
                res.status = 503;
                res.set_content("off the air", "text/plain");
                return;
            }
            serveLive(res, shortBody_, stopping_);
        });
        // A radio sending its title in the icecast style, to players that ask.
        server_.server().Get("/live/icy", [this](const httplib::Request& req, httplib::Response& res) {
            if (req.get_header_value("Icy-MetaData") == "1") {
                res.set_header("icy-metaint", std::to_string(kIcyMetaInt));
                res.set_header("icy-name", "Icy FM");
                serveLive(res, icyBody_, stopping_);
            } else {
                serveLive(res, longBody_, stopping_);
            }
        });
        server_.server().Get("/live/long", [this](const httplib::Request&, httplib::Response& res) {
            serveLive(res, longBody_, stopping_);
        });
    }

    std::vector<std::string> catalogueLines() override {
        return {"Drop FM|" + server_.url("/live/drop") + "|TV|English",
                "Once FM|" + server_.url("/live/once") + "|TV|English",
                "Icy FM|" + server_.url("/live/icy") + "|TV|English",
                "Long FM|" + server_.url("/live/long") + "|TV|English"};
    }

    void SetUp() override {
        ProgramWindowBase::SetUp();
        // The product's pauses are 1, 2 and 4 s; the same steps, shorter.
        program().playback().setReconnectPolicy(playback::ReconnectPolicy{{300ms, 300ms, 300ms}, 1000ms});
    }

    void TearDown() override {
        *stopping_ = true;
        ProgramWindowBase::TearDown();
    }

    std::string status() { return form().playerStatus->caption(); }
    QLabel* statusLabel() { return shell_->mainView()->widgetAs<QLabel>("PlayerStatus"); }
    QWidget* picture() {
        PlayerWidget* p = shell_->playerWidget();
        return p->panelShown() ? static_cast<QWidget*>(p->panel()) : static_cast<QWidget*>(p->player());
    }
    bool waitStarted(QSignalSpy& started) { return started.count() > 0 || started.wait(15000); }

    std::shared_ptr<const std::string> shortBody_ = std::make_shared<const std::string>(liveBody(3.0));
    std::shared_ptr<const std::string> longBody_ = std::make_shared<const std::string>(liveBody(60.0));
    std::shared_ptr<const std::string> icyBody_ =
        std::make_shared<const std::string>(liveBody(60.0, "Miles Davis - So What"));
    std::shared_ptr<std::atomic<bool>> stopping_ = std::make_shared<std::atomic<bool>>(false);
    std::atomic<int> dropRequests_{0};
    std::atomic<int> goneRequests_{0};
    std::atomic<bool> gone_{false};
};

// Catches a live stream that ends and stays silent, a retry that goes
// through the probe again, and a status line that never says it reconnects.
TEST_F(ProgramWindowPlayer, StreamThatEndsIsReopenedAndTheStatusLineSaysSo) {
    QSignalSpy started(shell_->player(), &MpvPlayerWidget::playbackStarted);
    clickRow("Drop FM");
    ASSERT_TRUE(waitStarted(started));
    const int before = dropRequests_;
    EXPECT_EQ(statusLabel()->text().toStdString().rfind("Playing Drop FM", 0), 0u)
        << statusLabel()->text().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().rfind("Reconnecting to Drop FM", 0) == 0; }, 10000)) << status();
    EXPECT_EQ(statusLabel()->text().toStdString(), status());
    ASSERT_TRUE(QTest::qWaitFor([&] { return dropRequests_ == before + 1; }, 5000))
        << "the server sees the new request";
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().rfind("Playing Drop FM", 0) == 0; }, 10000)) << status();
    EXPECT_FALSE(shell_->mainView()->widgetFor("imgOffline")->isVisible());
    EXPECT_TRUE(reports().empty()) << "a retry reports nothing";
}

// Catches tries without end, a fourth try, the offline picture after the
// last one, and a last status line that does not say it stopped.
TEST_F(ProgramWindowPlayer, StreamThatNeverComesBackStopsAfterThreeTries) {
    QSignalSpy started(shell_->player(), &MpvPlayerWidget::playbackStarted);
    clickRow("Once FM");
    ASSERT_TRUE(waitStarted(started));
    gone_ = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().rfind("Once FM stopped: ", 0) == 0; }, 15000)) << status();
    EXPECT_EQ(goneRequests_, 3);
    QTest::qWait(800);
    EXPECT_EQ(goneRequests_, 3) << "no fourth try";
    EXPECT_FALSE(shell_->mainView()->widgetFor("imgOffline")->isVisible());
    EXPECT_TRUE(reports().empty());
    EXPECT_FALSE(program().playback().reconnecting());
}

// Catches an ICY title that does not reach the status line or the panel
// that stands in for the missing picture.
TEST_F(ProgramWindowPlayer, IcyStreamTitleReachesTheStatusLineAndThePanel) {
    clickRow("Icy FM");
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().find("Miles Davis - So What") != std::string::npos; }, 15000))
        << status();
    EXPECT_EQ(status().rfind("Playing Icy FM: Miles Davis - So What", 0), 0u) << status();
    EXPECT_NE(status().find("mp3"), std::string::npos) << status();
    EXPECT_EQ(statusLabel()->text().toStdString(), status());
    ASSERT_TRUE(shell_->playerWidget()->panelShown()) << "sound only: the panel names what plays";
    EXPECT_EQ(shell_->playerWidget()->panel()->heading(), QStringLiteral("Icy FM"));
    EXPECT_EQ(shell_->playerWidget()->panel()->line(), QStringLiteral("Miles Davis - So What"));
}

// Catches keys that do not reach the player from the real window, Space
// taken from the lists, a double click that does not fill the screen or an
// Esc that does not come back, and a volume forgotten on restart.
TEST_F(ProgramWindowPlayer, KeysAndDoubleClickOnTheRealWindow) {
    QSignalSpy started(shell_->player(), &MpvPlayerWidget::playbackStarted);
    clickRow("Long FM");
    ASSERT_TRUE(waitStarted(started));
    auto* list = shell_->mainView()->widgetAs<cd::app::ReportView>("ListView1");
    ASSERT_NE(list, nullptr);
    shell_->mainView()->activateWindow();
    list->setFocus();
    const QModelIndex selected = list->currentIndex();
    QTest::keyClick(list, Qt::Key_Space);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_FALSE(shell_->player()->isPaused()) << "Space in the list is the list's";
    EXPECT_NE(list->currentIndex(), selected) << "the arrows move the selection";
    // The row moved to is a channel of its own, and plays.
    const int before = started.count();
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.count() > before; }, 15000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program().playback().probing(); }, 5000));

    QTest::keyClick(list, Qt::Key_M);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell_->player()->isMuted(); }, 3000)) << "M mutes from the list";
    QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(shell_->player()->volume(), 60);
    EXPECT_EQ(shell_->playerWidget()->volumeSlider()->value(), 60);

    QTest::mouseClick(picture(), Qt::LeftButton);
    ASSERT_TRUE(shell_->playerWidget()->isAncestorOf(QApplication::focusWidget())) << "a click gives the picture focus";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell_->player()->isPaused(); }, 3000)) << "Space on the picture pauses";
    EXPECT_EQ(program().playback().nowPlaying().state().state, playback::PlayState::Paused);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shell_->player()->isPaused(); }, 3000));

    QTest::mouseDClick(picture(), Qt::LeftButton);
    ASSERT_TRUE(shell_->playerWidget()->isFullScreen());
    QWidget* full = shell_->playerWidget()->fullScreenWindow();
    ASSERT_NE(full, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return full->isVisible() && full->isFullScreen(); }, 3000));
    EXPECT_TRUE(full->isAncestorOf(shell_->playerWidget()->screenArea())) << "the picture alone fills the screen";
    EXPECT_TRUE(program().playback().nowPlaying().state().fullScreen);
    // The bar lies over the picture while the mouse moves, and goes when it rests.
    shell_->playerWidget()->setBarHideDelay(200);
    QWidget* bar = shell_->playerWidget()->controlBar();
    QTest::mouseMove(picture(), QPoint(20, 20));
    QTest::mouseMove(picture(), QPoint(40, 30));
    EXPECT_TRUE(bar->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !bar->isVisible(); }, 3000)) << "the bar hides when the mouse rests";
    QTest::mouseMove(picture(), QPoint(60, 40));
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->isVisible(); }, 1000)) << "a move brings the bar back";
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : full, Qt::Key_Escape);
    EXPECT_FALSE(shell_->playerWidget()->isFullScreen());
    EXPECT_FALSE(full->isVisible());
    EXPECT_TRUE(bar->isVisible()) << "in the window the bar always shows";
    EXPECT_TRUE(shell_->playerWidget()->isAncestorOf(shell_->playerWidget()->screenArea()));

    list->setFocus();
    QTest::keyClick(list, Qt::Key_F);
    EXPECT_TRUE(shell_->playerWidget()->isFullScreen()) << "F from the list";
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : full, Qt::Key_F);
    EXPECT_FALSE(shell_->playerWidget()->isFullScreen()) << "F again comes back";

    shell_->mainView()->close();
    shell_.reset();
    startProgram();
    EXPECT_EQ(shell_->player()->volume(), 60) << "the volume survives a restart";
    EXPECT_TRUE(shell_->player()->isMuted());
    EXPECT_EQ(shell_->playerWidget()->volumeSlider()->value(), 60);
}

}  // namespace
}  // namespace cd::app
