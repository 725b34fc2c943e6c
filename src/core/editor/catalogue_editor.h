#pragma once
// The editor panel editorPanel of the main window: the owner edits the loaded
// catalogue in channelList (editor row layout: text = name, sub-item 1 =
// category, sub-item 2 = language/type, sub-item 3 = address, tag = the
// address the row was loaded with) and nothing is written until Encrypt and
// Save. No operation here asks for confirmation or validates input.
#include <filesystem>
#include <string>

#include "catalogue/catalogue_file.h"
#include "localization/message_table.h"
#include "platform/dialogs.h"
#include "ui/main_window.h"

namespace cd::editor {

class CatalogueEditor {
public:
    /// Character code of the Enter key in a KeyPress handler.
    static constexpr int kEnterKey = 13;

    CatalogueEditor(ui::MainWindow& form, platform::Dialogs& dialogs, const localization::MessageTable& messages,
                    std::filesystem::path programFolder, std::string appTitle);

    /// A click on a row of channelList in editor mode: copies the selected
    /// row into the edit boxes. Without a selection nothing changes.
    void fillFieldsFromSelectedRow();

    /// Add: appends a row from the add boxes, with no tag.
    void addEntry();
    /// OK: writes the edit boxes into the selected row; its tag stays.
    /// Without a selection nothing happens.
    void applyEdit();

    /// Replace findText by replaceWithText in the column named by replaceColumnBox: "Channel"
    /// replaces inside names (letter case ignored), "Language" replaces
    /// whole language/type values (case-sensitive); any other column text
    /// and an empty find text change nothing.
    void findAndReplace();
    /// KeyPress in the find or replacement box: Enter runs Replace.
    /// Returns true when the key was Enter.
    bool findTextKeyPressed(int keyAscii);
    bool replaceTextKeyPressed(int keyAscii);

    /// Remove Duplicates: of the rows sharing an address (sub-item 3, letter
    /// case ignored) the topmost stays; order is kept. Shows "MSG_DELETED"
    /// followed by the count. Returns the count.
    int removeDuplicates();
    /// Delete Selected Channel: removes the selected row without asking.
    void deleteSelectedChannel();
    /// clearListButton the list: removes every row without asking.
    void clearList();
    /// X: unticks dontLoadWhileEditingCheck and hides the panel for the rest of the run.
    void closeEditor();

    /// The three file buttons.
    catalogue::LoadOutcome decryptAndLoad() { return file_.DecryptAndLoad(); }
    catalogue::SaveOutcome encryptAndSave() { return file_.EncryptAndSave(); }
    catalogue::LoadOutcome importSectioned() { return file_.Load2(); }

    catalogue::CatalogueFile& catalogueFile() { return file_; }

private:
    ui::MainWindow& form_;
    platform::Dialogs& dialogs_;
    const localization::MessageTable& messages_;
    std::string title_;
    catalogue::CatalogueFile file_;
};

}  // namespace cd::editor
