// The real window while its fetches wait on slow and silent servers: the
// window stays live, clicks, category switches, listings and closing come
// while other fetches are on their way, as they do when a user does not
// wait. Nothing may freeze, crash or hang, and what the user did last is
// what the window ends up showing.
#include <QComboBox>
#include <QSignalSpy>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "app/mpv_player_widget.h"
#include "program_window.h"

namespace cd::app {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kSlowChannels = 5;

class LiveWindow : public ProgramWindowBase {
protected:
    void addRoutes() override {
        // Probes and listings that were given up may keep their server
        // thread a little while: many more than the default eight workers.
        server_.server().new_task_queue = [] { return new httplib::ThreadPool(128); };
        // An endless live stream that drips 16 bytes every 50 ms.
        server_.server().Get(R"(/drip/(\w+))", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("audio/mpeg", [this](size_t, httplib::DataSink& sink) {
                if (stopping_) return false;
                std::this_thread::sleep_for(50ms);
                return sink.write("live stream data", 16);
            });
        });
        // Listing pages arrive in ten pieces over ~300 ms; with endless set
        // they never end.
        server_.server().Get("/browse", [this](const httplib::Request& req, httplib::Response& res) {
            const std::string id = req.get_param_value("s") + req.get_param_value("c") + "p" + req.get_param_value("p");
            const std::string page =
                "<html><body><div><a href=\"/watch?v=" + id + "\">Video " + id + "</a></div></body></html>";
            res.set_chunked_content_provider("text/html", [this, page](size_t offset, httplib::DataSink& sink) {
                if (stopping_) return false;
                std::this_thread::sleep_for(30ms);
                if (endlessListings_) return sink.write(" ", 1);
                if (offset >= page.size()) {
                    sink.done();
                    return true;
                }
                const std::size_t piece = std::min<std::size_t>(page.size() - offset, page.size() / 10 + 1);
                return sink.write(page.data() + offset, piece);
            });
        });
        // Accepts the request and never answers.
        server_.server().Get("/silent", [this](const httplib::Request&, httplib::Response& res) {
            for (int i = 0; i < 400 && !stopping_; ++i) std::this_thread::sleep_for(50ms);
            res.set_content("too late", "text/plain");
        });
    }

    std::vector<std::string> catalogueLines() override {
        std::vector<std::string> lines;
        for (int i = 1; i <= kSlowChannels; ++i) {
            const std::string n = std::to_string(i);
            lines.push_back("Slow TV " + n + "|" + server_.url("/drip/tv" + n) + "|TV|English");
            lines.push_back("Slow Radio " + n + "|" + server_.url("/drip/radio" + n) + "|Radio|English");
        }
        lines.push_back("Silent TV|" + server_.url("/silent") + "|Video|English");
        return lines;
    }

    void TearDown() override {
        // The endless answers end first, so the server can stop.
        stopping_ = true;
        ProgramWindowBase::TearDown();
    }

    /// Runs action now and each later one after interval, each from its
    /// own single-shot timer, as a user who does not wait would.
    void runChained(int count, std::chrono::milliseconds interval, std::function<void(int)> action) {
        chain_ = [this, count, interval, action](int i) {
            if (i + 1 < count) QTimer::singleShot(interval, [this, i] { chain_(i + 1); });
            ++depth_;
            maxDepth_ = std::max(maxDepth_, depth_);
            action(i);
            --depth_;
            ++done_;
        };
        QTimer::singleShot(0, [this] { chain_(0); });
        started_ = Clock::now();
    }

    /// Waits until every chained action has run and returned.
    bool waitForChain(int count, int timeoutMs) {
        return QTest::qWaitFor([&] { return done_ == count && depth_ == 0; }, timeoutMs);
    }

    double secondsSinceStart() const { return std::chrono::duration<double>(Clock::now() - started_).count(); }

    std::function<void(int)> chain_;
    int depth_ = 0;
    int maxDepth_ = 0;
    int done_ = 0;
    Clock::time_point started_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> endlessListings_{false};
};

// Catches an earlier click that plays its channel after a later one, a crash
// when the list is refilled under a waiting click, and probes that wait out
// their bounds one after the other.
TEST_F(LiveWindow, FiftyRapidClicksAndSwitchesEndOnTheLastClick) {
    constexpr int kActions = 50;
    std::string lastCategory = "TV";
    std::string lastAddress;
    runChained(kActions, 40ms, [&](int i) {
        if (i % 7 == 3) {
            lastCategory = lastCategory == "TV" ? "Radio" : "TV";
            QTest::mouseClick(button(lastCategory == "TV" ? "cmdTV" : "cmdRadio"), Qt::LeftButton);
            return;
        }
        const int row = (i * 3) % form().channelList->count();
        lastAddress = form().channelList->item(row).tag;
        clickRow(form().channelList->item(row).text);
    });
    ASSERT_TRUE(waitForChain(kActions, 60000)) << done_ << " actions done, depth " << depth_;
    const double took = secondsSinceStart();

    EXPECT_EQ(maxDepth_, 1) << "no click runs inside another one's wait";
    EXPECT_LT(took, 15.0) << "superseded probes end at once instead of each waiting out its bound";
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell_->player()->currentUrl() == lastAddress; }, 5000))
        << "the last click plays: " << shell_->player()->currentUrl() << " instead of " << lastAddress;
    EXPECT_EQ(program().state().currentCategory, lastCategory);
    EXPECT_EQ(form().channelList->count(), kSlowChannels);
    for (int i = 0; i < form().channelList->count(); ++i)
        EXPECT_EQ(form().channelList->item(i).text.rfind(lastCategory == "TV" ? "Slow TV" : "Slow Radio", 0), 0u);
    EXPECT_FALSE(shell_->mainView()->widgetFor("imgOffline")->isVisible());
    EXPECT_TRUE(reports().empty()) << "a probe given up decides nothing and reports nothing";
    EXPECT_TRUE(shell_->mainView()->isVisible());
}

// Catches an older listing that goes on appending its pages after the
// listing the user chose while it loaded.
TEST_F(LiveWindow, ListingChosenDuringAnotherListingIsTheOneShown) {
    auto* kinds = shell_->mainView()->widgetAs<QComboBox>("Combo3");
    ASSERT_NE(kinds, nullptr);
    const int comedy = kinds->findText(QStringLiteral("Comedy"));
    ASSERT_GE(comedy, 0);
    runChained(2, 150ms, [&](int i) {
        if (i == 0) {
            QTest::mouseClick(button("cmdYouTube"), Qt::LeftButton);
            return;
        }
        kinds->setCurrentIndex(comedy);
        emit kinds->activated(comedy);
    });
    ASSERT_TRUE(waitForChain(2, 30000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program().videoSite().loading(); }, 20000));
    ASSERT_EQ(form().videoList->count(), 5);
    for (int i = 0; i < form().videoList->count(); ++i)
        EXPECT_EQ(form().videoList->item(i).key, "mf23p" + std::to_string(i + 1));
    EXPECT_EQ(form().videoStatus->text().rfind("Downloaded ", 0), 0u);
}

// Catches a window that freezes while a click waits on a server that
// accepts and never answers (it froze for 15 s), a probe that starts the
// player after the window closed, and a close that waits for the probe.
TEST_F(LiveWindow, SilentServerLeavesTheWindowLiveAndCloseEndsAtOnce) {
    QTest::mouseClick(button("cmdVideo"), Qt::LeftButton);
    clickRow("Silent TV");
    EXPECT_EQ(form().playerStatus->caption(), "Connecting to Silent TV\xE2\x80\xA6");
    ASSERT_TRUE(program().playback().probing());

    // Posted events, one every 20 ms for two seconds: how long each waits
    // to run is how long the window would take to answer the user.
    std::vector<double> latencies;
    const auto end = Clock::now() + 2s;
    while (Clock::now() < end) {
        const auto posted = Clock::now();
        bool ran = false;
        QTimer::singleShot(0, [&] {
            latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - posted).count());
            ran = true;
        });
        ASSERT_TRUE(QTest::qWaitFor([&] { return ran; }, 5000));
        QTest::qWait(20);
    }
    ASSERT_GE(latencies.size(), 20u);
    EXPECT_LT(*std::max_element(latencies.begin(), latencies.end()), 100.0);
    EXPECT_TRUE(program().playback().probing()) << "the probe still waits within its 5 s";

    QSignalSpy finished(shell_.get(), &AppShell::finished);
    const auto closing = Clock::now();
    shell_->mainView()->close();
    ASSERT_TRUE(finished.count() > 0 || finished.wait(1000)) << "the program ends within a second";
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - closing).count(), 1.0);
    EXPECT_FALSE(program().playback().probing());
    QTest::qWait(300);
    EXPECT_TRUE(shell_->player()->currentUrl().empty());
    EXPECT_TRUE(reports().empty());
}

// Catches a close during an endless listing that never returns.
TEST_F(LiveWindow, ClosingDuringAnEndlessListingReturns) {
    endlessListings_ = true;
    runChained(2, 300ms, [&](int i) {
        if (i == 0)
            QTest::mouseClick(button("cmdYouTube"), Qt::LeftButton);
        else
            shell_->mainView()->close();
    });
    ASSERT_TRUE(waitForChain(2, 10000)) << "the listing is still reading after the close";
    EXPECT_LT(secondsSinceStart(), 2.5);
    EXPECT_EQ(form().videoList->count(), 0);
}

}  // namespace
}  // namespace cd::app
