#include "publish/catalogue_check.h"

#include <optional>

#include "catalogue/channel_record.h"
#include "catalogue/line_cipher.h"
#include "util/lines.h"

namespace cd::server::publish {

namespace {

// Every record the editor exports has the four fields; fewer means damage.
constexpr std::size_t kRecordFields = 4;

std::size_t unusualBytes(std::string_view s) {
    std::size_t n = 0;
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        n += (c < 0x20 || c > 0x7e) ? 1 : 0;
    }
    return n;
}

std::optional<catalogue::RecordFields> fullRecord(std::string_view line) {
    auto fields = catalogue::SplitRecordFields(line);
    if (!fields || fields->fieldCount < kRecordFields) return std::nullopt;
    return fields;
}

CatalogueCheck refuse(std::string why) {
    CatalogueCheck c;
    c.error = std::move(why);
    return c;
}

}  // namespace

CatalogueCheck checkCatalogue(std::string_view body) {
    if (body.size() > kMaxCatalogueBytes) return refuse("the file is larger than 64 MiB");
    std::vector<std::string_view> lines;
    util::forEachLine(body, [&](std::string_view line) {
        lines.push_back(line);
        return true;
    });
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty()) return refuse("the file is empty");
    if (lines.front() != "<data>")
        return refuse("line 1 must be \"<data>\" (lines end with CR LF, as the editor writes them)");
    if (lines.size() < 2 || lines.back() != "</data>")
        return refuse("the last line must be \"</data>\" (is the file cut off?)");

    CatalogueCheck check;
    std::string decoded;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string where = "line " + std::to_string(i + 1);
        if (line.size() > catalogue::kCipherLineLimit)
            return refuse(where + " is longer than " + std::to_string(catalogue::kCipherLineLimit) + " bytes");
        catalogue::DecodeLineInto(line, decoded);
        const auto plain = fullRecord(line);
        const auto encoded = fullRecord(decoded);
        if (!plain && !encoded)
            return refuse(where + " is not a record (name|address|category|languages, encoded or plain)");
        // A line can read as a record both ways only by chance ("<" in an
        // encoded name, "\xbc" in a plain one); the reading with fewer
        // control and high bytes is the text someone typed.
        const bool usePlain = plain && (!encoded || unusualBytes(line) < unusualBytes(decoded));
        const catalogue::RecordFields& f = usePlain ? *plain : *encoded;
        check.records.push_back(
            {std::string(f.name), std::string(f.address), std::string(f.category), std::string(f.languages)});
        ++(usePlain ? check.plainLines : check.encodedLines);
    }
    if (check.records.empty()) return refuse("the file holds no record between \"<data>\" and \"</data>\"");
    check.ok = true;
    return check;
}

}  // namespace cd::server::publish
