// The sectioned plain-text import (Load2): the parser on its own, then the
// editor's button over the same bytes as a file, and the export of the rows.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/catalogue_export.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/load2_import.h"
#include "fuzz_support.h"
#include "support/fakes.h"
#include "util/lines.h"

namespace {

using namespace cd;

constexpr const char* kImportName = "import.txt";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::asText(data, size);
    // The type box text comes from the input's last bytes so that it, too,
    // holds whatever a user may type.
    const std::size_t typeLength = size == 0 ? 0 : data[0] % 8;
    const std::string type(bytes.substr(bytes.size() - std::min(typeLength, bytes.size())));

    const auto rows = catalogue::ParseSectionedImport(bytes, type);
    std::size_t lines = 0;
    util::forEachLine(bytes, [&](std::string_view) {
        ++lines;
        return true;
    });
    // Every row takes two lines, a name and its second value.
    CD_FUZZ_CHECK(2 * rows.size() <= lines);
    for (const auto& row : rows) {
        CD_FUZZ_CHECK(row.tag.empty());
        CD_FUZZ_CHECK(row.subItems.size() == 3);
        CD_FUZZ_CHECK(row.subItem(2) == type);
        CD_FUZZ_CHECK(!row.text.empty() && row.text != " ");
        CD_FUZZ_CHECK(row.text.find('[') == std::string::npos);
        CD_FUZZ_CHECK(row.subItem(3).find('[') == std::string::npos);
        CD_FUZZ_CHECK(row.subItem(3).find(']') == std::string::npos);
    }

    fuzz::ScratchFolder::write(kImportName, bytes);
    ui::MainWindow form;
    test::FakeDialogs dialogs;
    catalogue::CatalogueFile file(form, dialogs, fuzz::ScratchFolder::path(), "ChannelDeck");
    form.importFileText->setText(kImportName);
    form.importCategoryText->setText(type);
    const auto outcome = file.Load2();
    CD_FUZZ_CHECK(outcome.fileRead);
    CD_FUZZ_CHECK(outcome.rowsAdded == static_cast<int>(rows.size()));
    CD_FUZZ_CHECK(form.channelList->count() == static_cast<int>(rows.size()));
    for (int i = 0; i < form.channelList->count(); ++i) {
        CD_FUZZ_CHECK(form.channelList->item(i).text == rows[static_cast<std::size_t>(i)].text);
        CD_FUZZ_CHECK(form.channelList->item(i).subItems == rows[static_cast<std::size_t>(i)].subItems);
    }

    const auto recordLines = catalogue::BuildRecordLines(*form.channelList, true);
    CD_FUZZ_CHECK(recordLines.rowsWritten + static_cast<int>(recordLines.overlongRows.size()) ==
                  static_cast<int>(rows.size()));
    return 0;
}
