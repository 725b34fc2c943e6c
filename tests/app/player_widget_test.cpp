#include "app/player_widget.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <cstdint>
#include <memory>

#include "app/mpv_player_widget.h"
#include "support/temp_dir.h"

namespace cd::app {
namespace {

// One second of a 440 Hz tone, 16-bit mono PCM at 22050 Hz.
std::string toneWav() {
    constexpr std::uint32_t rate = 22050;
    constexpr std::uint32_t samples = rate;
    std::string out;
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&](std::uint16_t v) {
        out.push_back(static_cast<char>(v & 0xFF));
        out.push_back(static_cast<char>(v >> 8));
    };
    out += "RIFF";
    u32(36 + samples * 2);
    out += "WAVEfmt ";
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out += "data";
    u32(samples * 2);
    for (std::uint32_t i = 0; i < samples; ++i)
        u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * 440 * i / rate))));
    return out;
}

class PlayerWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        wav = dir.write("tone.wav", toneWav()).string();
        widget = std::make_unique<PlayerWidget>();
        widget->resize(320, 240);
        widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
        player = widget->player();
        ASSERT_TRUE(player->isValid());
        player->setErrorDialogsEnabled(false);
    }

    bool startAndWait(const std::string& url) {
        QSignalSpy started(player, &MpvPlayerWidget::playbackStarted);
        player->setUrl(url);
        return started.count() > 0 || started.wait(8000);
    }

    test::TempDir dir;
    std::string wav;
    std::unique_ptr<PlayerWidget> widget;
    MpvPlayerWidget* player = nullptr;
};

// Catches start settings that differ from the player's (volume 50, sound on).
TEST_F(PlayerWidgetTest, StartsWithVolumeFiftyAndSoundOn) {
    EXPECT_EQ(player->volume(), 50);
    EXPECT_FALSE(player->isMuted());
    EXPECT_EQ(widget->volumeSlider()->value(), 50);
    EXPECT_EQ(widget->volumeSlider()->maximum(), 100);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_TRUE(player->currentUrl().empty());
}

// Catches a URL that is stored but never started (no auto-start), a position
// that does not move, and stop/close that leave the medium playing.
TEST_F(PlayerWidgetTest, PlaysALocalFileAtOnceThenStopsAndCloses) {
    ASSERT_TRUE(startAndWait(wav));
    EXPECT_TRUE(player->isPlaying());
    EXPECT_EQ(player->currentUrl(), wav);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->timePos() > 0.05; }, 5000));
    // A file has a length, so the bar offers the seek slider.
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->duration() > 0.9; }, 3000));
    EXPECT_NEAR(player->duration(), 1.0, 0.05);
    EXPECT_TRUE(widget->seekSlider()->isVisible());

    player->stop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->isIdle(); }, 3000));
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player->currentUrl(), wav);  // stop keeps the medium for play()

    player->close();
    EXPECT_TRUE(player->currentUrl().empty());
    player->play();  // nothing left to start after close
    QTest::qWait(300);
    EXPECT_FALSE(player->isPlaying());
}

// Catches a second URL that plays beside or after the first instead of replacing it.
TEST_F(PlayerWidgetTest, ANewUrlReplacesWhatPlays) {
    const std::string second = dir.write("second.wav", toneWav()).string();
    ASSERT_TRUE(startAndWait(wav));
    ASSERT_TRUE(startAndWait(second));
    EXPECT_EQ(player->currentUrl(), second);
    EXPECT_TRUE(player->isPlaying());
}

// Catches a medium that cannot be played passing silently: the error is
// reported with mpv's reason and the address.
TEST_F(PlayerWidgetTest, AFileThatIsNoMediumRaisesTheError) {
    const std::string bad = dir.write("broken.wav", std::string(4096, 'x')).string();
    QSignalSpy errors(player, &MpvPlayerWidget::playbackError);
    player->setUrl(bad);
    ASSERT_TRUE(errors.count() > 0 || errors.wait(8000));
    EXPECT_FALSE(errors.first().at(0).toString().isEmpty());
    EXPECT_EQ(errors.first().at(1).toString().toStdString(), bad);
    EXPECT_FALSE(player->isPlaying());

    QSignalSpy again(player, &MpvPlayerWidget::playbackError);
    player->setUrl((dir / "missing.mp3").string());
    EXPECT_TRUE(again.count() > 0 || again.wait(8000));
}

// Catches the player's own error report blocking the program (a modal exec)
// or not appearing at all.
TEST_F(PlayerWidgetTest, ErrorDialogShowsWithoutBlocking) {
    player->setErrorDialogsEnabled(true);
    const std::string bad = dir.write("broken.mp3", std::string(4096, '\x01')).string();
    QSignalSpy errors(player, &MpvPlayerWidget::playbackError);
    player->setUrl(bad);
    ASSERT_TRUE(errors.count() > 0 || errors.wait(8000));
    QMessageBox* box = nullptr;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const auto boxes = player->findChildren<QMessageBox*>();
            box = boxes.isEmpty() ? nullptr : boxes.first();
            return box && box->isVisible();
        },
        3000));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Media Player"));
    EXPECT_TRUE(box->text().contains(QString::fromStdString(bad)));
    box->close();
}

// Catches bar buttons that are not wired to the player.
TEST_F(PlayerWidgetTest, BarStopsMutesAndSetsTheVolume) {
    ASSERT_TRUE(startAndWait(wav));
    QTest::mouseClick(widget->muteButton(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->isMuted(); }, 3000));
    widget->volumeSlider()->setValue(20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->volume() == 20; }, 3000));
    QTest::mouseClick(widget->stopButton(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->isPlaying() && player->isIdle(); }, 3000));
    // Play after stop starts the same medium again.
    QSignalSpy started(player, &MpvPlayerWidget::playbackStarted);
    QTest::mouseClick(widget->playPauseButton(), Qt::LeftButton);
    EXPECT_TRUE(started.count() > 0 || started.wait(8000));
}

// Catches the crash on exit when the render context outlives its GL context.
TEST(PlayerWidgetLifetime, ClosingTheWindowWhilePlayingDoesNotCrash) {
    test::TempDir dir;
    const std::string wav = dir.write("tone.wav", toneWav()).string();
    for (int round = 0; round < 2; ++round) {
        auto* window = new QWidget;
        window->setAttribute(Qt::WA_DeleteOnClose);
        auto* player = new PlayerWidget(window);
        player->setGeometry(0, 0, 320, 240);
        window->resize(320, 240);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        QSignalSpy started(player->player(), &MpvPlayerWidget::playbackStarted);
        player->player()->setUrl(wav);
        ASSERT_TRUE(started.count() > 0 || started.wait(8000));
        QSignalSpy destroyed(window, &QObject::destroyed);
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(destroyed.count(), 1);
        QTest::qWait(100);  // late mpv callbacks must find nothing to call into
    }
}

}  // namespace
}  // namespace cd::app
