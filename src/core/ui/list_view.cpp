#include "ui/list_view.h"

#include <algorithm>
#include <numeric>

#include "util/text.h"

namespace cd::ui {

namespace {
const std::string kEmpty;
}

const std::string& ListItem::subItem(int i) const {
    if (i < 1 || static_cast<std::size_t>(i) > subItems.size()) return kEmpty;
    return subItems[static_cast<std::size_t>(i - 1)];
}

void ListItem::setSubItem(int i, std::string value) {
    if (i < 1) return;
    if (subItems.size() < static_cast<std::size_t>(i)) subItems.resize(static_cast<std::size_t>(i));
    subItems[static_cast<std::size_t>(i - 1)] = std::move(value);
}

int compareListText(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(util::asciiLower(a[i]));
        const auto cb = static_cast<unsigned char>(util::asciiLower(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

ListView::ListView(std::string name) : Control("ListView", std::move(name)) { setTextKind(TextKind::CodePage); }

const std::string& ListView::columnText(int i) const {
    if (i < 1 || i > columnCount()) return kEmpty;
    return columns_[static_cast<std::size_t>(i - 1)];
}

void ListView::setColumnText(int i, std::string text) {
    if (i < 1 || i > columnCount()) return;
    columns_[static_cast<std::size_t>(i - 1)] = std::move(text);
    notify(Change::Columns);
}

void ListView::addColumn(std::string text) {
    columns_.push_back(std::move(text));
    notify(Change::Columns);
}

ListItem ListView::recordItem(std::size_t record) const {
    ListItem item;
    item.text.assign(source_->text(record));
    item.tag = source_->tag(record);
    item.key.assign(source_->key(record));
    const int n = source_->subItemCount();
    item.subItems.reserve(static_cast<std::size_t>(n));
    for (int k = 1; k <= n; ++k) item.subItems.emplace_back(source_->subItem(record, k));
    return item;
}

ListItem ListView::item(int i) const {
    if (source_) return recordItem(recordAt(i));
    return rows_[rowAt(i)].item;
}

ListItem ListView::allItem(int i) const {
    if (source_) return recordItem(recordAt(i));
    return rows_[static_cast<std::size_t>(i)].item;
}

std::string ListView::tag(int i) const {
    if (source_) return source_->tag(recordAt(i));
    return rows_[rowAt(i)].item.tag;
}

std::string_view ListView::key(int i) const {
    if (source_) return source_->key(recordAt(i));
    return rows_[rowAt(i)].item.key;
}

std::string_view ListView::column(int i, int n) const {
    if (source_) {
        const std::size_t record = recordAt(i);
        return n == 0 ? source_->text(record) : source_->subItem(record, n);
    }
    return rows_[rowAt(i)].item.column(n);
}

std::vector<ListItem> ListView::items() const {
    std::vector<ListItem> out;
    out.reserve(static_cast<std::size_t>(count()));
    for (int i = 0; i < count(); ++i) out.push_back(item(i));
    return out;
}

std::uint64_t ListView::idAt(int i) const {
    if (source_) return std::uint64_t{recordAt(i)} + 1;
    return rows_[rowAt(i)].id;
}

void ListView::setRowFilter(RowFilter filter) {
    ownRows();
    filter_ = std::move(filter);
    shown_.clear();
    if (filter_) refilter();
    if (updateDepth_ > 0) return;
    notify(Change::RowsReset);
    notify(Change::Selection);
}

void ListView::refilter() {
    if (!filter_) return;
    shown_.clear();
    bool selectedShown = false;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (!filter_(rows_[r].item)) continue;
        shown_.push_back(static_cast<std::uint32_t>(r));
        if (rows_[r].id == selectedId_) selectedShown = true;
    }
    // A click or a remove must never reach a row the user cannot see.
    if (!selectedShown) selectedId_ = 0;
}

void ListView::showRecords(std::shared_ptr<const RowSource> source) {
    rows_.clear();
    keys_.clear();
    source_ = std::move(source);
    order_.clear();
    order_.shrink_to_fit();
    filter_ = nullptr;
    shown_.clear();
    selectedId_ = 0;
    if (updateDepth_ > 0) return;
    if (sorted_) sortRows();
    notify(Change::RowsReset);
    notify(Change::Selection);
}

void ListView::ownRows() {
    if (!source_) return;
    std::vector<Row> rows;
    const int n = count();
    rows.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const std::size_t record = recordAt(i);
        ListItem item = recordItem(record);
        if (!item.key.empty()) keys_.insert(item.key);
        rows.push_back(Row{std::move(item), std::uint64_t{record} + 1});
    }
    nextId_ = std::max<std::uint64_t>(nextId_, source_->size() + 1);
    rows_.swap(rows);
    source_.reset();
    order_.clear();
}

bool ListView::before(const Row& a, const Row& b) const {
    const int c = compareListText(a.item.column(sortKey_), b.item.column(sortKey_));
    return sortOrder_ == SortOrder::Ascending ? c < 0 : c > 0;
}

int ListView::sortedPosition(const Row& row) const {
    const auto it =
        std::upper_bound(rows_.begin(), rows_.end(), row, [this](const Row& a, const Row& b) { return before(a, b); });
    return static_cast<int>(it - rows_.begin());
}

int ListView::addItem(ListItem item) {
    ownRows();
    if (!item.key.empty()) {
        if (!keys_.insert(item.key).second) return -1;
    }
    Row row{std::move(item), nextId_++};
    if (updateDepth_ > 0) {
        // Shown rows are found again at the end of the update.
        rows_.push_back(std::move(row));
        return static_cast<int>(rows_.size()) - 1;
    }
    const int at = sorted_ ? sortedPosition(row) : static_cast<int>(rows_.size());
    const bool shows = !filter_ || filter_(row.item);
    rows_.insert(rows_.begin() + at, std::move(row));
    if (!filter_) {
        notify(Change::RowsInserted, at, 1);
        return at;
    }
    // The shown rows at and after the new one moved down by one.
    const auto first = std::lower_bound(shown_.begin(), shown_.end(), static_cast<std::uint32_t>(at));
    for (auto it = first; it != shown_.end(); ++it) ++*it;
    if (!shows) return count();
    const int pos = static_cast<int>(first - shown_.begin());
    shown_.insert(first, static_cast<std::uint32_t>(at));
    notify(Change::RowsInserted, pos, 1);
    return pos;
}

void ListView::setItem(int i, ListItem item) {
    if (i < 0 || i >= count()) return;
    ownRows();
    Row& row = rows_[rowAt(i)];
    if (row.item.key != item.key) {
        if (!item.key.empty() && keys_.count(item.key)) return;
        keys_.erase(row.item.key);
        if (!item.key.empty()) keys_.insert(item.key);
    }
    row.item = std::move(item);
    if ((sorted_ || filter_) && updateDepth_ == 0) {
        // It may move, or no longer show (or show again, elsewhere).
        resort();
        return;
    }
    if (updateDepth_ == 0) notify(Change::RowChanged, i, 1);
}

void ListView::removeItem(int i) {
    if (i < 0 || i >= count()) return;
    ownRows();
    const std::size_t r = rowAt(i);
    auto it = rows_.begin() + static_cast<std::ptrdiff_t>(r);
    if (!it->item.key.empty()) keys_.erase(it->item.key);
    const bool wasSelected = it->id == selectedId_;
    rows_.erase(it);
    if (filter_) {
        shown_.erase(shown_.begin() + i);
        for (auto s = shown_.begin() + i; s != shown_.end(); ++s) --*s;
    }
    if (wasSelected) selectedId_ = 0;
    if (updateDepth_ > 0) return;
    notify(Change::RowsRemoved, i, 1);
    if (wasSelected) notify(Change::Selection);
}

void ListView::clear() {
    const bool hadSelection = selectedId_ != 0;
    rows_.clear();
    keys_.clear();
    source_.reset();
    order_.clear();
    shown_.clear();
    selectedId_ = 0;
    if (updateDepth_ > 0) return;
    notify(Change::RowsReset);
    if (hadSelection) notify(Change::Selection);
}

void ListView::beginUpdate() { ++updateDepth_; }

void ListView::endUpdate() {
    if (updateDepth_ == 0) return;
    if (--updateDepth_ > 0) return;
    if (sorted_) sortRows();
    refilter();
    notify(Change::RowsReset);
    notify(Change::Selection);
}

int ListView::selectedIndex() const {
    if (selectedId_ == 0) return -1;
    const int n = count();
    for (int i = 0; i < n; ++i)
        if (idAt(i) == selectedId_) return i;
    return -1;
}

std::optional<ListItem> ListView::selectedItem() const {
    const int i = selectedIndex();
    if (i < 0) return std::nullopt;
    return item(i);
}

void ListView::select(int i) {
    const std::uint64_t id = (i < 0 || i >= count()) ? 0 : idAt(i);
    if (id == selectedId_) return;
    selectedId_ = id;
    notify(Change::Selection);
}

void ListView::resort() {
    // Inside an update the rows are sorted once, at its end: changing key and
    // order together then costs one sort, not two.
    if (updateDepth_ > 0) return;
    if (sorted_) sortRows();
    refilter();
    notify(Change::RowsReset);
    notify(Change::Selection);
}

void ListView::sortRows() {
    // Every row, hidden ones too: the order is the list's, and a filter
    // removed later shows it whole.
    const std::size_t n = static_cast<std::size_t>(allCount());
    if (n < 2) return;
    // Each row's key is folded to lower case once, instead of in every one of
    // the n log n comparisons; comparing the folded bytes as unsigned values
    // (what std::string's ordering does) is exactly compareListText. The
    // rows then move once, into their sorted places.
    std::vector<std::string> keys(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view text =
            source_ ? column(static_cast<int>(i), sortKey_) : std::string_view(rows_[i].item.column(sortKey_));
        std::string& key = keys[i];
        key.resize(text.size());
        std::transform(text.begin(), text.end(), key.begin(), util::asciiLower);
    }
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    const bool ascending = sortOrder_ == SortOrder::Ascending;
    std::stable_sort(order.begin(), order.end(), [&keys, ascending](std::size_t a, std::size_t b) {
        return ascending ? keys[a] < keys[b] : keys[b] < keys[a];
    });
    if (source_) {
        std::vector<std::uint32_t> sortedRecords(n);
        for (std::size_t i = 0; i < n; ++i)
            sortedRecords[i] = static_cast<std::uint32_t>(recordAt(static_cast<int>(order[i])));
        order_.swap(sortedRecords);
        return;
    }
    std::vector<Row> sorted;
    sorted.reserve(n);
    for (const std::size_t i : order) sorted.push_back(std::move(rows_[i]));
    rows_.swap(sorted);
}

void ListView::setSorted(bool on) {
    if (on == sorted_) return;
    sorted_ = on;
    if (on) resort();
}

void ListView::setSortKey(int key) {
    if (key == sortKey_) return;
    sortKey_ = key;
    if (sorted_) resort();
}

void ListView::setSortOrder(SortOrder order) {
    if (order == sortOrder_) return;
    sortOrder_ = order;
    if (sorted_) resort();
}

}  // namespace cd::ui
