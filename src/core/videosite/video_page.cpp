#include "videosite/video_page.h"

#include "util/files.h"
#include "util/html_escape.h"

namespace cd::videosite {

namespace {
constexpr std::string_view kPageStart = "<html><body bgcolor=black><center><font color=white><h1>";
constexpr std::string_view kAfterTitle = "</h1><br></font>";
constexpr std::string_view kPageEnd = "</center></body></html>";
constexpr std::string_view kWidth = "425";
constexpr std::string_view kHeight = "355";
}  // namespace

std::string HtmlEscape(std::string_view text) { return util::htmlEscape(text); }

std::string PlayerPageLine(std::string_view title, std::string_view id, std::string_view playerHost) {
    std::string line;
    line += kPageStart;
    line += HtmlEscape(title);
    line += kAfterTitle;
    line += "<iframe width='";
    line += kWidth;
    line += "' height='";
    line += kHeight;
    line += "' src='http://";
    line += HtmlEscape(playerHost);
    line += "/embed/";
    line += HtmlEscape(id);
    line += "' frameborder='0' allowfullscreen></iframe>";
    line += kPageEnd;
    return line;
}

std::string MessagePageLine(std::string_view message) {
    std::string line;
    line += kPageStart;
    line += message;
    line += kAfterTitle;
    line += kPageEnd;
    return line;
}

VideoPage::VideoPage(std::filesystem::path programFolder, platform::Browser& browser, std::string playerHost,
                     platform::Dialogs& dialogs, std::string appTitle)
    : path_(std::move(programFolder) / kVideoPageFileName),
      browser_(browser),
      playerHost_(std::move(playerHost)),
      dialogs_(dialogs),
      appTitle_(std::move(appTitle)) {}

bool VideoPage::writeAndShow(const std::string& line, std::string* error) {
    // Shown only once written: showing the old file would play the wrong video.
    if (!util::writeFileAtomic(path_, line + "\r\n", error)) return false;
    browser_.navigate2(path_.string());
    return true;
}

bool VideoPage::showVideoPage(const std::string& title, const std::string& id) {
    std::string error;
    if (writeAndShow(PlayerPageLine(title, id, playerHost_), &error)) return true;
    dialogs_.messageBox("The video page could not be written to the file " + path_.string() + " (" + error +
                            "), so the video cannot be shown.",
                        appTitle_, platform::Buttons::OK);
    return false;
}

bool VideoPage::writeMessagePage() { return writeAndShow(MessagePageLine(kSelectVideoMessage), nullptr); }

}  // namespace cd::videosite
