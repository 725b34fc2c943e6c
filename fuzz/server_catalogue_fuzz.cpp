// channeldeck-server's check of an uploaded Data.htm: whatever the bytes,
// a file it accepts holds records, and the editor's export of those records
// is accepted again with as many.
#include <cstdint>
#include <string>

#include "formats/channel.h"
#include "formats/line_cipher.h"
#include "fuzz_support.h"
#include "publish/catalogue_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cd;
    const auto check = server::publish::checkCatalogue(fuzz::asText(data, size));
    CD_FUZZ_CHECK(check.ok == check.error.empty());
    CD_FUZZ_CHECK(check.ok == (check.problem == formats::ExportProblem::None));
    if (!check.ok) return 0;
    CD_FUZZ_CHECK(!check.records.empty());
    CD_FUZZ_CHECK(check.records.size() == check.encodedLines + check.plainLines);
    // Written again as the editor would: encoded where the cipher carries the
    // line intact, plain where it holds no CR; a record that is neither is
    // left out of the second round.
    std::string text = "<data>\r\n";
    std::size_t written = 0;
    for (const auto& r : check.records) {
        for (const auto* field : {&r.name, &r.address, &r.category, &r.languages})
            CD_FUZZ_CHECK(field->find('|') == std::string::npos);
        const std::string line = formats::recordLine(r);
        if (formats::EncodesIntact(line))
            text += formats::EncodeLine(line) + "\r\n";
        else if (line.find('\r') == std::string::npos)
            text += line + "\r\n";
        else
            continue;
        ++written;
    }
    if (written == 0) return 0;
    const auto again = server::publish::checkCatalogue(text + "</data>\r\n");
    CD_FUZZ_CHECK(again.ok);
    CD_FUZZ_CHECK(again.records.size() == written);
    return 0;
}
