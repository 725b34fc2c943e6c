#pragma once
// The editor's whole-catalogue operations on the main window: Decrypt and
// Load (decryptAndLoadButton) reads Data.txt into channelList in the editor row layout,
// Encrypt and Save (encryptAndSaveButton) writes every row to the export Data.htm and shows
// it in exportText, and Load2 (importSectionedButton) imports a sectioned plain text file.
// Problems are told to the owner in a message box; the results say what
// happened for callers without a window (the command-line tool).
#include <filesystem>
#include <string>

#include "platform/dialogs.h"
#include "ui/main_window.h"

namespace cd::catalogue {

struct LoadOutcome {
    bool fileRead = false;  // false: the file was missing or unreadable and no row changed
    int rowsAdded = 0;
};

struct SaveOutcome {
    bool written = false;  // false: the export could not be written; any old one is kept
    int rowsWritten = 0;
    int rowsAltered = 0;  // written, but will not read back intact
    int rowsLeftOut = 0;  // longer than the cipher's line limit
    std::string error;    // why the write failed
};

class CatalogueFile {
public:
    static constexpr const char* kCatalogueName = "Data.txt";
    static constexpr const char* kExportName = "Data.htm";
    /// keyText holding exactly this writes the rows plain.
    static constexpr const char* kExportKey = "8047";

    CatalogueFile(ui::MainWindow& form, platform::Dialogs& dialogs, std::filesystem::path programFolder,
                  std::string appTitle);

    /// decryptAndLoadButton: appends every record of Data.txt in the program's folder to
    /// channelList (rows already there stay in front). A missing file is told
    /// in a message box and changes no row.
    LoadOutcome DecryptAndLoad();
    /// Decrypt and Load from another catalogue file.
    LoadOutcome DecryptAndLoadFrom(const std::filesystem::path& catalogue);

    /// encryptAndSaveButton: writes "<data>", one record line per row of channelList in the
    /// order shown (encoded unless keyText is the export key) and "</data>" to
    /// Data.htm, replacing it whole or not at all, and shows the file's
    /// text in exportText. Rows too long for the cipher are left out; they and
    /// rows that will not read back intact are named in one message box.
    SaveOutcome EncryptAndSave();
    /// Encrypt and Save to another export file.
    SaveOutcome EncryptAndSaveTo(const std::filesystem::path& exportFile);

    /// importSectionedButton: appends the rows of the sectioned file named by importFileText (in
    /// the program's folder) with the type in importCategoryText. A missing file is
    /// told in a message box and changes no row.
    LoadOutcome Load2();

    const std::filesystem::path& programFolder() const { return folder_; }

private:
    void tell(const std::string& text);

    ui::MainWindow& form_;
    platform::Dialogs& dialogs_;
    std::filesystem::path folder_;
    std::string title_;
};

}  // namespace cd::catalogue
