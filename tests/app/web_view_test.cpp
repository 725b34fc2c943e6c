#include "app/web_view.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "support/loopback_server.h"
#include "support/temp_dir.h"

namespace cd::app {
namespace {

std::string page(const std::string& title) {
    return "<html><head><title>" + title + "</title></head><body><h1>" + title + "</h1></body></html>";
}

bool loadAndWait(WebView& view, const std::function<void()>& load) {
    QSignalSpy finished(&view, &QWebEngineView::loadFinished);
    load();
    if (!finished.wait(20000)) return false;
    return finished.last().at(0).toBool();
}

// Catches the video page staying stale: the program rewrites the same file
// for every video, so showing the same path again must read it again.
TEST(WebView, Navigate2ShowsTheFileAnewWhenItChanged) {
    test::TempDir dir;
    const std::string path = dir.write("youtube.html", page("first")).string();
    WebView view;
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    ASSERT_TRUE(loadAndWait(view, [&] { view.navigate2(path); }));
    EXPECT_EQ(view.title(), QStringLiteral("first"));
    EXPECT_EQ(view.url(), QUrl::fromLocalFile(QString::fromStdString(path)));

    dir.write("youtube.html", page("second"));
    ASSERT_TRUE(loadAndWait(view, [&] { view.navigate2(path); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.title() == QStringLiteral("second"); }, 5000))
        << view.title().toStdString();

    // A third round after another page was shown in between.
    const std::string other = dir.write("other.html", page("other")).string();
    ASSERT_TRUE(loadAndWait(view, [&] { view.navigate2(other); }));
    dir.write("youtube.html", page("third"));
    ASSERT_TRUE(loadAndWait(view, [&] { view.navigate2(path); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.title() == QStringLiteral("third"); }, 5000));
}

// Catches an address that is not loaded (the banner) or loaded with a wrong scheme.
TEST(WebView, NavigateShowsAnAddress) {
    test::LoopbackServer server;
    server.server().Get("/banner.html", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(page("banner"), "text/html");
    });
    server.start();
    WebView view;
    view.resize(400, 100);
    view.show();
    ASSERT_TRUE(loadAndWait(view, [&] { view.navigate(server.url("/banner.html")); }));
    EXPECT_EQ(view.title(), QStringLiteral("banner"));
}

}  // namespace
}  // namespace cd::app
