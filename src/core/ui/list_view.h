#pragma once
// The report-view list of the window model: column headers, rows with text,
// tag, key and sub-items, one selected row, and the list's own sort settings.
// A list holds rows of its own (favourites, videos, the editor's rows), or
// shows the records of a RowSource without copying them (the channels of a
// category); the shell serves either to a table view through one item model.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "ui/control.h"
#include "ui/row_source.h"

namespace cd::ui {

struct ListItem {
    std::string text;
    std::string tag;
    std::string key;
    /// Sub-item i (counted from 1) is subItems[i - 1]; missing ones read empty.
    std::vector<std::string> subItems;

    const std::string& subItem(int i) const;
    void setSubItem(int i, std::string value);
    /// Text shown in column n (0 = item text, n = sub-item n).
    const std::string& column(int n) const { return n == 0 ? text : subItem(n); }
};

enum class SortOrder { Ascending, Descending };

class ListView : public Control {
public:
    /// Whether a row shows while the list is filtered (a search field).
    using RowFilter = std::function<bool(const ListItem&)>;

    explicit ListView(std::string name);

    /// A row clicked or reached with the keyboard (it is the selected row
    /// by then), with its position.
    Signal<int> itemClicked;
    /// A column header clicked, with its column counted from 1.
    Signal<int> headerClicked;

    // Column headers, counted from 1 as the behaviour counts them.
    int columnCount() const { return static_cast<int>(columns_.size()); }
    const std::string& columnText(int i) const;
    void setColumnText(int i, std::string text);
    void addColumn(std::string text);

    /// The rows shown (see setRowFilter).
    int count() const { return static_cast<int>(source_ ? source_->size() : filter_ ? shown_.size() : rows_.size()); }
    bool empty() const { return count() == 0; }
    /// Row at position i (0-based) in the order the list shows, as a value.
    ListItem item(int i) const;
    /// Parts of row i without a copy (the tag is made); valid until the
    /// list changes.
    std::string_view text(int i) const { return column(i, 0); }
    std::string tag(int i) const;
    std::string_view key(int i) const;
    /// Column n of row i: 0 the text, n sub-item n.
    std::string_view column(int i, int n) const;
    std::vector<ListItem> items() const;

    /// Shows the records of source as the list's rows, in the source's
    /// order (sorted, when the list sorts). The rows are views of the
    /// records: source must not change while it is shown; show another one
    /// instead. The shell hears one reset.
    void showRecords(std::shared_ptr<const RowSource> source);
    /// True while the rows are the records of a source.
    bool showsRecords() const { return source_ != nullptr; }

    /// Hides the rows filter refuses, now and whenever rows are added or
    /// changed; an empty filter shows every row again. Hidden rows stay in
    /// the list: they keep their place, sort with the others, and count in
    /// allCount(), allItem() and hasKey(). Everything else (count(),
    /// positions, selection, the shell) sees the shown rows alone, so a row
    /// acted on is always one the user sees; a hidden row is not selected.
    /// Records shown become rows of the list's own; showing records again
    /// drops the filter.
    void setRowFilter(RowFilter filter);
    bool filtered() const { return static_cast<bool>(filter_); }
    /// Every row, hidden ones too, in the list's order: what a save writes.
    int allCount() const { return static_cast<int>(source_ ? source_->size() : rows_.size()); }
    ListItem allItem(int i) const;

    /// Appends a row (or puts it at its sorted place while the list is
    /// sorted). Returns the row's position, or -1 when the item has a
    /// non-empty key the list already holds (the row is then not added).
    /// A row the filter hides is added and gives count(), past the shown
    /// rows; inside an update the position counts every row.
    /// A list showing records makes them rows of its own first, as every
    /// change below does.
    int addItem(ListItem item);
    /// Replaces row i in place; a sorted list moves it to its sorted place.
    void setItem(int i, ListItem item);
    void removeItem(int i);
    void clear();

    /// Many adds in one go: rows are appended unsorted and the shell hears
    /// one reset at the end, instead of one insert per row.
    void beginUpdate();
    void endUpdate();

    int selectedIndex() const;
    std::optional<ListItem> selectedItem() const;
    /// Selects row i; -1 clears the selection.
    void select(int i);

    bool hasKey(const std::string& key) const { return keys_.count(key) != 0; }

    bool sorted() const { return sorted_; }
    int sortKey() const { return sortKey_; }
    SortOrder sortOrder() const { return sortOrder_; }
    void setSorted(bool on);
    void setSortKey(int key);
    void setSortOrder(SortOrder order);

private:
    struct Row {
        ListItem item;
        std::uint64_t id;
    };
    void resort();
    void sortRows();
    bool before(const Row& a, const Row& b) const;
    int sortedPosition(const Row& row) const;
    /// Turns the records shown into rows of the list's own (before a change).
    void ownRows();
    ListItem recordItem(std::size_t record) const;
    std::uint64_t idAt(int i) const;
    /// The row of the list's own at shown position i.
    std::size_t rowAt(int i) const {
        return filter_ ? shown_[static_cast<std::size_t>(i)] : static_cast<std::size_t>(i);
    }
    /// Finds the shown rows again after rows moved or changed; a selected
    /// row that is hidden now is selected no longer.
    void refilter();
    /// The record shown at position i: the source's own order until the
    /// list sorts (no order is kept for it, 4 bytes a row saved).
    std::size_t recordAt(int i) const {
        return order_.empty() ? static_cast<std::size_t>(i) : order_[static_cast<std::size_t>(i)];
    }

    std::vector<std::string> columns_;
    std::vector<Row> rows_;
    // While records are shown: the source, and the record at each position
    // once the list has sorted them (empty: the source's order).
    // A record's row id is its index + 1, so a selection survives sorting
    // and the change into rows of the list's own.
    std::shared_ptr<const RowSource> source_;
    std::vector<std::uint32_t> order_;
    // While filtered (rows of the list's own only): the rows shown, ascending.
    RowFilter filter_;
    std::vector<std::uint32_t> shown_;
    std::unordered_set<std::string> keys_;
    std::uint64_t nextId_ = 1;
    std::uint64_t selectedId_ = 0;
    int updateDepth_ = 0;
    bool sorted_ = false;
    int sortKey_ = 0;
    SortOrder sortOrder_ = SortOrder::Ascending;
};

/// Compares two texts as the list shows them: ASCII letter case ignored,
/// then by byte value. Negative, zero or positive.
int compareListText(std::string_view a, std::string_view b);

}  // namespace cd::ui
