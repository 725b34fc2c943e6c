// Line cipher and catalogue load throughput: DecodeLine over catalogue-sized
// lines, and Decrypt and Load of a generated 100,000-record Data.txt into the
// channel list (the figure is bytes of file per second).
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/line_cipher.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"
#include "util/files.h"

namespace {

using cd::catalogue::DecodeLine;
using cd::catalogue::DecodeLineInto;
using cd::catalogue::EncodeLine;

std::string randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng() & 0xff);
    return s;
}

// A catalogue line is roughly 100 bytes; 4 KiB shows the loop's own ceiling.
void BM_DecodeLine(benchmark::State& state) {
    const std::string coded = EncodeLine(randomBytes(static_cast<std::size_t>(state.range(0)), 1));
    std::string out;
    for (auto _ : state) {
        DecodeLineInto(coded, out);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_DecodeLine)->Arg(100)->Arg(4096);

void BM_DecodeLineFresh(benchmark::State& state) {
    const std::string coded = EncodeLine(randomBytes(static_cast<std::size_t>(state.range(0)), 2));
    for (auto _ : state) benchmark::DoNotOptimize(DecodeLine(coded));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_DecodeLineFresh)->Arg(100);

void BM_EncodeLine(benchmark::State& state) {
    const std::string plain = randomBytes(static_cast<std::size_t>(state.range(0)), 3);
    for (auto _ : state) benchmark::DoNotOptimize(EncodeLine(plain));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_EncodeLine)->Arg(4096);

std::string generatedCatalogue(int records) {
    static const char* const categories[] = {"TV", "Radio", "Video", "XXX"};
    static const char* const languages[] = {"English", "German", "French/English", "Spanish", "Dutch"};
    std::mt19937 rng(4);
    std::string text;
    for (int i = 0; i < records; ++i) {
        const std::string line = "Channel number " + std::to_string(i) + "|http://stream" +
                                 std::to_string(rng() % 997) + ".example.org/live/" + std::to_string(i) +
                                 "/index.m3u8|" + categories[i % 4] + "|" + languages[rng() % 5];
        text += EncodeLine(line);
        text += "\r\n";
    }
    return text;
}

void BM_DecryptAndLoad100k(benchmark::State& state) {
    cd::test::TempDir dir;
    const std::string text = generatedCatalogue(100000);
    cd::util::writeFileAtomic(dir / "Data.txt", text);
    cd::ui::MainWindow form;
    cd::test::FakeDialogs dialogs;
    cd::catalogue::CatalogueFile file(form, dialogs, dir.path(), "ChannelDeck");
    for (auto _ : state) {
        state.PauseTiming();
        form.channelList->clear();
        state.ResumeTiming();
        const auto outcome = file.DecryptAndLoad();
        if (outcome.rowsAdded != 100000) state.SkipWithError("not every record loaded");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["records"] = 100000;
    state.counters["file_MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_DecryptAndLoad100k)->Unit(benchmark::kMillisecond);

}  // namespace
