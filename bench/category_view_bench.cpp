// LoadCategory over a generated Data.txt of 10,000, 100,000 and 1,000,000
// records: the time of one category switch (read, decode, filter, refill,
// rebuild the language box).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "catalogue/category_view.h"
#include "generated_catalogue.h"
#include "localization/message_table.h"
#include "platform/memory_settings_store.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace {

void runLoadCategory(benchmark::State& state, const std::string& fileCategory, const std::string& language,
                     bool refresh, bool firstFill = false) {
    cd::test::TempDir dir;
    const int records = static_cast<int>(state.range(0));
    dir.write("Data.txt", cd::bench::generateCatalogue(records, fileCategory));
    auto form = std::make_unique<cd::ui::MainWindow>();
    cd::catalogue::NavigationState nav;
    cd::platform::MemorySettingsStore settings;
    cd::test::FakeDialogs dialogs;
    cd::localization::MessageTable messages(cd::platform::VersionInfo{"ChannelDeck", "", "", 1, 0, 0});
    cd::localization::addDefaultMessages(messages);
    auto makeView = [&] {
        return std::make_unique<cd::catalogue::CategoryView>(*form, nav, settings, dialogs, messages, dir.path(),
                                                             "ChannelDeck");
    };
    auto view = makeView();
    auto load = [&] {
        nav.currentCategory = "TV";
        nav.currentLanguage = language;
        nav.languageRefresh = refresh;
        view->LoadCategory();
    };
    // The program shows TV at start-up, so a switch finds the list already
    // grown once; firstFill measures that first fill instead.
    if (!firstFill) load();
    for (auto _ : state) {
        if (firstFill) {
            state.PauseTiming();
            view.reset();
            form = std::make_unique<cd::ui::MainWindow>();
            view = makeView();
            state.ResumeTiming();
        }
        load();
        benchmark::DoNotOptimize(form->channelList->count());
    }
    if (!dialogs.shown.empty()) state.SkipWithError("LoadCategory failed");
    state.counters["rows"] = form->channelList->count();
    state.counters["entries"] = static_cast<double>(form->languageBox->entries().size());
    state.counters["records"] = records;
}

// A category switch to TV over the mixed catalogue: 60% of the records listed.
void BM_LoadCategory_MixedCatalogue_TV_All(benchmark::State& state) { runLoadCategory(state, "", "All", true); }
// The worst case: every record is listed.
void BM_LoadCategory_AllRecordsListed(benchmark::State& state) { runLoadCategory(state, "TV", "All", true); }
// A language pick: filtered, no rebuild of the language box.
void BM_LoadCategory_MixedCatalogue_English(benchmark::State& state) { runLoadCategory(state, "", "English", false); }
// The first fill after start-up: the row storage grows from nothing.
void BM_LoadCategory_FirstFill_TV_All(benchmark::State& state) { runLoadCategory(state, "", "All", true, true); }

}  // namespace

BENCHMARK(BM_LoadCategory_MixedCatalogue_TV_All)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCategory_AllRecordsListed)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCategory_MixedCatalogue_English)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCategory_FirstFill_TV_All)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
