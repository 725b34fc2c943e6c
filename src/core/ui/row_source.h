#pragma once
// Records a list view shows without holding them: the list's rows are views
// of records kept elsewhere (the channels of the category view), so a list of
// half a million channels costs the channels once, not once more per row.
#include <cstddef>
#include <string>
#include <string_view>

namespace cd::ui {

class RowSource {
public:
    virtual ~RowSource() = default;
    virtual std::size_t size() const = 0;
    /// The row's text (column 0), tag and key for record i. The tag is made
    /// on request (a source may keep it in pieces); it is read on a click,
    /// not on a repaint.
    virtual std::string_view text(std::size_t i) const = 0;
    virtual std::string tag(std::size_t i) const = 0;
    virtual std::string_view key(std::size_t) const { return {}; }
    /// How many sub-items every record has.
    virtual int subItemCount() const = 0;
    /// Sub-item n (counted from 1) of record i; "" past subItemCount().
    virtual std::string_view subItem(std::size_t i, int n) const = 0;
};

}  // namespace cd::ui
