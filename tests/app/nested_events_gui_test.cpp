// The real window while its fetches wait on a slow server: clicks, category
// switches, listings and closing run inside other handlers' fetches, as
// they do when a user does not wait. Nothing may crash or hang, and what
// the user did last is what the window ends up showing.
#include <QComboBox>
#include <QSignalSpy>
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

class NestedEvents : public ProgramWindowBase {
protected:
    void addRoutes() override {
        // Each probe and listing keeps a connection open while the ones
        // nested inside it run: many more than the default eight workers.
        server_.server().new_task_queue = [] { return new httplib::ThreadPool(128); };
        // An endless live stream that drips 16 bytes every 50 ms: a probe
        // of it runs to its time cap, letting events run all the while.
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
            const std::string page = "<html><body><div><a href=\"/watch?v=" + id + "\">Video " + id +
                                     "</a></div></body></html>";
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
    }

    std::vector<std::string> catalogueLines() override {
        std::vector<std::string> lines;
        for (int i = 1; i <= kSlowChannels; ++i) {
            const std::string n = std::to_string(i);
            lines.push_back("Slow TV " + n + "|" + server_.url("/drip/tv" + n) + "|TV|English");
            lines.push_back("Slow Radio " + n + "|" + server_.url("/drip/radio" + n) + "|Radio|English");
        }
        return lines;
    }

    void TearDown() override {
        // The endless answers end first, so the server can stop.
        stopping_ = true;
        ProgramWindowBase::TearDown();
    }

    /// Runs action now and, from inside it, each later one after interval:
    /// every action is started from a fresh single-shot timer, so each one
    /// runs inside the fetch of the one before (a repeating timer would not
    /// fire again while its own handler is still running).
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

// Catches an outer click that plays its channel after the clicks nested in
// its probe, a crash or deadlock when the list is refilled under a waiting
// click, and a pile of probes each waiting out its time cap in turn.
TEST_F(NestedEvents, FiftyRapidClicksAndSwitchesEndOnTheLastClick) {
    constexpr int kActions = 50;
    std::string lastCategory = "TV";
    std::string lastAddress;
    runChained(kActions, 40ms, [&](int i) {
        if (i % 7 == 3) {
            lastCategory = lastCategory == "TV" ? "Radio" : "TV";
            QTest::mouseClick(button(lastCategory == "TV" ? "cmdTV" : "cmdRadio"), Qt::LeftButton);
            return;
        }
        const int row = (i * 3) % form().ListView1->count();
        lastAddress = form().ListView1->item(row).tag;
        clickRow(form().ListView1->item(row).text);
    });
    ASSERT_TRUE(waitForChain(kActions, 60000)) << done_ << " actions done, depth " << depth_;
    const double took = secondsSinceStart();

    EXPECT_GE(maxDepth_, 10) << "the clicks did run inside each other's probes";
    EXPECT_LT(took, 15.0) << "superseded probes end at once instead of each waiting out its 4 s";
    EXPECT_EQ(shell_->player()->currentUrl(), lastAddress);
    EXPECT_EQ(program().state().currentCategory, lastCategory);
    EXPECT_EQ(form().ListView1->count(), kSlowChannels);
    for (int i = 0; i < form().ListView1->count(); ++i)
        EXPECT_EQ(form().ListView1->item(i).text.rfind(lastCategory == "TV" ? "Slow TV" : "Slow Radio", 0), 0u);
    EXPECT_FALSE(shell_->mainView()->widgetFor("imgOffline")->isVisible());
    EXPECT_TRUE(reports().empty()) << "a probe cut short decides nothing and reports nothing";
    EXPECT_TRUE(shell_->mainView()->isVisible());
}

// Catches an older listing that goes on appending its pages after the
// listing the user chose inside its wait.
TEST_F(NestedEvents, ListingChosenDuringAnotherListingIsTheOneShown) {
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
    EXPECT_EQ(maxDepth_, 2) << "the second listing started inside the first one's wait";
    ASSERT_EQ(form().ListView3->count(), 5);
    for (int i = 0; i < form().ListView3->count(); ++i)
        EXPECT_EQ(form().ListView3->item(i).key, "mf23p" + std::to_string(i + 1));
    EXPECT_EQ(form().txtStatus->text().rfind("Downloaded ", 0), 0u);
}

// Catches a close that leaves a channel probe waiting out its time cap, or a
// probe that starts the player after the window closed.
TEST_F(NestedEvents, ClosingWhileAProbeWaitsEndsItAndPlaysNothing) {
    QSignalSpy finished(shell_.get(), &AppShell::finished);
    runChained(2, 300ms, [&](int i) {
        if (i == 0) clickRow("Slow TV 1");
        else shell_->mainView()->close();
    });
    ASSERT_TRUE(waitForChain(2, 10000));
    EXPECT_LT(secondsSinceStart(), 2.5) << "not the probe's 4 s";
    EXPECT_EQ(maxDepth_, 2);
    EXPECT_TRUE(shell_->player()->currentUrl().empty());
    EXPECT_FALSE(shell_->mainView()->isVisible());
    EXPECT_TRUE(finished.count() > 0 || finished.wait(3000));
    EXPECT_TRUE(reports().empty());
}

// Catches a close during an endless listing (listings have no size cap)
// that never returns.
TEST_F(NestedEvents, ClosingDuringAnEndlessListingReturns) {
    endlessListings_ = true;
    runChained(2, 300ms, [&](int i) {
        if (i == 0) QTest::mouseClick(button("cmdYouTube"), Qt::LeftButton);
        else shell_->mainView()->close();
    });
    ASSERT_TRUE(waitForChain(2, 10000)) << "the listing is still reading after the close";
    EXPECT_LT(secondsSinceStart(), 2.5);
    EXPECT_EQ(form().ListView3->count(), 0);
}

}  // namespace
}  // namespace cd::app
