// LoadCategory over a generated 100,000-record Data.txt: the time of one
// category switch (read, decode, filter, refill, rebuild the language box).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "catalogue/category_view.h"
#include "catalogue/line_cipher.h"
#include "localization/message_table.h"
#include "platform/memory_settings_store.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace {

constexpr int kRecords = 100'000;

const std::vector<std::string> kLanguages = {
    "English",  "French",    "German",    "Spanish", "Italian", "Dutch",      "Portuguese", "Russian",
    "Arabic",   "Turkish",   "Polish",    "Greek",   "Swedish", "Danish",     "Finnish",    "Norwegian",
    "Czech",    "Hungarian", "Hindi",     "Bengali", "Urdu",    "Persian",    "Hebrew",     "Chinese",
    "Japanese", "Korean",    "Thai",      "Malay",   "Tagalog", "Vietnamese", "Romanian",   "Serbian",
    "Croatian", "Albanian",  "Ukrainian", "Music",   "News",    "Sports",     "Kids",       "Movies"};

// Every record in the given category, or a realistic mix (60% TV, 25% Radio,
// 10% Video, 5% XXX) when category is empty.
std::string generateCatalogue(const std::string& category) {
    static const char* kMix[] = {"TV", "TV", "TV",    "TV",    "TV",    "TV",    "TV",    "TV",    "TV",    "TV",
                                 "TV", "TV", "Radio", "Radio", "Radio", "Radio", "Radio", "Video", "Video", "XXX"};
    std::string out;
    out.reserve(static_cast<std::size_t>(kRecords) * 80);
    for (int i = 0; i < kRecords; ++i) {
        const std::size_t n = static_cast<std::size_t>(i);
        std::string languages = kLanguages[n % kLanguages.size()];
        if (i % 3 == 0) languages += "/" + kLanguages[(n * 7 + 3) % kLanguages.size()];
        if (i % 7 == 0) languages += "/" + kLanguages[(n * 13 + 5) % kLanguages.size()];
        const std::string cat = category.empty() ? kMix[n % 20] : category;
        const std::string line = "Channel " + std::to_string(i) + " Live|http://stream" + std::to_string(i % 500) +
                                 ".example.net/live/" + std::to_string(i) + "/playlist.m3u8|" + cat + "|" + languages;
        out += cd::catalogue::EncodeLine(line);
        out += "\r\n";
    }
    return out;
}

void runLoadCategory(benchmark::State& state, const std::string& fileCategory, const std::string& language,
                     bool refresh) {
    cd::test::TempDir dir;
    dir.write("Data.txt", generateCatalogue(fileCategory));
    cd::ui::Form1 form;
    cd::catalogue::NavigationState nav;
    cd::platform::MemorySettingsStore settings;
    cd::test::FakeDialogs dialogs;
    cd::localization::MessageTable messages(cd::platform::VersionInfo{"ChannelDeck", "", "", 1, 0, 0});
    cd::localization::addDefaultMessages(messages);
    cd::catalogue::CategoryView view(form, nav, settings, dialogs, messages, dir.path(), "ChannelDeck");
    for (auto _ : state) {
        nav.currentCategory = "TV";
        nav.currentLanguage = language;
        nav.languageRefresh = refresh;
        view.LoadCategory();
        benchmark::DoNotOptimize(form.ListView1->count());
    }
    if (!dialogs.shown.empty()) state.SkipWithError("LoadCategory failed");
    state.counters["rows"] = form.ListView1->count();
    state.counters["entries"] = static_cast<double>(form.Combo1->entries().size());
    state.counters["records"] = kRecords;
}

// A category switch to TV over the mixed catalogue: 60,000 rows listed.
void BM_LoadCategory_MixedCatalogue_TV_All(benchmark::State& state) { runLoadCategory(state, "", "All", true); }
// The worst case: every one of the 100,000 records is listed.
void BM_LoadCategory_AllRecordsListed(benchmark::State& state) { runLoadCategory(state, "TV", "All", true); }
// A language pick: filtered, no rebuild of the language box.
void BM_LoadCategory_MixedCatalogue_English(benchmark::State& state) { runLoadCategory(state, "", "English", false); }

}  // namespace

BENCHMARK(BM_LoadCategory_MixedCatalogue_TV_All)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCategory_AllRecordsListed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCategory_MixedCatalogue_English)->Unit(benchmark::kMillisecond);
