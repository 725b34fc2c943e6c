#include "ui/form1.h"

#include <memory>

namespace cd::ui {

namespace {
// The Windows "YouTube" caption carried the trade mark sign; kept in UTF-8.
const char* const kYouTube = "YouTube\xE2\x84\xA2";
constexpr int kButtonWidth = 1275;
constexpr int kButtonHeight = 915;
constexpr int kButtonTop = 60;
}  // namespace

Form1::Form1() : Form("Form1", "ChannelDeck") {
    resize(kClientWidth + 240, kClientHeight + 810);

    auto button = [&](const char* name, const char* caption, int left, bool visible = true) {
        return &addPlain("CommandButton", name, caption, {}, {left, kButtonTop, kButtonWidth, kButtonHeight},
                         std::nullopt, visible);
    };
    // One row; the three edition buttons sit after My Files so no button
    // covers another in either edition.
    cmdTV = button("cmdTV", "TV", 60);
    cmdRadio = button("cmdRadio", "Radio", 1380);
    cmdVideo = button("cmdVideo", "Video", 2700);
    cmdFavorites = button("cmdFavorites", "Favorites", 4020);
    cmdYouTube = button("cmdYouTube", kYouTube, 5340);
    cmdFiles = button("cmdFiles", "My Files", 6660);
    cmdSports = button("cmdSports", "Live Sports", 7980, false);
    cmdExtras = button("cmdExtras", "Extras", 9300, false);
    cmdXXX = button("cmdXXX", "Adult", 10620, false);
    cmdWebsite = &addPlain("CommandButton", "cmdWebsite", "Visit", {}, {7980, kButtonTop, 2775, kButtonHeight});

    const Geometry panel{60, 1020, 5235, 8175};
    Frame1 = &addPlain("Frame", "Frame1", "Channels", {}, panel);
    Label1 = &addPlain("Label", "Label1", "Type:", "Frame1", {180, 240, 1500, 225});
    Combo1 = &place(std::make_unique<ComboBox>("Combo1"), "Frame1", {180, 480, 3315, 315});
    Combo1->setTextKind(TextKind::CodePage);
    cmdFav = &addPlain("CommandButton", "cmdFav", "Channel Actions", "Frame1", {3540, 180, 1575, 615});
    ListView1 = &place(std::make_unique<ListView>("ListView1"), "Frame1", {180, 900, 4935, 3795});
    for (const char* c : {"Channel", "Category", "Type", "Rating", "Favorites", "Updated", "Last Online"})
        ListView1->addColumn(c);

    Frame3 = &addPlain("Frame", "Frame3", "Favorites", {}, panel, std::nullopt, false);
    ListView2 = &place(std::make_unique<ListView>("ListView2"), "Frame3", {180, 900, 4935, 3795});
    for (const char* c : {"Channel", "Category", "Type"}) ListView2->addColumn(c);
    Command1 = &addPlain("CommandButton", "Command1", "Remove from Favorites", "Frame3", {2760, 180, 2355, 615});

    Frame4 = &addPlain("Frame", "Frame4", "My Files", {}, panel, std::nullopt, false);
    Drive1 = &place(std::make_unique<ListBox>("DriveListBox", "Drive1"), "Frame4", {120, 240, 4995, 315});
    Dir1 = &place(std::make_unique<ListBox>("DirListBox", "Dir1"), "Frame4", {120, 660, 4995, 2340});
    File1 = &place(std::make_unique<ListBox>("FileListBox", "File1"), "Frame4", {120, 3060, 4995, 3405});

    Frame5 = &addPlain("Frame", "Frame5", kYouTube, {}, panel, std::nullopt, false);
    Label9 = &addPlain("Label", "Label9", "Type:", "Frame5", {180, 240, 1500, 225});
    Combo3 = &place(std::make_unique<ComboBox>("Combo3"), "Frame5", {180, 480, 3315, 315});
    Combo3->setText("Featured");
    txtSearch = &addPlain("TextBox", "txtSearch", "", "Frame5", {180, 480, 2475, 315}, std::nullopt, false);
    txtSearch->setText("Enter search here");
    cmdSearch = &addPlain("CommandButton", "cmdSearch", "Search", "Frame5", {2700, 480, 795, 315}, std::nullopt, false);
    Combo4 = &place(std::make_unique<ComboBox>("Combo4"), "Frame5", {180, 780, 3315, 315});
    Combo4->setText("United States");
    ListView3 = &place(std::make_unique<ListView>("ListView3"), "Frame5", {180, 1140, 4935, 3555});
    ListView3->addColumn("Channel");
    txtStatus = &addPlain("TextBox", "txtStatus", "", "Frame5", {180, 7800, 4875, 285});
    Command4 = &addPlain("CommandButton", "Command4", "Channel Actions", "Frame5", {3540, 480, 1575, 615});

    Frame2 = &addPlain("Frame", "Frame2", "List Editing", {}, {5520, 1020, 9570, 8175}, std::nullopt, false);
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
    Label5 = edLabel("Label5",
                     "First clear the existing list.  Then click Decrypt and Load.  This will load ALL categories "
                     "(TV, Radio, Video and XXX).  Edit the list.  When you are done click Encrypt and Save.  "
                     "Data.htm will be saved in the program directory.  Upload it to your webserver and click "
                     "File > Download.  This will update your list within the program.",
                     {120, 240, 9240, 660});
    Label2 = edLabel("Label2", "Add an entry:", {120, 960, 2400, 225});
    txtAddName = edText("txtAddName", "Name", {120, 1200, 2400, 315});
    txtAddType = edText("txtAddType", "Language/Type", {2580, 1200, 1800, 315});
    txtAddURL = edText("txtAddURL", "URL", {4440, 1200, 2800, 315});
    cmbAddCategory = categoryBox("cmbAddCategory", {7300, 1200, 1100, 315});
    cmdAdd = edButton("cmdAdd", "Add", {8460, 1200, 900, 315});
    Label3 = edLabel("Label3", "Edit selected entry:", {120, 1620, 2400, 225});
    txtEditName = edText("txtEditName", "Name", {120, 1860, 2400, 315});
    txtEditType = edText("txtEditType", "Language/Type", {2580, 1860, 1800, 315});
    txtEditURL = edText("txtEditURL", "URL", {4440, 1860, 2800, 315});
    cmbEditCateogy = categoryBox("cmbEditCateogy", {7300, 1860, 1100, 315});
    cmdEdit = edButton("cmdEdit", "OK", {8460, 1860, 900, 315});
    Label4 = edLabel("Label4", "Find and replace:", {120, 2280, 2400, 225});
    Label6 = edLabel("Label6", "Replace", {120, 2560, 800, 225});
    Text2 = edText("Text2", "", {960, 2520, 2000, 315});
    Label7 = edLabel("Label7", "with", {3020, 2560, 500, 225});
    Text3 = edText("Text3", "", {3560, 2520, 2000, 315});
    Label10 = edLabel("Label10", "in column", {5620, 2560, 900, 225});
    Combo2 = &place(std::make_unique<ComboBox>("Combo2"), "Frame2", {6560, 2520, 1300, 315});
    Combo2->addItem("Channel");
    Combo2->addItem("Language");
    Combo2->setText("Channel");
    cmdReplace = edButton("cmdReplace", "Replace", {7920, 2520, 1440, 315});
    doLoad = edButton("doLoad", "Decrypt and Load", {120, 3000, 1800, 435});
    save = edButton("save", "Encrypt and Save", {1980, 3000, 1800, 435});
    Clear = edButton("Clear", "Clear the list", {3840, 3000, 1800, 435});
    DELChannel = edButton("DELChannel", "Delete Selected Channel", {5700, 3000, 2100, 435});
    cmdDupes = edButton("cmdDupes", "Remove Duplicates", {7860, 3000, 1500, 435});
    chkLoad = &place(std::make_unique<CheckBox>("chkLoad"), "Frame2", {120, 3540, 4200, 255});
    chkLoad->setCaption("Don't Load Video While Editing");
    Command2 = edButton("Command2", "X", {9000, 0, 420, 240});
    Label12 = edLabel("Label12", "Key:", {4440, 3560, 500, 225});
    Text5 = edText("Text5", "key", {4980, 3520, 1000, 315});
    Label13 = edLabel("Label13", "Import file:", {6060, 3560, 1000, 225});
    Text1 = edText("Text1", "", {7080, 3520, 1300, 315});
    txtType = edText("txtType", "TV", {8440, 3520, 500, 315});
    cmdLoad2 = edButton("cmdLoad2", "Load2", {8980, 3520, 480, 315});
    Label11 = edLabel("Label11", "Data.htm contents:", {120, 3960, 3000, 225});
    txtData = edText("txtData", "", {120, 4200, 9240, 3800});

    WindowsMediaPlayer1 = &addPlain("WindowsMediaPlayer", "WindowsMediaPlayer1", "", {}, {5520, 1020, 9570, 6705});
    wbyoutube = &addPlain("WebBrowser", "wbyoutube", "", {}, {5520, 1020, 9570, 6705}, std::nullopt, false);
    wbBanner = &addPlain("WebBrowser", "wbBanner", "", {}, {5520, 1020, 7335, 945}, std::nullopt, false);
    wbPicture = &addPlain("PictureBox", "wbPicture", "", {}, {5520, 1020, 7335, 945});
    imgOffline = &addPlain("Image", "imgOffline", "", {}, {0, 0, 6000, 3000}, std::nullopt, false);
    PlayerStatus = &addPlain("StatusLine", "PlayerStatus", "", {}, {5520, 7770, 9570, 285});
    SkinLabel1 = &addPlain("SkinLabel", "SkinLabel1", "", {}, {0, 0, 0, 0}, 0, false);

    auto menu = [&](const char* name, const char* caption, const char* parent, std::optional<int> index,
                    bool visible = true) { return &addPlain("Menu", name, caption, parent, {}, index, visible); };
    mnuFile = menu("mnuFile", "File", "", std::nullopt);
    mnuFileItem = {menu("mnuFileItem", "Download Most Recent Channel List", "mnuFile", 0, false),
                   menu("mnuFileItem", "-", "mnuFile", 1, false), menu("mnuFileItem", "Exit", "mnuFile", 2)};
    mnuCat = menu("mnuCat", "Categories", "", std::nullopt);
    const char* categories[] = {"TV",          "Radio",  "Video", "Favorites", "My Files",
                                "Live Sports", "Extras", "Adult", kYouTube};
    for (int i = 0; i < 9; ++i) mnuCatItem.push_back(menu("mnuCatItem", categories[i], "mnuCat", i, i < 5 || i > 7));
    mnuLanguage = menu("mnuLanguage", "Language", "", std::nullopt);
    mnuLanguageItem = {menu("mnuLanguageItem", "Change Language", "mnuLanguage", 0)};
    mnuHelp = menu("mnuHelp", "Help", "", std::nullopt);
    mnuHelpItem = {menu("mnuHelpItem", "View Help", "mnuHelp", 0)};
    mnuAboutItem = {menu("mnuAboutItem", "About this software", "mnuHelp", 0)};
    mnuActions = menu("mnuActions", "Actions", "", std::nullopt, false);
    const char* actions[] = {"Add to Favorites",       "-",
                             "Rate 5 Stars - Love it", "Rate 4 Stars - Like it a lot",
                             "Rate 3 Stars - It's ok", "Rate 2 Stars - Don't like it",
                             "Rate 1 Stars - Hate it"};
    for (int i = 0; i < 7; ++i) mnuActionItem.push_back(menu("mnuActionItem", actions[i], "mnuActions", i));
    mnuActions2 = menu("mnuActions2", "Actions2", "", std::nullopt, false);
    mnuAction2Item = {menu("mnuAction2Item", "Add to Favorites", "mnuActions2", 0)};
}

}  // namespace cd::ui
