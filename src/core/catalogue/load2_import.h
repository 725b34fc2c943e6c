#pragma once
// The sectioned plain-text import (Load2): a header line holding "[" names
// the section (brackets removed) and the line after it is discarded; after
// it, each pair of lines is a name and a second value. Empty lines and lines
// of exactly one blank are skipped where a name or header is expected.
#include <string>
#include <string_view>
#include <vector>

#include "ui/list_view.h"

namespace cd::catalogue {

/// The rows of a sectioned text: item text = name, sub-item 1 = second
/// value, sub-item 2 = type, sub-item 3 = section text, no tag. A name with
/// no line after it ends the import without a row; so does a header that is
/// the last line, with every row read before it kept.
std::vector<ui::ListItem> ParseSectionedImport(std::string_view text, std::string_view type);

}  // namespace cd::catalogue
