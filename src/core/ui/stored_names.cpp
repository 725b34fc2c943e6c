#include "ui/stored_names.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace cd::ui {

namespace {

constexpr std::array<StoredName, 117> kStoredNames{{
    {"Form1", "", "mainWindow", "the main window: categories, panels, player and menus"},
    {"Form1", "cmdTV", "tvButton", "shows the TV channels"},
    {"Form1", "cmdRadio", "radioButton", "shows the radio channels"},
    {"Form1", "cmdVideo", "videoButton", "shows the video channels"},
    {"Form1", "cmdFavorites", "favouritesButton", "shows the favourites panel"},
    {"Form1", "cmdYouTube", "videoSiteButton", "opens the video site tab"},
    {"Form1", "cmdFiles", "myFilesButton", "shows the local files panel"},
    {"Form1", "cmdSports", "sportsButton", "opens the sports listing (full edition)"},
    {"Form1", "cmdExtras", "extrasButton", "opens the website (full edition)"},
    {"Form1", "cmdXXX", "adultButton", "asks for consent, then shows the adult channels (full edition)"},
    {"Form1", "cmdWebsite", "websiteButton", "opens the product's website"},
    {"Form1", "Frame1", "channelPanel", "the channels panel"},
    {"Form1", "Label1", "languageLabel", "the caption of the language box"},
    {"Form1", "Combo1", "languageBox", "the language filter of the channel list"},
    {"Form1", "cmdFav", "channelActionsButton", "opens the channel actions menu"},
    {"Form1", "ListView1", "channelList", "the channels of the chosen category and language"},
    {"Form1", "txtChannelSearch", "channelSearch", "the search field above the channel list"},
    {"Form1", "Frame3", "favouritesPanel", "the favourites panel"},
    {"Form1", "ListView2", "favouritesList", "the user's favourites"},
    {"Form1", "txtFavoriteSearch", "favouriteSearch", "the search field above the favourites list"},
    {"Form1", "Command1", "removeFavouriteButton", "removes the selected favourite"},
    {"Form1", "Frame4", "filesPanel", "the local files panel"},
    {"Form1", "Drive1", "driveList", "the volumes to browse"},
    {"Form1", "Dir1", "folderList", "the folders of the chosen volume"},
    {"Form1", "File1", "fileList", "the media files of the chosen folder"},
    {"Form1", "Frame5", "videoSitePanel", "the video site panel"},
    {"Form1", "Label9", "videoKindLabel", "the caption of the listing kind box"},
    {"Form1", "Combo3", "videoKindBox", "the kind of video listing"},
    {"Form1", "txtSearch", "videoSearchText", "the video search text"},
    {"Form1", "cmdSearch", "videoSearchButton", "runs the video search"},
    {"Form1", "Combo4", "videoCountryBox", "the country of the listings, or the search mode"},
    {"Form1", "ListView3", "videoList", "the videos of a listing or search"},
    {"Form1", "txtStatus", "videoStatus", "the progress of a listing or search"},
    {"Form1", "Command4", "videoActionsButton", "opens the video actions menu"},
    {"Form1", "Frame2", "editorPanel", "the catalogue editor (editor mode only)"},
    {"Form1", "Label5", "editorInstructions", "how the editor is used"},
    {"Form1", "Label2", "addEntryLabel", "the caption of the add fields"},
    {"Form1", "txtAddName", "addNameText", "the name of a channel to add"},
    {"Form1", "txtAddType", "addLanguagesText", "the languages of a channel to add"},
    {"Form1", "txtAddURL", "addAddressText", "the address of a channel to add"},
    {"Form1", "cmbAddCategory", "addCategoryBox", "the category of a channel to add"},
    {"Form1", "cmdAdd", "addButton", "adds the channel to the list"},
    {"Form1", "Label3", "editEntryLabel", "the caption of the edit fields"},
    {"Form1", "txtEditName", "editNameText", "the name of the selected channel"},
    {"Form1", "txtEditType", "editLanguagesText", "the languages of the selected channel"},
    {"Form1", "txtEditURL", "editAddressText", "the address of the selected channel"},
    {"Form1", "cmbEditCateogy", "editCategoryBox", "the category of the selected channel"},
    {"Form1", "cmdEdit", "editButton", "applies the edit fields to the selected channel"},
    {"Form1", "Label4", "findReplaceLabel", "the caption of find and replace"},
    {"Form1", "Label6", "replaceLabel", "\"Replace\""},
    {"Form1", "Text2", "findText", "the text to find"},
    {"Form1", "Label7", "withLabel", "\"with\""},
    {"Form1", "Text3", "replaceWithText", "the text that replaces it"},
    {"Form1", "Label10", "inColumnLabel", "\"in column\""},
    {"Form1", "Combo2", "replaceColumnBox", "the column find and replace works on"},
    {"Form1", "cmdReplace", "replaceButton", "replaces in every row"},
    {"Form1", "doLoad", "decryptAndLoadButton", "loads the whole catalogue into the editor"},
    {"Form1", "save", "encryptAndSaveButton", "writes the edited catalogue to Data.htm"},
    {"Form1", "Clear", "clearListButton", "empties the list"},
    {"Form1", "DELChannel", "deleteChannelButton", "deletes the selected channel"},
    {"Form1", "cmdDupes", "removeDuplicatesButton", "removes rows with an address seen before"},
    {"Form1", "chkLoad", "dontLoadWhileEditingCheck", "clicks select rows without playing them"},
    {"Form1", "Command2", "closeEditorButton", "closes the editor panel"},
    {"Form1", "Label11", "exportLabel", "the caption of the export text"},
    {"Form1", "txtData", "exportText", "what Data.htm holds after a save"},
    {"Form1", "Label12", "keyLabel", "the caption of the import key"},
    {"Form1", "Text5", "keyText", "the key of a sectioned import"},
    {"Form1", "Label13", "importFileLabel", "the caption of the import file"},
    {"Form1", "Text1", "importFileText", "the sectioned text file to import"},
    {"Form1", "txtType", "importCategoryText", "the category of the imported rows"},
    {"Form1", "cmdLoad2", "importSectionedButton", "imports a sectioned text file"},
    {"Form1", "WindowsMediaPlayer1", "player", "the media player"},
    {"Form1", "wbyoutube", "videoPage", "the video player page"},
    {"Form1", "wbBanner", "banner", "the banner page"},
    {"Form1", "wbPicture", "bannerPicture", "the place the banner shares"},
    {"Form1", "imgOffline", "offlinePicture", "shown over the player for an offline channel"},
    {"Form1", "PlayerStatus", "playerStatus", "what a channel click is doing and how it ended"},
    {"Form1", "SkinLabel1", "skinLabel", "the skin labels (an array)"},
    {"Form1", "mnuFile", "fileMenu", "the File menu"},
    {"Form1", "mnuFileItem", "fileMenuItems",
     "its entries: download (0), separator (1), exit (2), import playlist (3), export the channel list (4) and the "
     "favourites (5) as playlists, separator (6)"},
    {"Form1", "mnuCat", "categoryMenu", "the Categories menu"},
    {"Form1", "mnuCatItem", "categoryMenuItems", "its entries, one per category button"},
    {"Form1", "mnuLanguage", "languageMenu", "the Language menu"},
    {"Form1", "mnuLanguageItem", "languageMenuItems", "its entry: the language window"},
    {"Form1", "mnuHelp", "helpMenu", "the Help menu"},
    {"Form1", "mnuHelpItem", "helpMenuItems", "its entry: the help document"},
    {"Form1", "mnuAboutItem", "aboutMenuItems", "its entry: the about window"},
    {"Form1", "mnuActions", "channelActionsMenu", "the channel actions pop-up menu"},
    {"Form1", "mnuActionItem", "channelActionItems", "add to favourites, separator, the five ratings"},
    {"Form1", "mnuActions2", "videoActionsMenu", "the video actions pop-up menu"},
    {"Form1", "mnuAction2Item", "videoActionItems", "add the video to the favourites"},
    {"frmLanguage", "", "languageWindow", "the language window"},
    {"frmLanguage", "Command3", "translateButton", "opens Localization.txt for translating"},
    {"frmLanguage", "Command2", "okButton", "closes the window"},
    {"frmLanguage", "Command1", "checkUpdatesButton", "downloads the newest Localization.txt"},
    {"frmLanguage", "Combo1", "languageBox", "the languages of Localization.txt"},
    {"frmLanguage", "Label1", "promptLabel", "asks the user to pick a language"},
    {"frmLanguage", "DownloadStatus", "downloadStatus", "the progress of the download"},
    {"frmSplash", "", "splashWindow", "the splash window, the program's first"},
    {"frmSplash", "skn", "skinHolder", "holds the skin object"},
    {"frmSplash", "Image1", "picture", "the splash picture"},
    {"frmSplash", "Label3", "tagline", "the promotional line"},
    {"frmSplash", "Timer2", "startTimer", "opens the main window on its 75th tick"},
    {"frmAbout", "", "aboutWindow", "the about window"},
    {"frmAbout", "Label1", "productLabel", "the product's name"},
    {"frmAbout", "lblVersion", "versionValue", "the version"},
    {"frmAbout", "lblCompany", "companyValue", "the company"},
    {"frmAbout", "lblWebsite", "websiteValue", "the website"},
    {"frmAbout", "Label2", "versionLabel", "\"Version:\""},
    {"frmAbout", "Label3", "ownerLabel", "\"Owned By:\""},
    {"frmAbout", "Label4", "websiteLabel", "\"Website:\""},
    {"frmAbout", "Label5", "copyrightLabel", "the copyright notice"},
    {"frmAbout", "Picture1", "picture", "the program's picture"},
    {"frmAbout", "SkinLabel1", "skinLabel", "the skin labels (an array)"},
    {"Form8", "", "helpWindow", "the help window (a parent for the help viewer)"},
    {"frmWebsite", "", "websiteWindow", "the website window, never shown"},
    {"frmWebsite", "Timer1", "openTimer", "unloads the window a second after it opened the website"},
}};

}  // namespace

std::span<const StoredName> storedNames() { return kStoredNames; }

std::string storedControlName(std::string_view window, std::string_view role) {
    for (const StoredName& n : kStoredNames)
        if (n.window == window && n.role == role && !n.control.empty()) return std::string(n.control);
    std::fprintf(stderr, "channeldeck: no stored name for %.*s %.*s\n", static_cast<int>(window.size()), window.data(),
                 static_cast<int>(role.size()), role.data());
    std::abort();
}

std::string storedWindowName(std::string_view role) {
    for (const StoredName& n : kStoredNames)
        if (n.control.empty() && n.role == role) return std::string(n.window);
    std::fprintf(stderr, "channeldeck: no stored name for window %.*s\n", static_cast<int>(role.size()), role.data());
    std::abort();
}

std::string storedNamesMarkdown() {
    std::string out = "| Window | Control | Role | Meaning |\n|---|---|---|---|\n";
    for (const StoredName& n : kStoredNames) {
        out += "| `";
        out += n.window;
        out += "` | ";
        if (!n.control.empty()) {
            out += '`';
            out += n.control;
            out += '`';
        }
        out += " | `";
        out += n.role;
        out += "` | ";
        out += n.meaning;
        out += " |\n";
    }
    return out;
}

}  // namespace cd::ui
