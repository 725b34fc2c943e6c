#include "ui/main_window.h"

#include <memory>

#include "ui/stored_names.h"

namespace cd::ui {

namespace {
// The Windows "YouTube" caption carried the trade mark sign; kept in UTF-8.
const char* const kYouTube = "YouTube\xE2\x84\xA2";
constexpr int kButtonWidth = 1275;
constexpr int kButtonHeight = 915;
constexpr int kButtonTop = 60;
}  // namespace

MainWindow::MainWindow() : Form(storedWindowName("mainWindow"), "ChannelDeck") {
    const auto n = [this](std::string_view role) { return storedControlName(name(), role); };
    resize(kClientWidth + 240, kClientHeight + 810);

    auto button = [&](const std::string& name, const char* caption, int left, bool visible = true) {
        return &addPlain("CommandButton", name, caption, {}, {left, kButtonTop, kButtonWidth, kButtonHeight},
                         std::nullopt, visible);
    };
    // One row; the three edition buttons sit after My Files so no button
    // covers another in either edition.
    tvButton = button(n("tvButton"), "TV", 60);
    radioButton = button(n("radioButton"), "Radio", 1380);
    videoButton = button(n("videoButton"), "Video", 2700);
    favouritesButton = button(n("favouritesButton"), "Favorites", 4020);
    videoSiteButton = button(n("videoSiteButton"), kYouTube, 5340);
    myFilesButton = button(n("myFilesButton"), "My Files", 6660);
    sportsButton = button(n("sportsButton"), "Live Sports", 7980, false);
    extrasButton = button(n("extrasButton"), "Extras", 9300, false);
    adultButton = button(n("adultButton"), "Adult", 10620, false);
    websiteButton =
        &addPlain("CommandButton", n("websiteButton"), "Visit", {}, {7980, kButtonTop, 2775, kButtonHeight});

    const Geometry panel{60, 1020, 5235, 8175};
    channelPanel = &addPlain("Frame", n("channelPanel"), "Channels", {}, panel);
    languageLabel = &addPlain("Label", n("languageLabel"), "Type:", n("channelPanel"), {180, 240, 1500, 225});
    languageBox = &place(std::make_unique<ComboBox>(n("languageBox")), n("channelPanel"), {180, 480, 3315, 315});
    languageBox->setTextKind(TextKind::CodePage);
    channelActionsButton = &addPlain("CommandButton", n("channelActionsButton"), "Channel Actions", n("channelPanel"),
                                     {3540, 180, 1575, 615});
    channelSearch = &addPlain("TextBox", n("channelSearch"), "", n("channelPanel"), {180, 900, 4935, 315});
    channelSearch->setTextKind(TextKind::Utf8);
    channelList = &place(std::make_unique<ListView>(n("channelList")), n("channelPanel"), {180, 1260, 4935, 3435});
    for (const char* c : {"Channel", "Category", "Type", "Rating", "Favorites", "Updated", "Last Online"})
        channelList->addColumn(c);

    favouritesPanel = &addPlain("Frame", n("favouritesPanel"), "Favorites", {}, panel, std::nullopt, false);
    favouriteSearch = &addPlain("TextBox", n("favouriteSearch"), "", n("favouritesPanel"), {180, 900, 4935, 315});
    favouriteSearch->setTextKind(TextKind::Utf8);
    // The channel list's rectangle, below the search field as there.
    favouritesList =
        &place(std::make_unique<ListView>(n("favouritesList")), n("favouritesPanel"), {180, 1260, 4935, 3435});
    for (const char* c : {"Channel", "Category", "Type"}) favouritesList->addColumn(c);
    removeFavouriteButton = &addPlain("CommandButton", n("removeFavouriteButton"), "Remove from Favorites",
                                      n("favouritesPanel"), {2760, 180, 2355, 615});

    filesPanel = &addPlain("Frame", n("filesPanel"), "My Files", {}, panel, std::nullopt, false);
    driveList =
        &place(std::make_unique<ListBox>("DriveListBox", n("driveList")), n("filesPanel"), {120, 240, 4995, 315});
    folderList =
        &place(std::make_unique<ListBox>("DirListBox", n("folderList")), n("filesPanel"), {120, 660, 4995, 2340});
    fileList =
        &place(std::make_unique<ListBox>("FileListBox", n("fileList")), n("filesPanel"), {120, 3060, 4995, 3405});

    videoSitePanel = &addPlain("Frame", n("videoSitePanel"), kYouTube, {}, panel, std::nullopt, false);
    videoKindLabel = &addPlain("Label", n("videoKindLabel"), "Type:", n("videoSitePanel"), {180, 240, 1500, 225});
    videoKindBox = &place(std::make_unique<ComboBox>(n("videoKindBox")), n("videoSitePanel"), {180, 480, 3315, 315});
    videoKindBox->setText("Featured");
    videoSearchText =
        &addPlain("TextBox", n("videoSearchText"), "", n("videoSitePanel"), {180, 480, 2475, 315}, std::nullopt, false);
    videoSearchText->setText("Enter search here");
    videoSearchButton = &addPlain("CommandButton", n("videoSearchButton"), "Search", n("videoSitePanel"),
                                  {2700, 480, 795, 315}, std::nullopt, false);
    videoCountryBox =
        &place(std::make_unique<ComboBox>(n("videoCountryBox")), n("videoSitePanel"), {180, 780, 3315, 315});
    videoCountryBox->setText("United States");
    videoList = &place(std::make_unique<ListView>(n("videoList")), n("videoSitePanel"), {180, 1140, 4935, 3555});
    videoList->addColumn("Channel");
    videoStatus = &addPlain("TextBox", n("videoStatus"), "", n("videoSitePanel"), {180, 7800, 4875, 285});
    videoActionsButton = &addPlain("CommandButton", n("videoActionsButton"), "Channel Actions", n("videoSitePanel"),
                                   {3540, 480, 1575, 615});

    editorPanel =
        &addPlain("Frame", n("editorPanel"), "List Editing", {}, {5520, 1020, 9570, 8175}, std::nullopt, false);
    auto edLabel = [&](const std::string& name, const char* caption, Geometry g) {
        return &addPlain("Label", name, caption, n("editorPanel"), g);
    };
    auto edText = [&](const std::string& name, const char* text, Geometry g) {
        Control* c = &addPlain("TextBox", name, "", n("editorPanel"), g);
        c->setText(text);
        c->setTextKind(TextKind::CodePage);
        return c;
    };
    auto edButton = [&](const std::string& name, const char* caption, Geometry g) {
        return &addPlain("CommandButton", name, caption, n("editorPanel"), g);
    };
    auto categoryBox = [&](const std::string& name, Geometry g) {
        ComboBox* box = &place(std::make_unique<ComboBox>(name), n("editorPanel"), g);
        for (const char* c : {"TV", "Radio", "Video", "XXX"}) box->addItem(c);
        box->setText("TV");
        box->setTextKind(TextKind::CodePage);
        return box;
    };
    editorInstructions =
        edLabel(n("editorInstructions"),
                "First clear the existing list.  Then click Decrypt and Load.  This will load ALL categories "
                "(TV, Radio, Video and XXX).  Edit the list.  When you are done click Encrypt and Save.  "
                "Data.htm will be saved in the program directory.  Upload it to your webserver and click "
                "File > Download.  This will update your list within the program.",
                {120, 240, 9240, 660});
    addEntryLabel = edLabel(n("addEntryLabel"), "Add an entry:", {120, 960, 2400, 225});
    addNameText = edText(n("addNameText"), "Name", {120, 1200, 2400, 315});
    addLanguagesText = edText(n("addLanguagesText"), "Language/Type", {2580, 1200, 1800, 315});
    addAddressText = edText(n("addAddressText"), "URL", {4440, 1200, 2800, 315});
    addCategoryBox = categoryBox(n("addCategoryBox"), {7300, 1200, 1100, 315});
    addButton = edButton(n("addButton"), "Add", {8460, 1200, 900, 315});
    editEntryLabel = edLabel(n("editEntryLabel"), "Edit selected entry:", {120, 1620, 2400, 225});
    editNameText = edText(n("editNameText"), "Name", {120, 1860, 2400, 315});
    editLanguagesText = edText(n("editLanguagesText"), "Language/Type", {2580, 1860, 1800, 315});
    editAddressText = edText(n("editAddressText"), "URL", {4440, 1860, 2800, 315});
    editCategoryBox = categoryBox(n("editCategoryBox"), {7300, 1860, 1100, 315});
    editButton = edButton(n("editButton"), "OK", {8460, 1860, 900, 315});
    findReplaceLabel = edLabel(n("findReplaceLabel"), "Find and replace:", {120, 2280, 2400, 225});
    replaceLabel = edLabel(n("replaceLabel"), "Replace", {120, 2560, 800, 225});
    findText = edText(n("findText"), "", {960, 2520, 2000, 315});
    withLabel = edLabel(n("withLabel"), "with", {3020, 2560, 500, 225});
    replaceWithText = edText(n("replaceWithText"), "", {3560, 2520, 2000, 315});
    inColumnLabel = edLabel(n("inColumnLabel"), "in column", {5620, 2560, 900, 225});
    replaceColumnBox =
        &place(std::make_unique<ComboBox>(n("replaceColumnBox")), n("editorPanel"), {6560, 2520, 1300, 315});
    replaceColumnBox->addItem("Channel");
    replaceColumnBox->addItem("Language");
    replaceColumnBox->setText("Channel");
    replaceButton = edButton(n("replaceButton"), "Replace", {7920, 2520, 1440, 315});
    decryptAndLoadButton = edButton(n("decryptAndLoadButton"), "Decrypt and Load", {120, 3000, 1800, 435});
    encryptAndSaveButton = edButton(n("encryptAndSaveButton"), "Encrypt and Save", {1980, 3000, 1800, 435});
    clearListButton = edButton(n("clearListButton"), "Clear the list", {3840, 3000, 1800, 435});
    deleteChannelButton = edButton(n("deleteChannelButton"), "Delete Selected Channel", {5700, 3000, 2100, 435});
    removeDuplicatesButton = edButton(n("removeDuplicatesButton"), "Remove Duplicates", {7860, 3000, 1500, 435});
    dontLoadWhileEditingCheck =
        &place(std::make_unique<CheckBox>(n("dontLoadWhileEditingCheck")), n("editorPanel"), {120, 3540, 4200, 255});
    dontLoadWhileEditingCheck->setCaption("Don't Load Video While Editing");
    closeEditorButton = edButton(n("closeEditorButton"), "X", {9000, 0, 420, 240});
    keyLabel = edLabel(n("keyLabel"), "Key:", {4440, 3560, 500, 225});
    keyText = edText(n("keyText"), "key", {4980, 3520, 1000, 315});
    importFileLabel = edLabel(n("importFileLabel"), "Import file:", {6060, 3560, 1000, 225});
    importFileText = edText(n("importFileText"), "", {7080, 3520, 1300, 315});
    importCategoryText = edText(n("importCategoryText"), "TV", {8440, 3520, 500, 315});
    importSectionedButton = edButton(n("importSectionedButton"), "Load2", {8980, 3520, 480, 315});
    exportLabel = edLabel(n("exportLabel"), "Data.htm contents:", {120, 3960, 3000, 225});
    exportText = edText(n("exportText"), "", {120, 4200, 9240, 3800});

    player = &addPlain("WindowsMediaPlayer", n("player"), "", {}, {5520, 1020, 9570, 6705});
    videoPage = &addPlain("WebBrowser", n("videoPage"), "", {}, {5520, 1020, 9570, 6705}, std::nullopt, false);
    banner = &addPlain("WebBrowser", n("banner"), "", {}, {5520, 1020, 7335, 945}, std::nullopt, false);
    bannerPicture = &addPlain("PictureBox", n("bannerPicture"), "", {}, {5520, 1020, 7335, 945});
    offlinePicture = &addPlain("Image", n("offlinePicture"), "", {}, {0, 0, 6000, 3000}, std::nullopt, false);
    playerStatus = &addPlain("StatusLine", n("playerStatus"), "", {}, {5520, 7770, 9570, 285});
    skinLabel = &addPlain("SkinLabel", n("skinLabel"), "", {}, {0, 0, 0, 0}, 0, false);

    auto menu = [&](const std::string& name, const char* caption, const std::string& parent, std::optional<int> index,
                    bool visible = true) { return &addPlain("Menu", name, caption, parent, {}, index, visible); };
    fileMenu = menu(n("fileMenu"), "File", "", std::nullopt);
    // The playlist entries came later: they take the next indices, so no
    // entry's localization key changes meaning, and stand above Exit.
    downloadChannelListItem = menu(n("fileMenuItems"), "Download Most Recent Channel List", n("fileMenu"), 0);
    Control* downloadSeparator = menu(n("fileMenuItems"), "-", n("fileMenu"), 1);
    importPlaylistItem = menu(n("fileMenuItems"), "Import Playlist…", n("fileMenu"), 3);
    exportChannelsItem = menu(n("fileMenuItems"), "Export Channel List as Playlist…", n("fileMenu"), 4);
    exportFavouritesItem = menu(n("fileMenuItems"), "Export Favorites as Playlist…", n("fileMenu"), 5);
    menu(n("fileMenuItems"), "-", n("fileMenu"), 6);
    fileMenuItems = {downloadChannelListItem, downloadSeparator, menu(n("fileMenuItems"), "Exit", n("fileMenu"), 2)};
    categoryMenu = menu(n("categoryMenu"), "Categories", "", std::nullopt);
    const char* categories[] = {"TV",          "Radio",  "Video", "Favorites", "My Files",
                                "Live Sports", "Extras", "Adult", kYouTube};
    for (int i = 0; i < 9; ++i)
        categoryMenuItems.push_back(menu(n("categoryMenuItems"), categories[i], n("categoryMenu"), i, i < 5 || i > 7));
    languageMenu = menu(n("languageMenu"), "Language", "", std::nullopt);
    languageMenuItems = {menu(n("languageMenuItems"), "Change Language", n("languageMenu"), 0)};
    helpMenu = menu(n("helpMenu"), "Help", "", std::nullopt);
    helpMenuItems = {menu(n("helpMenuItems"), "View Help", n("helpMenu"), 0)};
    aboutMenuItems = {menu(n("aboutMenuItems"), "About this software", n("helpMenu"), 0)};
    channelActionsMenu = menu(n("channelActionsMenu"), "Actions", "", std::nullopt, false);
    const char* actions[] = {"Add to Favorites",       "-",
                             "Rate 5 Stars - Love it", "Rate 4 Stars - Like it a lot",
                             "Rate 3 Stars - It's ok", "Rate 2 Stars - Don't like it",
                             "Rate 1 Stars - Hate it"};
    for (int i = 0; i < 7; ++i)
        channelActionItems.push_back(menu(n("channelActionItems"), actions[i], n("channelActionsMenu"), i));
    videoActionsMenu = menu(n("videoActionsMenu"), "Actions2", "", std::nullopt, false);
    videoActionItems = {menu(n("videoActionItems"), "Add to Favorites", n("videoActionsMenu"), 0)};
}

}  // namespace cd::ui
