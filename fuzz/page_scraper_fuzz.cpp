// The video site's page scraper: parseVideoPage through its scratch file,
// checked against the same page scraped in memory, which must find the very
// same videos.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "formats/page_scraper.h"
#include "fuzz_support.h"

using namespace cd;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::asText(data, size);

    std::string page(input);
    formats::PageScraper scraper(fuzz::ScratchFolder::path());
    const auto viaFile = scraper.parseVideoPage(page);
    CD_FUZZ_CHECK(scraper.lastUsedScratchFile());
    CD_FUZZ_CHECK(!std::filesystem::exists(scraper.scratchFile()));

    // The scratch file's round trip may end the last line; the videos found
    // must not differ.
    std::string lines(input);
    formats::SplitTagsIntoLines(lines);
    const auto inMemory = formats::ScrapeVideoLines(lines);
    CD_FUZZ_CHECK(viaFile == inMemory);
    for (const auto& video : viaFile) {
        // A title ends before the next tag and is never empty.
        CD_FUZZ_CHECK(!video.title.empty());
        CD_FUZZ_CHECK(video.title.find('<') == std::string::npos);
        CD_FUZZ_CHECK(video.title.find('\r') == std::string::npos);
    }
    return 0;
}
