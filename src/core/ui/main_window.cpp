#include "ui/main_window.h"

#include <memory>

namespace cd::ui {

namespace {
// The Windows "YouTube" caption carried the trade mark sign; kept in UTF-8.
const char* const kYouTube = "YouTube\xE2\x84\xA2";
constexpr int kButtonWidth = 1275;
constexpr int kButtonHeight = 915;
constexpr int kButtonTop = 60;
}  // namespace

MainWindow::MainWindow() : Form("Form1", "ChannelDeck") {
    resize(kClientWidth + 240, kClientHeight + 810);

    auto button = [&](const char* name, const char* caption, int left, bool visible = true) {
        return &addPlain("CommandButton", name, caption, {}, {left, kButtonTop, kButtonWidth, kButtonHeight},
                         std::nullopt, visible);
    };
    // One row; the three edition buttons sit after My Files so no button
    // covers another in either edition.
    tvButton = button("cmdTV", "TV", 60);
    radioButton = button("cmdRadio", "Radio", 1380);
    videoButton = button("cmdVideo", "Video", 2700);
    favouritesButton = button("cmdFavorites", "Favorites", 4020);
    videoSiteButton = button("cmdYouTube", kYouTube, 5340);
    myFilesButton = button("cmdFiles", "My Files", 6660);
    sportsButton = button("cmdSports", "Live Sports", 7980, false);
    extrasButton = button("cmdExtras", "Extras", 9300, false);
    adultButton = button("cmdXXX", "Adult", 10620, false);
    websiteButton = &addPlain("CommandButton", "cmdWebsite", "Visit", {}, {7980, kButtonTop, 2775, kButtonHeight});

    const Geometry panel{60, 1020, 5235, 8175};
    channelPanel = &addPlain("Frame", "Frame1", "Channels", {}, panel);
    languageLabel = &addPlain("Label", "Label1", "Type:", "Frame1", {180, 240, 1500, 225});
    languageBox = &place(std::make_unique<ComboBox>("Combo1"), "Frame1", {180, 480, 3315, 315});
    languageBox->setTextKind(TextKind::CodePage);
    channelActionsButton = &addPlain("CommandButton", "cmdFav", "Channel Actions", "Frame1", {3540, 180, 1575, 615});
    channelList = &place(std::make_unique<ListView>("ListView1"), "Frame1", {180, 900, 4935, 3795});
    for (const char* c : {"Channel", "Category", "Type", "Rating", "Favorites", "Updated", "Last Online"})
        channelList->addColumn(c);

    favouritesPanel = &addPlain("Frame", "Frame3", "Favorites", {}, panel, std::nullopt, false);
    favouritesList = &place(std::make_unique<ListView>("ListView2"), "Frame3", {180, 900, 4935, 3795});
    for (const char* c : {"Channel", "Category", "Type"}) favouritesList->addColumn(c);
    removeFavouriteButton = &addPlain("CommandButton", "Command1", "Remove from Favorites", "Frame3", {2760, 180, 2355, 615});

    filesPanel = &addPlain("Frame", "Frame4", "My Files", {}, panel, std::nullopt, false);
    driveList = &place(std::make_unique<ListBox>("DriveListBox", "Drive1"), "Frame4", {120, 240, 4995, 315});
    folderList = &place(std::make_unique<ListBox>("DirListBox", "Dir1"), "Frame4", {120, 660, 4995, 2340});
    fileList = &place(std::make_unique<ListBox>("FileListBox", "File1"), "Frame4", {120, 3060, 4995, 3405});

    videoSitePanel = &addPlain("Frame", "Frame5", kYouTube, {}, panel, std::nullopt, false);
    videoKindLabel = &addPlain("Label", "Label9", "Type:", "Frame5", {180, 240, 1500, 225});
    videoKindBox = &place(std::make_unique<ComboBox>("Combo3"), "Frame5", {180, 480, 3315, 315});
    videoKindBox->setText("Featured");
    videoSearchText = &addPlain("TextBox", "txtSearch", "", "Frame5", {180, 480, 2475, 315}, std::nullopt, false);
    videoSearchText->setText("Enter search here");
    videoSearchButton = &addPlain("CommandButton", "cmdSearch", "Search", "Frame5", {2700, 480, 795, 315}, std::nullopt, false);
    videoCountryBox = &place(std::make_unique<ComboBox>("Combo4"), "Frame5", {180, 780, 3315, 315});
    videoCountryBox->setText("United States");
    videoList = &place(std::make_unique<ListView>("ListView3"), "Frame5", {180, 1140, 4935, 3555});
    videoList->addColumn("Channel");
    videoStatus = &addPlain("TextBox", "txtStatus", "", "Frame5", {180, 7800, 4875, 285});
    videoActionsButton = &addPlain("CommandButton", "Command4", "Channel Actions", "Frame5", {3540, 480, 1575, 615});

    editorPanel = &addPlain("Frame", "Frame2", "List Editing", {}, {5520, 1020, 9570, 8175}, std::nullopt, false);
    auto edLabel = [&](const char* name, const char* caption, Geometry g) {
        return &addPlain("Label", name, caption, "Frame2", g);
    };
    auto edText = [&](const char* name, const char* text, Geometry g) {
        Control* c = &addPlain("TextBox", name, "", "Frame2", g);
        c->setText(text);
        c->setTextKind(TextKind::CodePage);
        return c;
    };
    auto edButton = [&](const char* name, const char* caption, Geometry g) {
        return &addPlain("CommandButton", name, caption, "Frame2", g);
    };
    auto categoryBox = [&](const char* name, Geometry g) {
        ComboBox* box = &place(std::make_unique<ComboBox>(name), "Frame2", g);
        for (const char* c : {"TV", "Radio", "Video", "XXX"}) box->addItem(c);
        box->setText("TV");
        box->setTextKind(TextKind::CodePage);
        return box;
    };
    editorInstructions = edLabel("Label5",
                     "First clear the existing list.  Then click Decrypt and Load.  This will load ALL categories "
                     "(TV, Radio, Video and XXX).  Edit the list.  When you are done click Encrypt and Save.  "
                     "Data.htm will be saved in the program directory.  Upload it to your webserver and click "
                     "File > Download.  This will update your list within the program.",
                     {120, 240, 9240, 660});
    addEntryLabel = edLabel("Label2", "Add an entry:", {120, 960, 2400, 225});
    addNameText = edText("txtAddName", "Name", {120, 1200, 2400, 315});
    addLanguagesText = edText("txtAddType", "Language/Type", {2580, 1200, 1800, 315});
    addAddressText = edText("txtAddURL", "URL", {4440, 1200, 2800, 315});
    addCategoryBox = categoryBox("cmbAddCategory", {7300, 1200, 1100, 315});
    addButton = edButton("cmdAdd", "Add", {8460, 1200, 900, 315});
    editEntryLabel = edLabel("Label3", "Edit selected entry:", {120, 1620, 2400, 225});
    editNameText = edText("txtEditName", "Name", {120, 1860, 2400, 315});
    editLanguagesText = edText("txtEditType", "Language/Type", {2580, 1860, 1800, 315});
    editAddressText = edText("txtEditURL", "URL", {4440, 1860, 2800, 315});
    editCategoryBox = categoryBox("cmbEditCateogy", {7300, 1860, 1100, 315});
    editButton = edButton("cmdEdit", "OK", {8460, 1860, 900, 315});
    findReplaceLabel = edLabel("Label4", "Find and replace:", {120, 2280, 2400, 225});
    replaceLabel = edLabel("Label6", "Replace", {120, 2560, 800, 225});
    findText = edText("Text2", "", {960, 2520, 2000, 315});
    withLabel = edLabel("Label7", "with", {3020, 2560, 500, 225});
    replaceWithText = edText("Text3", "", {3560, 2520, 2000, 315});
    inColumnLabel = edLabel("Label10", "in column", {5620, 2560, 900, 225});
    replaceColumnBox = &place(std::make_unique<ComboBox>("Combo2"), "Frame2", {6560, 2520, 1300, 315});
    replaceColumnBox->addItem("Channel");
    replaceColumnBox->addItem("Language");
    replaceColumnBox->setText("Channel");
    replaceButton = edButton("cmdReplace", "Replace", {7920, 2520, 1440, 315});
    decryptAndLoadButton = edButton("doLoad", "Decrypt and Load", {120, 3000, 1800, 435});
    encryptAndSaveButton = edButton("save", "Encrypt and Save", {1980, 3000, 1800, 435});
    clearListButton = edButton("Clear", "Clear the list", {3840, 3000, 1800, 435});
    deleteChannelButton = edButton("DELChannel", "Delete Selected Channel", {5700, 3000, 2100, 435});
    removeDuplicatesButton = edButton("cmdDupes", "Remove Duplicates", {7860, 3000, 1500, 435});
    dontLoadWhileEditingCheck = &place(std::make_unique<CheckBox>("chkLoad"), "Frame2", {120, 3540, 4200, 255});
    dontLoadWhileEditingCheck->setCaption("Don't Load Video While Editing");
    closeEditorButton = edButton("Command2", "X", {9000, 0, 420, 240});
    keyLabel = edLabel("Label12", "Key:", {4440, 3560, 500, 225});
    keyText = edText("Text5", "key", {4980, 3520, 1000, 315});
    importFileLabel = edLabel("Label13", "Import file:", {6060, 3560, 1000, 225});
    importFileText = edText("Text1", "", {7080, 3520, 1300, 315});
    importCategoryText = edText("txtType", "TV", {8440, 3520, 500, 315});
    importSectionedButton = edButton("cmdLoad2", "Load2", {8980, 3520, 480, 315});
    exportLabel = edLabel("Label11", "Data.htm contents:", {120, 3960, 3000, 225});
    exportText = edText("txtData", "", {120, 4200, 9240, 3800});

    player = &addPlain("WindowsMediaPlayer", "WindowsMediaPlayer1", "", {}, {5520, 1020, 9570, 6705});
    videoPage = &addPlain("WebBrowser", "wbyoutube", "", {}, {5520, 1020, 9570, 6705}, std::nullopt, false);
    banner = &addPlain("WebBrowser", "wbBanner", "", {}, {5520, 1020, 7335, 945}, std::nullopt, false);
    bannerPicture = &addPlain("PictureBox", "wbPicture", "", {}, {5520, 1020, 7335, 945});
    offlinePicture = &addPlain("Image", "imgOffline", "", {}, {0, 0, 6000, 3000}, std::nullopt, false);
    playerStatus = &addPlain("StatusLine", "PlayerStatus", "", {}, {5520, 7770, 9570, 285});
    skinLabel = &addPlain("SkinLabel", "SkinLabel1", "", {}, {0, 0, 0, 0}, 0, false);

    auto menu = [&](const char* name, const char* caption, const char* parent, std::optional<int> index,
                    bool visible = true) { return &addPlain("Menu", name, caption, parent, {}, index, visible); };
    fileMenu = menu("mnuFile", "File", "", std::nullopt);
    fileMenuItems = {menu("mnuFileItem", "Download Most Recent Channel List", "mnuFile", 0, false),
                   menu("mnuFileItem", "-", "mnuFile", 1, false), menu("mnuFileItem", "Exit", "mnuFile", 2)};
    categoryMenu = menu("mnuCat", "Categories", "", std::nullopt);
    const char* categories[] = {"TV",          "Radio",  "Video", "Favorites", "My Files",
                                "Live Sports", "Extras", "Adult", kYouTube};
    for (int i = 0; i < 9; ++i) categoryMenuItems.push_back(menu("mnuCatItem", categories[i], "mnuCat", i, i < 5 || i > 7));
    languageMenu = menu("mnuLanguage", "Language", "", std::nullopt);
    languageMenuItems = {menu("mnuLanguageItem", "Change Language", "mnuLanguage", 0)};
    helpMenu = menu("mnuHelp", "Help", "", std::nullopt);
    helpMenuItems = {menu("mnuHelpItem", "View Help", "mnuHelp", 0)};
    aboutMenuItems = {menu("mnuAboutItem", "About this software", "mnuHelp", 0)};
    channelActionsMenu = menu("mnuActions", "Actions", "", std::nullopt, false);
    const char* actions[] = {"Add to Favorites",       "-",
                             "Rate 5 Stars - Love it", "Rate 4 Stars - Like it a lot",
                             "Rate 3 Stars - It's ok", "Rate 2 Stars - Don't like it",
                             "Rate 1 Stars - Hate it"};
    for (int i = 0; i < 7; ++i) channelActionItems.push_back(menu("mnuActionItem", actions[i], "mnuActions", i));
    videoActionsMenu = menu("mnuActions2", "Actions2", "", std::nullopt, false);
    videoActionItems = {menu("mnuAction2Item", "Add to Favorites", "mnuActions2", 0)};
}

}  // namespace cd::ui
