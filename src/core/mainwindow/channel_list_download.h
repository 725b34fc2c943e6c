#pragma once
// File > "Download Most Recent Channel List": the owner's published list
// replaces Data.txt (catalogue::downloadChannelList), the list shown is
// refreshed, and the user is told how it went. The menu entry is disabled
// while a download runs, and the status line counts the bytes.
#include <filesystem>
#include <string>

#include "catalogue/catalogue_download.h"
#include "catalogue/category_view.h"
#include "catalogue/navigation_state.h"
#include "fetch/fetcher.h"
#include "localization/message_table.h"
#include "platform/dialogs.h"
#include "ui/main_window.h"
#include "util/task.h"

namespace cd::mainwindow {

class ChannelListDownload {
public:
    ChannelListDownload(ui::MainWindow& form, catalogue::NavigationState& state, catalogue::CategoryView& categories,
                        platform::Dialogs& dialogs, fetch::Fetcher& fetcher, const localization::MessageTable& messages,
                        std::string address, std::filesystem::path programFolder, std::string appTitle);

    void start();
    bool running() const { return task_.running(); }

private:
    util::Task<> download();
    std::string whyNot(const catalogue::DownloadResult& result) const;

    ui::MainWindow& form_;
    catalogue::NavigationState& state_;
    catalogue::CategoryView& categories_;
    platform::Dialogs& dialogs_;
    fetch::Fetcher& fetcher_;
    const localization::MessageTable& messages_;
    std::string address_;
    std::filesystem::path folder_;
    std::string appTitle_;
    util::TaskSlot task_;
};

}  // namespace cd::mainwindow
