// A category switch in the real window with 100,000 and 1,000,000 channels:
// the click on a category button until the refilled list has been painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/app_shell.h"
#include "bench_shell.h"
#include "generated_catalogue.h"
#include "support/temp_dir.h"

namespace {

void BM_CategorySwitchInWindow(benchmark::State& state) {
    const auto records = static_cast<int>(state.range(0));
    cd::test::TempDir dir;
    dir.write("Data.txt", cd::bench::generateCatalogue(records));
    auto shell = cd::bench::startShell(dir, "Language=English\nshowHelp=0\nTVLang=All\nRadioLang=All\n");

    auto* tv = shell->mainView()->widgetAs<QPushButton>("cmdTV");
    auto* radio = shell->mainView()->widgetAs<QPushButton>("cmdRadio");
    if (!tv || !radio) {
        state.SkipWithError("no category buttons");
        return;
    }
    bool toRadio = true;
    double rows = 0;
    for (auto _ : state) {
        (toRadio ? radio : tv)->click();
        // The list's reset and the repaint it asks for.
        QApplication::processEvents();
        rows += shell->program().windows.mainWindow.channelList->count();
        toRadio = !toRadio;
    }
    state.counters["rows"] = benchmark::Counter(rows, benchmark::Counter::kAvgIterations);
    state.counters["records"] = records;
    shell->mainView()->close();
    shell.reset();
}

// One keystroke in the channel search field over the 600,000 TV rows of a
// million-channel catalogue: the list refiltered and repainted. The search
// keys are made at the first keystroke after a refill, outside the timing.
void BM_SearchKeystrokeInWindow(benchmark::State& state) {
    cd::test::TempDir dir;
    dir.write("Data.txt", cd::bench::generateCatalogue(1'000'000));
    auto shell = cd::bench::startShell(dir, "Language=English\nshowHelp=0\nTVLang=All\n");
    auto* field = shell->mainView()->widgetAs<QLineEdit>("txtChannelSearch");
    if (!field) {
        state.SkipWithError("no search field");
        return;
    }
    QTest::keyClicks(field, "channel 4");
    QApplication::processEvents();
    bool longer = true;
    double rows = 0;
    for (auto _ : state) {
        // "channel 42" and back to "channel 4": 11,111 and 111,111 rows.
        if (longer)
            QTest::keyClick(field, Qt::Key_2);
        else
            QTest::keyClick(field, Qt::Key_Backspace);
        QApplication::processEvents();
        rows += shell->program().windows.mainWindow.channelList->count();
        longer = !longer;
    }
    state.counters["rows"] = benchmark::Counter(rows, benchmark::Counter::kAvgIterations);
    shell->mainView()->close();
    shell.reset();
}

}  // namespace

BENCHMARK(BM_SearchKeystrokeInWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// Alternately Radio (a quarter of the records) and TV (three fifths) of the
// mixed catalogue.
BENCHMARK(BM_CategorySwitchInWindow)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);
