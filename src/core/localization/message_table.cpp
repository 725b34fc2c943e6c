#include "localization/message_table.h"

#include "localization/case_fold.h"
#include "util/text.h"

namespace cd::localization {

void MessageTable::setMessage(const std::string& key, const std::string& text) {
    for (auto& e : entries_) {
        if (e.inUse) continue;
        e = MessageEntry{key, text, true};
        return;
    }
}

std::string MessageTable::getMessages(const std::string& key) const {
    for (const auto& e : entries_) {
        if (e.inUse && equalsIgnoringCase(e.key, key)) {
            std::string text = util::ireplaceAll(e.text, "[ProgramName]", brand_.productName);
            text = util::ireplaceAll(text, "[CompanyName]", brand_.companyName);
            return raiseFirst(std::move(text));
        }
        if (!e.inUse) break;
    }
    return {};
}

void MessageTable::setText(int i, std::string text) {
    if (i < 0 || i >= kSize) return;
    entries_[static_cast<std::size_t>(i)].text = std::move(text);
}

void addDefaultMessages(MessageTable& table) {
    table.setMessage("MSG_CHANNELLIST", "The most recent channel list has been downloaded and applied.");
    table.setMessage("MSG_DELETED", "Deleted ");
    table.setMessage("MSG_NOTFOUND",
                     "TV Channel file was not found.  No channels could be loaded.  Please reinstall or repair "
                     "this program.");
    // Decided defaults: the language window looks these two up, and without a
    // text its caption and its download notice would be empty.
    table.setMessage("MSG_TITLELANGUAGE", "Language Selection");
    table.setMessage("MSG_DOWNLOADED",
                     "The newest language file has been downloaded. Choose a language from the list.");
    // Shown instead of the download notice when the downloaded file cannot
    // be saved, so a failed update is never reported as a success.
    table.setMessage("MSG_LANGUAGENOTSAVED",
                     "The language file could not be saved. The languages you had before are still available.");
}

}  // namespace cd::localization
