// Video site commands: scrape a saved listing or search page the way the
// video tab does, and write the player page of one video.
#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "formats/page_scraper.h"
#include "platform/browser.h"
#include "platform/dialogs.h"
#include "tool/command.h"
#include "tool/stderr_dialogs.h"
#include "ui/list_view.h"
#include "util/files.h"
#include "videosite/video_page.h"
#include "videosite/video_rows.h"

namespace cd::tool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kScrapeUsage = "scrape PAGE";
constexpr const char* kVideoPageUsage = "video-page TITLE ID DIR";

// The tool shows no page; it only writes it.
class NoBrowser : public platform::Browser {
public:
    void navigate(const std::string&) override {}
    void navigate2(const std::string&) override {}
};

// A title may hold LF (titles are not trimmed); written raw it would break
// the one-row-per-line output, so line ends, tabs and the backslash are
// written as escapes.
std::string escapedField(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// A private scratch folder, so the scrape never touches a youtube.tmp of a
// real program folder.
class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code ec;
        std::string pattern = (fs::temp_directory_path(ec) / "channeldeck-scrape-XXXXXX").string();
        if (ec) pattern = "/tmp/channeldeck-scrape-XXXXXX";
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

int runScrape(ToolContext& ctx) {
    if (ctx.args.size() != 1) return usageError(ctx, kScrapeUsage, "expected one saved page");
    const auto page = util::readFile(ctx.args[0]);
    if (!page) {
        ctx.err << "channeldeck-tool: cannot read the page '" << ctx.args[0] << "'\n";
        return kFailed;
    }
    // Without a scratch folder the scraper falls back to memory, as it does
    // in a read-only program folder.
    ScratchFolder scratch;
    formats::PageScraper scraper(scratch.path().empty() ? fs::path("/nonexistent") : scratch.path());
    ui::ListView list("ListView3");
    std::string text = *page;
    videosite::AddVideoRows(scraper.parseVideoPage(text), list);
    std::string out;
    for (int i = 0; i < list.count(); ++i) {
        out += escapedField(list.item(i).key);
        out += '\t';
        out += escapedField(list.item(i).text);
        out += '\n';
    }
    ctx.out.write(out.data(), static_cast<std::streamsize>(out.size()));
    ctx.out.flush();
    return ctx.out ? kOk : kFailed;
}

int runVideoPage(ToolContext& ctx) {
    if (ctx.args.size() != 3) return usageError(ctx, kVideoPageUsage, "expected a title, a video id and a folder");
    const fs::path dir = ctx.args[2];
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        ctx.err << "channeldeck-tool: '" << ctx.args[2] << "' is not a folder\n";
        return kFailed;
    }
    NoBrowser browser;
    StderrDialogs dialogs(ctx.err);
    videosite::VideoPage page(dir, browser, ctx.config.hosts.videoPlayer, dialogs, "channeldeck-tool");
    if (!page.showVideoPage(ctx.args[0], ctx.args[1])) return kFailed;
    ctx.out << page.path().string() << "\n";
    return kOk;
}

const ToolCommandRegistration kScrape{
    {"scrape", kScrapeUsage,
     "print the videos of a saved listing or search page, one 'ID<TAB>TITLE' per line (\\n, \\r, \\t, \\\\ "
     "escaped)",
     &runScrape}};
const ToolCommandRegistration kVideoPage{
    {"video-page", kVideoPageUsage,
     "write DIR/youtube.html, the player page of one video (player host from --video-player-host)", &runVideoPage}};

}  // namespace
}  // namespace cd::tool
