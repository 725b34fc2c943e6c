#include "formats/export_check.h"

#include <optional>

#include "formats/line_cipher.h"
#include "util/lines.h"

namespace cd::formats {

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

std::optional<Channel> fullRecord(std::string_view line) {
    std::size_t fields = 0;
    auto channel = parseRecordLine(line, &fields);
    if (!channel || fields < kRecordFields) return std::nullopt;
    return channel;
}

ExportCheck refuse(ExportProblem problem, std::string why, std::size_t line = 0) {
    ExportCheck c;
    c.problem = problem;
    c.line = line;
    c.error = std::move(why);
    return c;
}

}  // namespace

ExportCheck checkExport(std::string_view body) {
    if (body.size() > kMaxExportBytes) return refuse(ExportProblem::TooLarge, "the file is larger than 64 MiB");
    std::vector<std::string_view> lines;
    util::forEachLine(body, [&](std::string_view line) {
        lines.push_back(line);
        return true;
    });
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty()) return refuse(ExportProblem::Empty, "the file is empty");
    if (lines.front() != "<data>")
        return refuse(ExportProblem::NoStartLine,
                      "line 1 must be \"<data>\" (lines end with CR LF, as the editor writes them)", 1);
    if (lines.size() < 2 || lines.back() != "</data>")
        return refuse(ExportProblem::NoEndLine, "the last line must be \"</data>\" (is the file cut off?)",
                      lines.size());

    ExportCheck check;
    std::string decoded;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string where = "line " + std::to_string(i + 1);
        if (line.size() > kCipherLineLimit)
            return refuse(ExportProblem::LineTooLong,
                          where + " is longer than " + std::to_string(kCipherLineLimit) + " bytes", i + 1);
        DecodeLineInto(line, decoded);
        auto plain = fullRecord(line);
        auto encoded = fullRecord(decoded);
        if (!plain && !encoded)
            return refuse(ExportProblem::NotARecord,
                          where + " is not a record (name|address|category|languages, encoded or plain)", i + 1);
        // A line can read as a record both ways only by chance ("<" in an
        // encoded name, "\xbc" in a plain one); the reading with fewer
        // control and high bytes is the text someone typed.
        const bool usePlain = plain && (!encoded || unusualBytes(line) < unusualBytes(decoded));
        check.records.push_back(std::move(usePlain ? *plain : *encoded));
        ++(usePlain ? check.plainLines : check.encodedLines);
    }
    if (check.records.empty())
        return refuse(ExportProblem::NoRecord, "the file holds no record between \"<data>\" and \"</data>\"");
    check.ok = true;
    return check;
}

}  // namespace cd::formats
