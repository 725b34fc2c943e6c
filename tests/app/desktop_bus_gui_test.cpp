// The real program on a private session bus (run under dbus-run-session):
// the desktop's player widgets and media keys reach it through MPRIS, and
// the screensaver is held off while a picture plays. The screensaver here
// is a small service of the test's own, on a connection of its own.
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QToolButton>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/mpv_player_widget.h"
#include "live_stream.h"
#include "program_window.h"

namespace cd::app {

/// org.freedesktop.ScreenSaver as a desktop offers it: Inhibit hands out a
/// cookie, UnInhibit takes one back.
class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    QStringList held;
    int inhibits = 0;
    int releases = 0;

public slots:
    uint Inhibit(const QString& application, const QString& reason) {
        ++inhibits;
        const uint cookie = 1000 + static_cast<uint>(inhibits);
        held.append(QString::number(cookie) + ' ' + application + ": " + reason);
        return cookie;
    }
    void UnInhibit(uint cookie) {
        ++releases;
        for (int i = 0; i < held.size(); ++i)
            if (held[i].startsWith(QString::number(cookie) + ' ')) held.removeAt(i--);
    }
};

namespace {

using namespace std::chrono_literals;

const QString kMpris = QStringLiteral("org.mpris.MediaPlayer2.channeldeck");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

/// Endless raw video (YUV4MPEG2, 64×48, 25 frames a second): a grey picture
/// that any player opens without a codec.
void serveVideo(httplib::Response& res, std::shared_ptr<std::atomic<bool>> stopping) {
    res.set_chunked_content_provider("video/x-yuv4mpeg", [stopping](size_t offset, httplib::DataSink& sink) {
        if (*stopping) return false;
        std::string piece;
        if (offset == 0) piece = "YUV4MPEG2 W64 H48 F25:1 Ip A1:1 C420jpeg\n";
        std::this_thread::sleep_for(40ms);
        piece += "FRAME\n" + std::string(64 * 48, '\x80') + std::string(64 * 48 / 2, '\x80');
        return sink.write(piece.data(), piece.size());
    });
}

class DesktopBus : public ProgramWindowBase {
protected:
    void addRoutes() override {
        server_.server().Get("/live/long", [this](const httplib::Request&, httplib::Response& res) {
            serveLive(res, body_, stopping_);
        });
        server_.server().Get("/cam",
                             [this](const httplib::Request&, httplib::Response& res) { serveVideo(res, stopping_); });
    }

    std::vector<std::string> catalogueLines() override {
        return {"Long FM|" + server_.url("/live/long") + "|TV|English",
                "Cam TV|" + server_.url("/cam") + "|TV|English"};
    }

    void SetUp() override {
        ASSERT_TRUE(screenBus_.isConnected()) << "run under dbus-run-session";
        ASSERT_TRUE(screenBus_.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &screenSaver_,
                                              QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(screenBus_.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
        ProgramWindowBase::SetUp();
    }

    void TearDown() override {
        *stopping_ = true;
        ProgramWindowBase::TearDown();
        screenBus_.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
        screenBus_.unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
        QDBusConnection::disconnectFromBus(QStringLiteral("test-screensaver"));
        QDBusConnection::disconnectFromBus(QStringLiteral("test-client"));
    }

    /// A call from another program on the bus, answered while the window runs.
    QDBusMessage call(const QString& interface, const QString& method, const QVariantList& args = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(kMpris, kPath, interface, method);
        message.setArguments(args);
        QDBusPendingCall pending = client_.asyncCall(message, 5000);
        EXPECT_TRUE(QTest::qWaitFor([&] { return pending.isFinished(); }, 6000));
        return pending.reply();
    }
    QVariant property(const QString& interface, const QString& name) {
        const QDBusMessage reply =
            call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"), {interface, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
        return reply.arguments().first().value<QDBusVariant>().variant();
    }
    QString status() { return property(kPlayer, QStringLiteral("PlaybackStatus")).toString(); }

    std::shared_ptr<const std::string> body_ = std::make_shared<const std::string>(liveBody(60.0));
    std::shared_ptr<std::atomic<bool>> stopping_ = std::make_shared<std::atomic<bool>>(false);
    QDBusConnection screenBus_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "test-screensaver");
    QDBusConnection client_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "test-client");
    FakeScreenSaver screenSaver_;
};

// Catches a player missing from the bus, a status that does not follow
// playback, PlayPause that does not reach the player, and metadata without
// the channel's name.
TEST_F(DesktopBus, MprisAnswersAndSteersThePlayer) {
    ASSERT_NE(shell_->desktopSession()->mpris(), nullptr);
    EXPECT_EQ(shell_->desktopSession()->mpris()->serviceName(), kMpris);
    EXPECT_EQ(property(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Identity")).toString(),
              QStringLiteral("ChannelDeck"));
    EXPECT_EQ(status(), QStringLiteral("Stopped"));

    QSignalSpy started(shell_->player(), &MpvPlayerWidget::playbackStarted);
    clickRow("Long FM");
    ASSERT_TRUE(started.count() > 0 || started.wait(15000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return status() == QStringLiteral("Playing"); }, 5000)) << status().toStdString();
    const QVariantMap meta = qdbus_cast<QVariantMap>(property(kPlayer, QStringLiteral("Metadata")));
    EXPECT_EQ(meta.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("Long FM"));

    EXPECT_EQ(call(kPlayer, QStringLiteral("PlayPause")).type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell_->player()->isPaused(); }, 5000));
    EXPECT_EQ(status(), QStringLiteral("Paused"));
    call(kPlayer, QStringLiteral("Play"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shell_->player()->isPaused(); }, 5000));

    EXPECT_EQ(call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
                   {kPlayer, QStringLiteral("Volume"), QVariant::fromValue(QDBusVariant(0.25))})
                  .type(),
              QDBusMessage::ReplyMessage);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell_->player()->volume() == 25; }, 3000));
    EXPECT_DOUBLE_EQ(property(kPlayer, QStringLiteral("Volume")).toDouble(), 0.25);

    call(kPlayer, QStringLiteral("Stop"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return status() == QStringLiteral("Stopped"); }, 5000));
    EXPECT_EQ(form().playerStatus->caption(), "Long FM stopped.");
    EXPECT_EQ(screenSaver_.inhibits, 0) << "sound alone keeps no screen awake";
}

// Catches a picture that lets the screensaver start, an inhibit kept after
// Stop, and one taken twice.
TEST_F(DesktopBus, ScreensaverIsHeldOffWhileAPicturePlays) {
    QSignalSpy started(shell_->player(), &MpvPlayerWidget::playbackStarted);
    clickRow("Cam TV");
    ASSERT_TRUE(started.count() > 0 || started.wait(15000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return screenSaver_.held.size() == 1; }, 10000))
        << form().playerStatus->caption();
    EXPECT_TRUE(screenSaver_.held.first().contains(QStringLiteral("ChannelDeck")))
        << screenSaver_.held.first().toStdString();
    QTest::qWait(300);
    EXPECT_EQ(screenSaver_.inhibits, 1);

    QTest::mouseClick(shell_->playerWidget()->stopButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return screenSaver_.held.isEmpty(); }, 5000));
    EXPECT_EQ(screenSaver_.releases, 1);
    EXPECT_EQ(status(), QStringLiteral("Stopped"));

    // Played again, then the program ends while it plays: released too.
    clickRow("Cam TV");
    ASSERT_TRUE(QTest::qWaitFor([&] { return screenSaver_.held.size() == 1; }, 15000));
    // The answer with the cookie has come back (the fake shares this thread:
    // the program cannot wait for it here).
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell_->desktopSession()->screenSaver()->held(); }, 5000));
    shell_->mainView()->close();
    shell_.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screenSaver_.held.isEmpty(); }, 5000));
}

}  // namespace
}  // namespace cd::app

#include "desktop_bus_gui_test.moc"
