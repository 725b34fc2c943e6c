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

std::string MessageTable::getMessages(const std::string& key) const { return raiseFirst(fragment(key)); }

std::string MessageTable::fragment(const std::string& key) const {
    for (const auto& e : entries_) {
        if (e.inUse && equalsIgnoringCase(e.key, key)) {
            std::string text = util::ireplaceAll(e.text, "[ProgramName]", brand_.productName);
            return util::ireplaceAll(text, "[CompanyName]", brand_.companyName);
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
    addStatusMessages(table);
}

void addStatusMessages(MessageTable& table) {
    // The line under the player: what a channel click is doing and how it
    // ended, in words a user understands. %1 is the channel's name.
    table.setMessage("MSG_STATUS_CONNECTING", "Connecting to %1\xE2\x80\xA6");
    table.setMessage("MSG_STATUS_PLAYING", "Playing %1");
    // %2 is one of the reasons below.
    table.setMessage("MSG_STATUS_OFFLINE", "%1 is offline: %2.");
    table.setMessage("MSG_STATUS_NOTPLAYED", "%1 could not be played: %2.");
    table.setMessage("MSG_REASON_REFUSED", "the server refused the connection");
    table.setMessage("MSG_REASON_NOANSWER", "the server did not answer");
    table.setMessage("MSG_REASON_NOTFOUND", "the stream was not found");
    // %1 is the HTTP status number.
    table.setMessage("MSG_REASON_HTTPERROR", "the server answered with error %1");
    table.setMessage("MSG_REASON_CERTIFICATE", "the server's certificate is not trusted");
    table.setMessage("MSG_REASON_NOTSTREAM", "the address does not lead to a stream");
    table.setMessage("MSG_REASON_UNKNOWNHOST", "the server's name is unknown");
    table.setMessage("MSG_REASON_BADADDRESS", "the address is not one the player can open");
    table.setMessage("MSG_REASON_TOOLARGE", "the download is larger than allowed");
    table.setMessage("MSG_REASON_TOOSLOW", "the download was too slow");
    table.setMessage("MSG_REASON_BROKEN", "the connection broke off");
    table.setMessage("MSG_REASON_NOLANGUAGE", "it holds no language");
    // %1 is one of the reasons above.
    table.setMessage("MSG_LANGUAGENOTDOWNLOADED",
                     "No usable language file came back from the language server: %1. The languages you had "
                     "before are still available.");
    table.setMessage("MSG_REASON_UNREADABLE", "the file cannot be read");
    table.setMessage("MSG_PLAYLIST_IMPORT_TITLE", "Import Playlist");
    table.setMessage("MSG_PLAYLIST_EXPORT_TITLE", "Export Playlist");
    // %1: what was imported and skipped, as the tool prints it.
    table.setMessage("MSG_PLAYLIST_IMPORTED", "Playlist imported: %1.");
    // %1: why (a reason above, or the file's error).
    table.setMessage("MSG_PLAYLIST_NOTIMPORTED", "The playlist was not imported: %1. Your channels are as they were.");
    // %1: how many channels, %2: the file.
    table.setMessage("MSG_PLAYLIST_EXPORTED", "%1 channels were saved to %2.");
    table.setMessage("MSG_PLAYLIST_NOTEXPORTED", "The playlist was not saved: %1");
    // The channel list download; %1 of NOTDOWNLOADED is a reason, of
    // LISTDOWNLOAD the bytes so far, of DAMAGEDLINE a line number, of
    // NOTSAVED the system's words.
    table.setMessage("MSG_CHANNELLIST_NOTDOWNLOADED",
                     "The channel list was not downloaded: %1. Your channels are as they were.");
    table.setMessage("MSG_CHANNELLIST_UNCHANGED", "The channel list has not changed since your last download.");
    table.setMessage("MSG_CHANNELLIST_LEFTOUT",
                     "%1 channels of the list cannot be stored by this program and were left out.");
    table.setMessage("MSG_STATUS_LISTDOWNLOAD", "Downloading the channel list: %1 bytes");
    table.setMessage("MSG_REASON_NOTCHANNELLIST", "the server's answer is not a channel list");
    table.setMessage("MSG_REASON_CUTOFF", "the channel list is cut off");
    table.setMessage("MSG_REASON_DAMAGEDLINE", "line %1 of the channel list is damaged");
    table.setMessage("MSG_REASON_NOCHANNEL", "the channel list holds no channel");
    table.setMessage("MSG_REASON_NOTSAVED", "the channel file could not be saved (%1)");
    // The main window's caption and website button; %1 is the website.
    table.setMessage("MSG_MAINCAPTION", "[ProgramName] by [CompanyName]");
    table.setMessage("MSG_VISITWEBSITE", "Visit %1");
    // The words on the offline picture.
    table.setMessage("MSG_OFFLINEPICTURE", "Channel offline");
    // %1 is the page's address.
    table.setMessage("MSG_PAGENOTOPENED",
                     "The page %1 could not be opened: this desktop has no program set up to open web pages.");
    // What the status line says while a channel plays and when it stops.
    // %1 is the channel's name, %2 the title the station sends.
    table.setMessage("MSG_STATUS_PLAYINGTITLE", "Playing %1: %2");
    // %2 is the number of the try, %3 how many there are.
    table.setMessage("MSG_STATUS_RECONNECTING", "Reconnecting to %1\xE2\x80\xA6 (try %2 of %3)");
    // %2 is the player's reason, or the one below.
    table.setMessage("MSG_STATUS_STOPPED", "%1 stopped: %2.");
    table.setMessage("MSG_STATUS_USERSTOPPED", "%1 stopped.");
    table.setMessage("MSG_REASON_STREAMENDED", "the stream ended");
    // The player's own box for a medium it cannot open (a local file that
    // is no medium, a stream that refuses). %1 is the file or address, %2
    // one of the reasons after it.
    table.setMessage("MSG_PLAYER_TITLE", "Media Player");
    table.setMessage("MSG_PLAYER_CANNOTPLAY", "The medium %1 cannot be played: %2.");
    table.setMessage("MSG_REASON_UNKNOWNFORMAT", "it is in no format the player knows");
    table.setMessage("MSG_REASON_NOTOPENED", "it could not be opened");
    table.setMessage("MSG_REASON_NOTHINGTOPLAY", "it holds no sound or picture the player can play");
    table.setMessage("MSG_REASON_NOOUTPUT", "the sound or picture output could not be started");
    table.setMessage("MSG_REASON_PLAYERFAILED", "the player stopped with an error");
}

}  // namespace cd::localization
