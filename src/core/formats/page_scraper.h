#pragma once
// The scraper of the video site's listing and search pages: every text link
// to "/watch?..." becomes a row of the video list, keyed by the video id.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "ui/list_view.h"

namespace cd::videosite {

/// The scratch file a page passes through, in the program's folder.
inline constexpr const char* kScratchFileName = "youtube.tmp";

struct VideoLink {
    std::string id;
    std::string title;
};

/// Puts every opening tag at the start of a line: "<" becomes CR LF "<",
/// except in "</", so a closing tag stays on the line of the text before it.
void SplitTagsIntoLines(std::string& page);

/// The video link one line holds, if it has the expected shape: the line
/// contains `<a href="/watch?` (any letter case), its text up to the next
/// "<" is not empty, and its first quoted attribute gives the id. The
/// title has "&amp;" and "&quot;" decoded; the id is not decoded.
std::optional<VideoLink> ParseVideoLine(std::string_view line);

/// Adds a row for every video link among the lines of text (lines end at
/// CR, an LF right after the CR belongs to the line end); a key the list
/// already holds is skipped. Returns the number of rows added.
int ScrapeVideoLines(std::string_view text, ui::ListView& list);

class PageScraper {
public:
    explicit PageScraper(std::filesystem::path programFolder);

    /// parseVideoPage: splits the page into tag lines (page is overwritten
    /// with that working copy), passes it through the scratch file and adds
    /// the videos found to list. When the scratch file cannot be written or
    /// read back, the same lines are scraped from memory. Returns the number
    /// of rows added.
    int parseVideoPage(std::string& page, ui::ListView& list);

    /// Whether the last page went through the scratch file.
    bool lastUsedScratchFile() const { return lastUsedScratchFile_; }
    const std::filesystem::path& scratchFile() const { return scratch_; }

private:
    std::optional<std::string> roundTrip(const std::string& text) const;

    std::filesystem::path scratch_;
    bool lastUsedScratchFile_ = false;
};

}  // namespace cd::videosite
