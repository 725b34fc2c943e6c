#include "mainwindow/channel_list_download.h"

#include "localization/fetch_error_text.h"
#include "util/text.h"

namespace cd::mainwindow {

ChannelListDownload::ChannelListDownload(ui::MainWindow& form, catalogue::NavigationState& state,
                                         catalogue::CategoryView& categories, platform::Dialogs& dialogs,
                                         fetch::Fetcher& fetcher, const localization::MessageTable& messages,
                                         std::string address, std::filesystem::path programFolder, std::string appTitle)
    : form_(form),
      state_(state),
      categories_(categories),
      dialogs_(dialogs),
      fetcher_(fetcher),
      messages_(messages),
      address_(std::move(address)),
      folder_(std::move(programFolder)),
      appTitle_(std::move(appTitle)) {
    form_.downloadChannelListItem->clicked.connect([this] { start(); });
}

void ChannelListDownload::start() {
    if (running()) return;
    task_.start(download());
}

util::Task<> ChannelListDownload::download() {
    ui::Control& item = *form_.downloadChannelListItem;
    ui::Control& status = *form_.playerStatus;
    item.setEnabled(false);
    // The status line is the player's; it gets back what it said once the
    // download is over, unless the player has said something new meanwhile.
    const std::string before = status.caption();
    std::string shown = util::fillPlaceholders(messages_.getMessages("MSG_STATUS_LISTDOWNLOAD"), {"0"});
    status.setCaption(shown);
    const auto progress = [this, &status, &shown](std::size_t bytes) {
        if (status.caption() != shown) return;
        shown = util::fillPlaceholders(messages_.getMessages("MSG_STATUS_LISTDOWNLOAD"),
                                       {util::decimal(static_cast<long long>(bytes))});
        status.setCaption(shown);
    };
    const catalogue::DownloadResult result =
        co_await catalogue::downloadChannelList(fetcher_, address_, folder_ / "Data.txt", progress);
    if (status.caption() == shown) status.setCaption(before);
    item.setEnabled(true);

    using catalogue::DownloadOutcome;
    std::string text;
    if (result.outcome == DownloadOutcome::Replaced) {
        // The editor's rows are the owner's unsaved work: they stay, and a
        // Decrypt and Load shows the new list.
        if (!state_.editorMode) {
            state_.languageRefresh = true;
            categories_.LoadCategory();
        }
        text = messages_.getMessages("MSG_CHANNELLIST");
        if (result.leftOut > 0)
            text += "\n\n" + util::fillPlaceholders(messages_.getMessages("MSG_CHANNELLIST_LEFTOUT"),
                                                    {util::decimal(static_cast<long long>(result.leftOut))});
    } else if (result.outcome == DownloadOutcome::Unchanged) {
        text = messages_.getMessages("MSG_CHANNELLIST_UNCHANGED");
    } else {
        text = util::fillPlaceholders(messages_.getMessages("MSG_CHANNELLIST_NOTDOWNLOADED"), {whyNot(result)});
    }
    dialogs_.messageBox(text, appTitle_, platform::Buttons::OK);
}

std::string ChannelListDownload::whyNot(const catalogue::DownloadResult& result) const {
    using catalogue::DownloadOutcome;
    using formats::ExportProblem;
    switch (result.outcome) {
        case DownloadOutcome::NotFetched:
            return localization::fetchErrorText(messages_, result.fetchError);
        case DownloadOutcome::HttpError:
            return util::fillPlaceholders(messages_.fragment("MSG_REASON_HTTPERROR"),
                                          {util::decimal(result.httpStatus)});
        case DownloadOutcome::NotWritten:
            return util::fillPlaceholders(messages_.fragment("MSG_REASON_NOTSAVED"), {result.writeError});
        case DownloadOutcome::NotAChannelList:
            switch (result.check.problem) {
                case ExportProblem::TooLarge:
                    return messages_.fragment("MSG_REASON_TOOLARGE");
                case ExportProblem::NoEndLine:
                    return messages_.fragment("MSG_REASON_CUTOFF");
                case ExportProblem::NoRecord:
                    return messages_.fragment("MSG_REASON_NOCHANNEL");
                case ExportProblem::LineTooLong:
                case ExportProblem::NotARecord:
                    return util::fillPlaceholders(messages_.fragment("MSG_REASON_DAMAGEDLINE"),
                                                  {util::decimal(static_cast<long long>(result.check.line))});
                default:
                    return messages_.fragment("MSG_REASON_NOTCHANNELLIST");
            }
        default:
            return {};
    }
}

}  // namespace cd::mainwindow
