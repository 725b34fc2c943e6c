// The search field: one keystroke over the TV rows of a generated
// 1,000,000-record catalogue (TV with every language, about 600,000 rows),
// and the one-time cost of the keys when the list is filled.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "formats/category_filter.h"
#include "formats/channel.h"
#include "formats/line_cipher.h"
#include "formats/search_filter.h"
#include "generated_catalogue.h"
#include "util/lines.h"

namespace {

// The names a TV / All category switch lists, in file order. mixed: every
// third name made non-ASCII (windows-1252 or UTF-8, composed or not), so
// the keys take the Unicode path too.
std::vector<std::string> tvNames(bool mixed) {
    const std::string file = cd::bench::generateCatalogue(1'000'000);
    const cd::formats::CategoryFilter filter("TV", "All");
    std::vector<std::string> names;
    names.reserve(620'000);
    std::string decoded;
    cd::util::forEachLine(file, [&](std::string_view line) {
        cd::formats::DecodeLineInto(line, decoded);
        const auto channel = cd::formats::parseRecordLine(decoded);
        if (channel && filter.lists(channel->category, channel->languages)) names.push_back(channel->name);
        return true;
    });
    if (mixed) {
        static const char* kPrefixes[] = {"T\xE9l\xE9 ", "Caf\xC3\xA9 ", "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE "};
        for (std::size_t i = 0; i < names.size(); i += 3) names[i] = kPrefixes[(i / 3) % 3] + names[i];
    }
    return names;
}

const std::vector<std::string>& names(bool mixed) {
    static const std::vector<std::string> ascii = tvNames(false);
    static const std::vector<std::string> other = tvNames(true);
    return mixed ? other : ascii;
}

const cd::formats::SearchIndex& index(bool mixed) {
    static const auto make = [](bool m) {
        cd::formats::SearchIndex built;
        built.reserve(names(m).size(), names(m).size() * 20);
        for (const auto& n : names(m)) built.add(n);
        return built;
    };
    static const cd::formats::SearchIndex ascii = make(false);
    static const cd::formats::SearchIndex other = make(true);
    return mixed ? other : ascii;
}

// What a user types, one keystroke at a time: the text after each keystroke.
const char* const kTyped[] = {
    "c",               // the first letter: every row matches
    "chan",            // still every row
    "channel 4",       // about a tenth of the rows
    "channel 4242",    // a handful
    "channel 424242",  // one
    "zzz",             // none
    "caf\xC3\xA9",     // accented, in the mixed names
};

void BM_SearchKeystroke(benchmark::State& state, bool mixed) {
    const auto& keys = index(mixed);
    const char* typed = kTyped[state.range(0)];
    std::vector<std::uint32_t> rows;
    rows.reserve(keys.size());
    for (auto _ : state) {
        keys.find(typed, rows);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetLabel(typed);
    state.counters["rows"] = static_cast<double>(keys.size());
    state.counters["matches"] = static_cast<double>(rows.size());
}
void BM_SearchKeystroke_TV(benchmark::State& state) { BM_SearchKeystroke(state, false); }
void BM_SearchKeystroke_TV_MixedScripts(benchmark::State& state) { BM_SearchKeystroke(state, true); }

// The keys of a list, made once when it is filled.
void BM_SearchIndexFill(benchmark::State& state, bool mixed) {
    const auto& rows = names(mixed);
    cd::formats::SearchIndex keys;
    for (auto _ : state) {
        keys.clear();
        keys.reserve(rows.size(), rows.size() * 20);
        for (const auto& n : rows) keys.add(n);
        benchmark::DoNotOptimize(keys.size());
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}
void BM_SearchIndexFill_TV(benchmark::State& state) { BM_SearchIndexFill(state, false); }
void BM_SearchIndexFill_TV_MixedScripts(benchmark::State& state) { BM_SearchIndexFill(state, true); }

}  // namespace

BENCHMARK(BM_SearchKeystroke_TV)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchKeystroke_TV_MixedScripts)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchIndexFill_TV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchIndexFill_TV_MixedScripts)->Unit(benchmark::kMillisecond);
