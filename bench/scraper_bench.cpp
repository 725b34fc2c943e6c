// Scraper throughput: parseVideoPage on a generated 1 MB listing page with
// 500 videos, the round trip through the scratch file included (the figure
// is bytes of page per second), and the same scrape from memory alone.
#include <benchmark/benchmark.h>

#include <string>

#include "formats/page_scraper.h"
#include "support/temp_dir.h"
#include "ui/list_view.h"
#include "videosite/video_rows.h"

namespace {

constexpr int kVideos = 500;
constexpr std::size_t kPageBytes = 1 << 20;

// One video's block as listing pages lay it out: a thumbnail link, a text
// link, and markup around them; padded with page furniture to reach 1 MB.
std::string generatedListingPage() {
    std::string page = "<!DOCTYPE html>\n<html><head><title>Featured</title></head><body><div id=\"main\">\n";
    const std::size_t perVideo = kPageBytes / kVideos;
    for (int i = 0; i < kVideos; ++i) {
        const std::string id = "vid" + std::to_string(100000 + i);
        std::string block = "<div class=\"video-entry\"><div class=\"thumb\"><a href=\"/watch?v=" + id +
                            "\"><img src=\"/vi/" + id +
                            "/default.jpg\" class=\"vimg\" alt=\"video\"></a></div>"
                            "<div class=\"title\"><a href=\"/watch?v=" +
                            id + "\">Video number " + std::to_string(i) +
                            " &amp; friends &quot;live&quot;</a></div>\n"
                            "<div class=\"meta\"><span class=\"views\">12,345 views</span> <span class=\"by\">"
                            "<a href=\"/user/someone" +
                            std::to_string(i) + "\">someone</a></span></div>\n";
        while (block.size() + 120 < perVideo)
            block += "<div class=\"spacer\"><span class=\"a\">text</span><b>more text</b><br/></div>\n";
        block += "</div>\n";
        page += block;
    }
    while (page.size() + 14 < kPageBytes) page += ' ';
    page += "</body></html>";
    return page;
}

void runScrape(benchmark::State& state, const std::filesystem::path& folder, bool expectScratch) {
    const std::string source = generatedListingPage();
    cd::formats::PageScraper scraper(folder);
    cd::ui::ListView list("ListView3");
    std::string page;
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        page = source;
        list.clear();
        state.ResumeTiming();
        rows = cd::videosite::AddVideoRows(scraper.parseVideoPage(page), list);
        benchmark::DoNotOptimize(rows);
    }
    if (rows != kVideos || scraper.lastUsedScratchFile() != expectScratch)
        state.SkipWithError("the scraper did not find every video the expected way");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(source.size()));
    state.counters["videos"] = rows;
    state.counters["page_bytes"] = static_cast<double>(source.size());
}

void BM_ParseVideoPage(benchmark::State& state) {
    cd::test::TempDir dir;
    runScrape(state, dir.path(), true);
}
BENCHMARK(BM_ParseVideoPage)->Unit(benchmark::kMillisecond);

// A folder that cannot be written: the in-memory path, for comparison.
void BM_ParseVideoPageInMemory(benchmark::State& state) {
    cd::test::TempDir dir;
    dir.write("file", "x");
    runScrape(state, dir / "file" / "program", false);
}
BENCHMARK(BM_ParseVideoPageInMemory)->Unit(benchmark::kMillisecond);

}  // namespace
