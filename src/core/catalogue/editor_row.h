#pragma once
// The editor's row layout of channelList: item text = name, tag = the address
// the row was loaded with, sub-item 1 = category, sub-item 2 = languages,
// sub-item 3 = address. Loading builds it, the editor edits it and saving
// reads the record back out of it.
#include "catalogue/channel_record.h"
#include "ui/list_view.h"

namespace cd::catalogue {

/// The editor row of a record (tag and sub-item 3 both hold the address).
ui::ListItem EditorRow(const RecordFields& fields);

/// The record an editor row stands for: text, sub-item 3, sub-item 1 and
/// sub-item 2; a sub-item the row lacks gives an empty field. The tag is
/// not read, so an address changed in the editor is what gets saved.
ChannelRecord EditorRowRecord(const ui::ListItem& row);

}  // namespace cd::catalogue
