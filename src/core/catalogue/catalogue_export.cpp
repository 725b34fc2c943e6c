#include "catalogue/catalogue_export.h"

#include "catalogue/editor_row.h"
#include "catalogue/line_cipher.h"
#include "util/text.h"

namespace cd::catalogue {

namespace {

constexpr std::string_view kCrLf = "\r\n";
// Enough to find the rows; the rest are counted.
constexpr std::size_t kRowsNamed = 10;
constexpr std::size_t kNameShown = 40;

// Row names are code-page bytes and message boxes take UTF-8; the row number
// is what identifies a row, so the name is only shown in plain ASCII.
std::string asciiName(const std::string& name) {
    std::string out;
    for (const char c : name.substr(0, kNameShown)) {
        const auto b = static_cast<unsigned char>(c);
        out += (b >= 0x20 && b < 0x7f) ? c : '?';
    }
    if (name.size() > kNameShown) out += "...";
    return out;
}

std::string rowList(const ui::ListView& list, const std::vector<int>& rows) {
    std::string out;
    for (std::size_t i = 0; i < rows.size() && i < kRowsNamed; ++i) {
        out += i == 0 ? "" : ", ";
        out += util::decimal(rows[i] + 1) + " (\"" + asciiName(list.item(rows[i]).text) + "\")";
    }
    if (rows.size() > kRowsNamed)
        out += " and " + util::decimal(static_cast<long long>(rows.size() - kRowsNamed)) + " more";
    return out;
}

std::string rowCount(std::size_t n) { return util::decimal(static_cast<long long>(n)) + (n == 1 ? " row" : " rows"); }

}  // namespace

RecordLines BuildRecordLines(const ui::ListView& list, bool plain) {
    RecordLines out;
    for (int i = 0; i < list.count(); ++i) {
        const std::string line = RecordLine(EditorRowRecord(list.item(i)));
        if (line.size() > kCipherLineLimit) {
            out.overlongRows.push_back(i);
            continue;
        }
        if (plain) {
            if (line.find('\r') != std::string::npos) out.alteredRows.push_back(i);
            out.text += line;
        } else {
            if (!EncodesIntact(line)) out.alteredRows.push_back(i);
            out.text += EncodeLine(line);
        }
        out.text += kCrLf;
        ++out.rowsWritten;
    }
    return out;
}

std::string ExportText(const RecordLines& lines) {
    std::string text;
    text.reserve(lines.text.size() + 17);
    text += "<data>";
    text += kCrLf;
    text += lines.text;
    text += "</data>";
    text += kCrLf;
    return text;
}

std::string DescribeRowProblems(const ui::ListView& list, const RecordLines& lines, std::string_view fileName) {
    std::string msg;
    if (!lines.alteredRows.empty()) {
        msg += rowCount(lines.alteredRows.size()) + " of the list " + (lines.alteredRows.size() == 1 ? "was" : "were") +
               " written to " + std::string(fileName) +
               " but will not read back as typed: the character with code 204 turns into a line break "
               "(splitting the channel in two), code 255 comes back as code 0, and in a plain export a "
               "line break splits the line. Rows: " +
               rowList(list, lines.alteredRows) + ".";
    }
    if (!lines.overlongRows.empty()) {
        if (!msg.empty()) msg += "\n\n";
        msg += rowCount(lines.overlongRows.size()) + " of the list " +
               (lines.overlongRows.size() == 1 ? "was" : "were") + " left out of " + std::string(fileName) +
               " because the channel's line would be longer than " + util::decimal(kCipherLineLimit) +
               " characters, which no catalogue reader accepts. Rows: " + rowList(list, lines.overlongRows) + ".";
    }
    if (!msg.empty()) msg += "\n\nShorten or correct these rows and save again.";
    return msg;
}

}  // namespace cd::catalogue
