// The video site's page scraper: parseVideoPage through its scratch file,
// checked against the same page scraped in memory, which must list the very
// same videos.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "ui/list_view.h"
#include "videosite/page_scraper.h"

namespace {

using namespace cd;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::asText(data, size);

    std::string page(input);
    ui::ListView viaFile("ListView3");
    videosite::PageScraper scraper(fuzz::ScratchFolder::path());
    const int added = scraper.parseVideoPage(page, viaFile);
    CD_FUZZ_CHECK(scraper.lastUsedScratchFile());
    CD_FUZZ_CHECK(added == viaFile.count());
    CD_FUZZ_CHECK(!std::filesystem::exists(scraper.scratchFile()));

    std::string lines(input);
    videosite::SplitTagsIntoLines(lines);
    ui::ListView inMemory("ListView3");
    CD_FUZZ_CHECK(videosite::ScrapeVideoLines(lines, inMemory) == added);
    int withoutKey = 0;
    for (int i = 0; i < added; ++i) {
        const auto& row = viaFile.item(i);
        CD_FUZZ_CHECK(row.key == inMemory.item(i).key);
        CD_FUZZ_CHECK(row.text == inMemory.item(i).text);
        // A title ends before the next tag and is never empty.
        CD_FUZZ_CHECK(!row.text.empty());
        if (row.key.empty()) ++withoutKey;
        CD_FUZZ_CHECK(row.text.find('<') == std::string::npos);
        CD_FUZZ_CHECK(row.text.find('\r') == std::string::npos);
    }

    // Scraping the page again into the same list adds only the links without
    // an id: the list refuses a key it holds, and an empty key is no key.
    CD_FUZZ_CHECK(videosite::ScrapeVideoLines(lines, inMemory) == withoutKey);
    return 0;
}
