#pragma once
// The report-view list of the window model: column headers, rows with text,
// tag, key and sub-items, one selected row, and the list's own sort settings.
// Rows are plain values so 100,000 of them stay cheap; the shell serves them
// to a QTreeView through one item model.
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "ui/control.h"

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

    int count() const { return static_cast<int>(rows_.size()); }
    bool empty() const { return rows_.empty(); }
    /// Row at position i (0-based) in the order the list shows.
    const ListItem& item(int i) const { return rows_[static_cast<std::size_t>(i)].item; }
    const std::vector<ListItem> items() const;

    /// Appends a row (or puts it at its sorted place while the list is
    /// sorted). Returns the row's position, or -1 when the item has a
    /// non-empty key the list already holds (the row is then not added).
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
    const ListItem* selectedItem() const;
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

    std::vector<std::string> columns_;
    std::vector<Row> rows_;
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
int compareListText(const std::string& a, const std::string& b);

}  // namespace cd::ui
