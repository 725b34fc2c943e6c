#pragma once
// The main window: category buttons, the four panels, the editor panel, the
// player and browser areas and the menus, with the built-in captions and
// start geometry (twips) the program starts from.
#include <vector>

#include "ui/combo_box.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/simple_controls.h"

namespace cd::ui {

class MainWindow : public Form {
public:
    MainWindow();

    // Client area at start, and the outer size the window opens with.
    static constexpr int kClientWidth = 15510;
    static constexpr int kClientHeight = 10125;

    // Category buttons.
    Control* tvButton;
    Control* radioButton;
    Control* videoButton;
    Control* favouritesButton;
    Control* videoSiteButton;
    Control* myFilesButton;
    Control* sportsButton;
    Control* extrasButton;
    Control* adultButton;
    Control* websiteButton;

    // Channels panel.
    Control* channelPanel;
    Control* languageLabel;  // "Type:" above the language box
    ComboBox* languageBox;
    Control* channelActionsButton;
    ListView* channelList;
    Control* channelSearch;

    // Favourites panel.
    Control* favouritesPanel;
    ListView* favouritesList;
    Control* favouriteSearch;
    Control* removeFavouriteButton;

    // Local files panel.
    Control* filesPanel;
    ListBox* driveList;
    ListBox* folderList;
    ListBox* fileList;

    // Video site panel.
    Control* videoSitePanel;
    Control* videoKindLabel;
    ComboBox* videoKindBox;
    Control* videoSearchText;
    Control* videoSearchButton;
    ComboBox* videoCountryBox;
    ListView* videoList;
    Control* videoStatus;
    Control* videoActionsButton;

    // Editor panel (shown only in editor mode).
    Control* editorPanel;
    Control* editorInstructions;  // instruction text
    Control* addEntryLabel;       // "Add an entry:"
    Control* addNameText;
    Control* addLanguagesText;
    Control* addAddressText;
    ComboBox* addCategoryBox;
    Control* addButton;
    Control* editEntryLabel;  // "Edit selected entry:"
    Control* editNameText;
    Control* editLanguagesText;
    Control* editAddressText;
    ComboBox* editCategoryBox;
    Control* editButton;
    Control* findReplaceLabel;  // "Find and replace:"
    Control* replaceLabel;      // "Replace"
    Control* findText;
    Control* withLabel;  // "with"
    Control* replaceWithText;
    Control* inColumnLabel;  // "in column"
    ComboBox* replaceColumnBox;
    Control* replaceButton;
    Control* decryptAndLoadButton;
    Control* encryptAndSaveButton;
    Control* clearListButton;
    Control* deleteChannelButton;
    Control* removeDuplicatesButton;
    CheckBox* dontLoadWhileEditingCheck;
    Control* closeEditorButton;
    Control* exportLabel;  // "Data.htm contents:"
    Control* exportText;
    Control* keyLabel;  // "Key:"
    Control* keyText;
    Control* importFileLabel;  // "Import file:"
    Control* importFileText;
    Control* importCategoryText;
    Control* importSectionedButton;

    // Player, browsers and pictures.
    Control* player;
    Control* videoPage;
    Control* banner;
    Control* bannerPicture;
    Control* offlinePicture;
    Control* playerStatus;  // the status line under the player
    Control* skinLabel;     // first member of the skin label array

    // Menus.
    Control* fileMenu;
    std::vector<Control*> fileMenuItems;  // download, its separator, Exit
    Control* downloadChannelListItem;     // fileMenuItems[0]
    Control* importPlaylistItem;
    Control* exportChannelsItem;
    Control* exportFavouritesItem;
    Control* categoryMenu;
    std::vector<Control*> categoryMenuItems;
    Control* languageMenu;
    std::vector<Control*> languageMenuItems;
    Control* helpMenu;
    std::vector<Control*> helpMenuItems;
    std::vector<Control*> aboutMenuItems;
    Control* channelActionsMenu;
    std::vector<Control*> channelActionItems;
    Control* videoActionsMenu;
    std::vector<Control*> videoActionItems;
};

}  // namespace cd::ui
