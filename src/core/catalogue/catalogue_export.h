#pragma once
// Turns the editor rows of a list into record lines, in the order the list
// shows them, and finds the rows that would not come back from the file as
// they are. The export (Data.htm) wraps the lines in "<data>" and "</data>";
// a catalogue (Data.txt) is the lines alone.
#include <string>
#include <string_view>
#include <vector>

#include "ui/list_view.h"

namespace cd::catalogue {

struct RecordLines {
    /// Every written line followed by CR LF.
    std::string text;
    int rowsWritten = 0;
    /// Rows (0-based, display order) written although they will not read
    /// back intact: an encoded row holding byte 204 or 255, or a plain row
    /// holding a CR, which splits its line.
    std::vector<int> alteredRows;
    /// Rows (0-based) left out because their line is longer than
    /// kCipherLineLimit: a reader would fail on them.
    std::vector<int> overlongRows;

    bool hasProblems() const { return !alteredRows.empty() || !overlongRows.empty(); }
};

/// The record line of every row, encoded with EncodeLine unless plain.
RecordLines BuildRecordLines(const ui::ListView& list, bool plain);

/// The bytes of Data.htm: "<data>", the lines, "</data>", each ended by CR LF.
std::string ExportText(const RecordLines& lines);

/// One message naming the rows that were left out of fileName or will not
/// read back intact from it; empty when there are none.
std::string DescribeRowProblems(const ui::ListView& list, const RecordLines& lines, std::string_view fileName);

}  // namespace cd::catalogue
