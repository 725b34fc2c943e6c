#include "catalogue/editor_row.h"

namespace cd::catalogue {

ui::ListItem EditorRow(const RecordFields& fields) {
    ui::ListItem row;
    row.text.assign(fields.name);
    row.tag.assign(fields.address);
    row.subItems.reserve(3);
    row.subItems.emplace_back(fields.category);
    row.subItems.emplace_back(fields.languages);
    row.subItems.emplace_back(fields.address);
    return row;
}

ChannelRecord EditorRowRecord(const ui::ListItem& row) {
    return ChannelRecord{row.text, row.subItem(3), row.subItem(1), row.subItem(2), 4};
}

}  // namespace cd::catalogue
