#pragma once
// The scraper of the video site's listing and search pages: every text link
// to "/watch?..." is a video, named by its id.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/video.h"

namespace cd::formats {

/// The scratch file a page passes through, in the program's folder.
inline constexpr const char* kScratchFileName = "youtube.tmp";

/// Puts every opening tag at the start of a line: "<" becomes CR LF "<",
/// except in "</", so a closing tag stays on the line of the text before it.
void SplitTagsIntoLines(std::string& page);

/// The video link one line holds, if it has the expected shape: the line
/// contains `<a href="/watch?` (any letter case), its text up to the next
/// "<" is not empty, and its first quoted attribute gives the id. The
/// title has "&amp;" and "&quot;" decoded; the id is not decoded.
std::optional<Video> ParseVideoLine(std::string_view line);

/// Every video link among the lines of text, in page order (lines end at
/// CR, an LF right after the CR belongs to the line end). An id may come
/// more than once: a page links a video from its picture and its title.
std::vector<Video> ScrapeVideoLines(std::string_view text);

class PageScraper {
public:
    explicit PageScraper(std::filesystem::path programFolder);

    /// parseVideoPage: splits the page into tag lines (page is overwritten
    /// with that working copy), passes it through the scratch file and
    /// returns the videos found, in page order. When the scratch file cannot
    /// be written or read back, the same lines are scraped from memory.
    std::vector<Video> parseVideoPage(std::string& page);

    /// Whether the last page went through the scratch file.
    bool lastUsedScratchFile() const { return lastUsedScratchFile_; }
    const std::filesystem::path& scratchFile() const { return scratch_; }

private:
    std::optional<std::string> roundTrip(const std::string& text) const;

    std::filesystem::path scratch_;
    bool lastUsedScratchFile_ = false;
};

}  // namespace cd::formats
