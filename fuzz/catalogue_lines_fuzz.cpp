// Catalogue lines: the line cipher, the record split, the category view's
// filter over the bytes as Data.txt, and the editor's whole-catalogue load
// and export of the same file.
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/catalogue_export.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/category_view.h"
#include "catalogue/channel_record.h"
#include "catalogue/language_setting.h"
#include "catalogue/line_cipher.h"
#include "fuzz_support.h"
#include "localization/message_table.h"
#include "platform/memory_settings_store.h"
#include "support/fakes.h"
#include "util/lines.h"
#include "util/text.h"

namespace {

using namespace cd;

// The pure parts, line by line, with the properties every reader relies on.
// Returns how many lines are records.
int checkLines(std::string_view bytes) {
    int records = 0;
    std::string decoded;
    util::forEachLine(bytes, [&](std::string_view line) {
        catalogue::DecodeLineInto(line, decoded);
        CD_FUZZ_CHECK(decoded == catalogue::DecodeLine(line));
        CD_FUZZ_CHECK(decoded.size() == line.size());
        // Encoding the decoded line gives the line back, except that a 0
        // byte (which no encoder writes) comes back as 255.
        std::string expected(line);
        for (char& c : expected)
            if (c == '\0') c = static_cast<char>(0xFF);
        CD_FUZZ_CHECK(catalogue::EncodeLine(decoded) == expected);

        const auto record = catalogue::ParseChannelRecord(decoded);
        CD_FUZZ_CHECK(record.has_value() == catalogue::IsRecordLine(decoded));
        if (!record) return true;
        ++records;
        CD_FUZZ_CHECK(record->fieldCount >= 2);
        CD_FUZZ_CHECK(record->name.find('|') == std::string::npos);
        CD_FUZZ_CHECK(record->languages.find('|') == std::string::npos);
        if (record->fieldCount == 4) CD_FUZZ_CHECK(catalogue::RecordLine(*record) == decoded);
        return true;
    });
    return records;
}

// LoadCategory over the file: every listed row is of the category and, once
// a language is picked, carries it.
void checkCategoryView(const std::filesystem::path& folder, const std::string& category) {
    ui::MainWindow form;
    catalogue::NavigationState state;
    state.currentCategory = category;
    state.languageRefresh = true;
    platform::MemorySettingsStore settings;
    test::FakeDialogs dialogs;
    localization::MessageTable messages(platform::VersionInfo{"ChannelDeck", "Quenmark Software", "", 1, 0, 0});
    catalogue::CategoryView view(form, state, settings, dialogs, messages, folder, "ChannelDeck");

    view.LoadCategory();
    CD_FUZZ_CHECK(state.currentLanguage == "All");
    for (int i = 0; i < form.channelList->count(); ++i) CD_FUZZ_CHECK(form.channelList->item(i).subItem(1) == category);
    const bool failed = !dialogs.shown.empty();
    CD_FUZZ_CHECK(state.languageRefresh == failed);
    if (failed) return;
    const auto& entries = form.languageBox->entries();
    CD_FUZZ_CHECK(!entries.empty() && entries.front() == "All");

    // Pick the last language on offer, as the user would in languageBox.
    form.languageBox->setText(entries.back());
    view.chooseLanguage();
    CD_FUZZ_CHECK(form.languageBox->entries() == entries);
    CD_FUZZ_CHECK(settings.get(catalogue::languageSettingFor(category).key, entries.back()) == entries.back());
    if (state.currentLanguage == "All") return;
    for (int i = 0; i < form.channelList->count(); ++i) {
        const auto& row = form.channelList->item(i);
        CD_FUZZ_CHECK(row.subItem(1) == category);
        CD_FUZZ_CHECK(util::icontains(row.subItem(2), state.currentLanguage));
    }
}

// Decrypt and Load lists every record line; the export of those rows names
// every row as written or left out and keeps its wrapper lines.
void checkEditorLoadAndExport(const std::filesystem::path& folder, int records, bool plain) {
    ui::MainWindow form;
    test::FakeDialogs dialogs;
    catalogue::CatalogueFile file(form, dialogs, folder, "ChannelDeck");
    const auto loaded = file.DecryptAndLoad();
    CD_FUZZ_CHECK(loaded.fileRead);
    CD_FUZZ_CHECK(loaded.rowsAdded == records);
    CD_FUZZ_CHECK(form.channelList->count() == records);

    const auto lines = catalogue::BuildRecordLines(*form.channelList, plain);
    CD_FUZZ_CHECK(lines.rowsWritten + static_cast<int>(lines.overlongRows.size()) == records);
    const std::string text = catalogue::ExportText(lines);
    CD_FUZZ_CHECK(util::startsWith(text, "<data>\r\n"));
    CD_FUZZ_CHECK(text.size() >= 17 && text.compare(text.size() - 9, 9, "</data>\r\n") == 0);
    if (lines.hasProblems())
        CD_FUZZ_CHECK(!catalogue::DescribeRowProblems(*form.channelList, lines, "Data.htm").empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::asText(data, size);
    const int records = checkLines(bytes);

    const auto folder = fuzz::ScratchFolder::path();
    fuzz::ScratchFolder::write(catalogue::CatalogueFile::kCatalogueName, bytes);
    static const char* const kCategories[] = {"TV", "Radio", "Video", "XXX"};
    const unsigned pick = size == 0 ? 0 : data[size - 1];
    checkCategoryView(folder, kCategories[pick % 4]);
    checkEditorLoadAndExport(folder, records, (pick & 4) != 0);
    return 0;
}
