#pragma once
// youtube.html, the small local page the video browser shows: either the
// site's embedded player for one video, or a plain message.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/browser.h"
#include "platform/dialogs.h"

namespace cd::videosite {

inline constexpr const char* kVideoPageFileName = "youtube.html";
inline constexpr const char* kSelectVideoMessage = "Please select a video from the list to the left";

/// "&", "<", ">", '"' and "'" as character references, so page text can
/// never close a tag or an attribute.
std::string HtmlEscape(std::string_view text);

/// The player page's one line (without its line end) for a video: the
/// escaped title as heading over the site's HTML5 player, an iframe of
/// "http://" playerHost "/embed/" id (425 x 355); title, host and id are
/// HTML-escaped.
std::string PlayerPageLine(std::string_view title, std::string_view id, std::string_view playerHost);
/// The message page's one line (without its line end); the message is
/// inserted as it is.
std::string MessagePageLine(std::string_view message);

class VideoPage {
public:
    /// browser is the video browser (videoPage); dialogs and appTitle tell
    /// the user when a chosen video's page cannot be written.
    VideoPage(std::filesystem::path programFolder, platform::Browser& browser, std::string playerHost,
              platform::Dialogs& dialogs, std::string appTitle);

    /// Writes the player page for the video and shows it. When the page
    /// cannot be written the browser is left showing what it showed and a
    /// message box says why; returns false then.
    bool showVideoPage(const std::string& title, const std::string& id);
    /// Writes the placeholder message page and shows it; false (nothing
    /// shown) when it cannot be written. The caller decides whether to tell.
    bool writeMessagePage();

    const std::filesystem::path& path() const { return path_; }

private:
    bool writeAndShow(const std::string& line, std::string* error);

    std::filesystem::path path_;
    platform::Browser& browser_;
    std::string playerHost_;
    platform::Dialogs& dialogs_;
    std::string appTitle_;
};

}  // namespace cd::videosite
