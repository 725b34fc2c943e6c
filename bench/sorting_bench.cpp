// Sorting a 100,000-row channel list by a header click: the figure that says
// whether a full catalogue in editor mode still sorts without a pause.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "mainwindow/list_sorting.h"
#include "ui/list_view.h"

namespace {

constexpr int kRows = 100'000;

std::string randomWord(std::mt19937& rng, int minLen, int maxLen) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ ";
    std::uniform_int_distribution<int> len(minLen, maxLen);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof(kLetters)) - 2);
    std::string s(static_cast<std::size_t>(len(rng)), ' ');
    for (char& c : s) c = kLetters[pick(rng)];
    return s;
}

// Rows shaped like the catalogue's: a channel name, then category and
// languages that repeat a lot (the hard case for a sort: many equal keys).
std::vector<cd::ui::ListItem> catalogueRows() {
    std::mt19937 rng(26);
    const char* categories[] = {"TV", "Radio", "Video", "XXX"};
    const char* languages[] = {"English", "German", "French", "Spanish", "Arabic", "Chinese", "english/French"};
    std::vector<cd::ui::ListItem> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        cd::ui::ListItem item;
        item.text = randomWord(rng, 6, 30);
        item.tag = "http://example.test/" + std::to_string(i);
        item.setSubItem(1, categories[rng() % 4]);
        item.setSubItem(2, languages[rng() % 7]);
        rows.push_back(std::move(item));
    }
    return rows;
}

void fillCatalogue(cd::ui::ListView& list, std::vector<cd::ui::ListItem> rows) {
    list.beginUpdate();
    for (auto& item : rows) list.addItem(std::move(item));
    list.endUpdate();
}

// One header click per iteration; each flips the order, so every click is a
// full sort of the whole list.
void BM_SortColumnsHeaderClick(benchmark::State& state) {
    cd::ui::ListView list("ListView1");
    for (const char* c : {"Channel", "Category", "Type"}) list.addColumn(c);
    fillCatalogue(list, catalogueRows());
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(cd::mainwindow::EnhListView_SortColumns(list, column, false));
    }
    state.counters["rows"] = kRows;
    // Printed as a time: seconds of wall clock per header click.
    state.counters["time_per_sort"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_SortColumnsHeaderClick)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A refill of a sorted list: 100,000 rows added in one batch and sorted once
// (the rows are made before the clock runs).
void BM_RefillSortedList(benchmark::State& state) {
    const std::vector<cd::ui::ListItem> rows = catalogueRows();
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<cd::ui::ListView>("ListView1");
        for (const char* c : {"Channel", "Category", "Type"}) list->addColumn(c);
        list->setSorted(true);
        list->setSortOrder(cd::ui::SortOrder::Descending);
        std::vector<cd::ui::ListItem> copy = rows;
        state.ResumeTiming();
        fillCatalogue(*list, std::move(copy));
        benchmark::DoNotOptimize(list->count());
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_RefillSortedList)->Unit(benchmark::kMillisecond);

}  // namespace
