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

class Form1 : public Form {
public:
    Form1();

    // Client area at start, and the outer size the window opens with.
    static constexpr int kClientWidth = 15510;
    static constexpr int kClientHeight = 10125;

    // Category buttons.
    Control* cmdTV;
    Control* cmdRadio;
    Control* cmdVideo;
    Control* cmdFavorites;
    Control* cmdYouTube;
    Control* cmdFiles;
    Control* cmdSports;
    Control* cmdExtras;
    Control* cmdXXX;
    Control* cmdWebsite;

    // Channels panel.
    Control* Frame1;
    Control* Label1;  // "Type:" above the language box
    ComboBox* Combo1;
    Control* cmdFav;
    ListView* ListView1;

    // Favourites panel.
    Control* Frame3;
    ListView* ListView2;
    Control* Command1;

    // Local files panel.
    Control* Frame4;
    ListBox* Drive1;
    ListBox* Dir1;
    ListBox* File1;

    // Video site panel.
    Control* Frame5;
    Control* Label9;
    ComboBox* Combo3;
    Control* txtSearch;
    Control* cmdSearch;
    ComboBox* Combo4;
    ListView* ListView3;
    Control* txtStatus;
    Control* Command4;

    // Editor panel (shown only in editor mode).
    Control* Frame2;
    Control* Label5;  // instruction text
    Control* Label2;  // "Add an entry:"
    Control* txtAddName;
    Control* txtAddType;
    Control* txtAddURL;
    ComboBox* cmbAddCategory;
    Control* cmdAdd;
    Control* Label3;  // "Edit selected entry:"
    Control* txtEditName;
    Control* txtEditType;
    Control* txtEditURL;
    ComboBox* cmbEditCateogy;
    Control* cmdEdit;
    Control* Label4;  // "Find and replace:"
    Control* Label6;  // "Replace"
    Control* Text2;
    Control* Label7;  // "with"
    Control* Text3;
    Control* Label10;  // "in column"
    ComboBox* Combo2;
    Control* cmdReplace;
    Control* doLoad;
    Control* save;
    Control* Clear;
    Control* DELChannel;
    Control* cmdDupes;
    CheckBox* chkLoad;
    Control* Command2;
    Control* Label11;  // "Data.htm contents:"
    Control* txtData;
    Control* Label12;  // "Key:"
    Control* Text5;
    Control* Label13;  // "Import file:"
    Control* Text1;
    Control* txtType;
    Control* cmdLoad2;

    // Player, browsers and pictures.
    Control* WindowsMediaPlayer1;
    Control* wbyoutube;
    Control* wbBanner;
    Control* wbPicture;
    Control* imgOffline;
    Control* PlayerStatus;  // the status line under the player
    Control* SkinLabel1;    // first member of the skin label array

    // Menus.
    Control* mnuFile;
    std::vector<Control*> mnuFileItem;
    Control* mnuCat;
    std::vector<Control*> mnuCatItem;
    Control* mnuLanguage;
    std::vector<Control*> mnuLanguageItem;
    Control* mnuHelp;
    std::vector<Control*> mnuHelpItem;
    std::vector<Control*> mnuAboutItem;
    Control* mnuActions;
    std::vector<Control*> mnuActionItem;
    Control* mnuActions2;
    std::vector<Control*> mnuAction2Item;
};

}  // namespace cd::ui
