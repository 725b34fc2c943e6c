#include "catalogue/catalogue_file.h"

#include <optional>
#include <system_error>

#include "catalogue/catalogue_export.h"
#include "catalogue/channel_record.h"
#include "catalogue/editor_row.h"
#include "catalogue/line_cipher.h"
#include "catalogue/load2_import.h"
#include "util/files.h"
#include "util/lines.h"

namespace cd::catalogue {

namespace fs = std::filesystem;

namespace {

std::string inQuotes(const fs::path& p) { return "\"" + p.string() + "\""; }

std::string folderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path().string() : fs::path(".").string();
}

// The whole file, or the text of a message saying why it cannot be had.
std::optional<std::string> readOrExplain(const fs::path& file, const std::string& what, std::string& problem) {
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        problem = "The " + what + " " + inQuotes(file.filename()) + " was not found in the folder " +
                  inQuotes(folderOf(file)) + ".";
        return std::nullopt;
    }
    auto text = util::readFile(file);
    if (!text) {
        problem = "The " + what + " " + inQuotes(file.filename()) + " in the folder " + inQuotes(folderOf(file)) +
                  " could not be read.";
    }
    return text;
}

}  // namespace

CatalogueFile::CatalogueFile(ui::MainWindow& form, platform::Dialogs& dialogs, fs::path programFolder,
                             std::string appTitle)
    : form_(form), dialogs_(dialogs), folder_(std::move(programFolder)), title_(std::move(appTitle)) {}

void CatalogueFile::tell(const std::string& text) { dialogs_.messageBox(text, title_, platform::Buttons::OK); }

LoadOutcome CatalogueFile::DecryptAndLoad() { return DecryptAndLoadFrom(folder_ / kCatalogueName); }

LoadOutcome CatalogueFile::DecryptAndLoadFrom(const fs::path& catalogue) {
    std::string problem;
    const auto text = readOrExplain(catalogue, "catalogue file", problem);
    if (!text) {
        tell(problem + " No channels were loaded.");
        return {};
    }
    LoadOutcome outcome{true, 0};
    ui::ListView& list = *form_.channelList;
    std::string decoded;
    list.beginUpdate();
    util::forEachLine(*text, [&](std::string_view line) {
        DecodeLineInto(line, decoded);
        // A short record keeps its missing fields empty rather than ending
        // the load: the owner can see and mend it in the list.
        if (const auto fields = SplitRecordFields(decoded)) {
            list.addItem(EditorRow(*fields));
            ++outcome.rowsAdded;
        }
        return true;
    });
    list.endUpdate();
    return outcome;
}

SaveOutcome CatalogueFile::EncryptAndSave() { return EncryptAndSaveTo(folder_ / kExportName); }

SaveOutcome CatalogueFile::EncryptAndSaveTo(const fs::path& exportFile) {
    const bool plain = form_.keyText->text() == kExportKey;
    const RecordLines lines = BuildRecordLines(*form_.channelList, plain);
    const std::string text = ExportText(lines);
    SaveOutcome outcome;
    // Written whole to a temporary file and renamed over the old export, so
    // a failure can neither leave half an export nor lose the last good one.
    if (!util::writeFileAtomic(exportFile, text, &outcome.error)) {
        tell("The export " + inQuotes(exportFile.filename()) + " could not be saved in the folder " +
             inQuotes(folderOf(exportFile)) + ": " + outcome.error + ". Nothing was written; an earlier " +
             exportFile.filename().string() + " there is left as it was.");
        return outcome;
    }
    outcome.written = true;
    outcome.rowsWritten = lines.rowsWritten;
    outcome.rowsAltered = static_cast<int>(lines.alteredRows.size());
    outcome.rowsLeftOut = static_cast<int>(lines.overlongRows.size());
    // exportText shows what the file holds; after a failed write that is still
    // the earlier export, so it is only replaced here.
    form_.exportText->setText(text);
    if (lines.hasProblems()) tell(DescribeRowProblems(*form_.channelList, lines, exportFile.filename().string()));
    return outcome;
}

LoadOutcome CatalogueFile::Load2() {
    if (form_.importFileText->text().empty()) {
        tell("Type the name of the file to import into the import file box first. No channels were imported.");
        return {};
    }
    const fs::path file = folder_ / form_.importFileText->text();
    std::string problem;
    const auto text = readOrExplain(file, "import file", problem);
    if (!text) {
        tell(problem + " No channels were imported.");
        return {};
    }
    auto rows = ParseSectionedImport(*text, form_.importCategoryText->text());
    ui::ListView& list = *form_.channelList;
    list.beginUpdate();
    for (auto& row : rows) list.addItem(std::move(row));
    list.endUpdate();
    return {true, static_cast<int>(rows.size())};
}

}  // namespace cd::catalogue
