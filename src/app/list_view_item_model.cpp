#include "app/list_view_item_model.h"

#include <algorithm>

#include "util/display_text.h"

namespace cd::app {

ListViewItemModel::ListViewItemModel(ui::ListView& list, QObject* parent)
    : QAbstractItemModel(parent), list_(list), rows_(list.count()), columns_(listColumns()) {}

int ListViewItemModel::listColumns() const { return std::max(1, list_.columnCount()); }

void ListViewItemModel::apply(const ui::ChangeEvent& change) {
    using ui::Change;
    switch (change.what) {
        case Change::RowsInserted: {
            if (change.count <= 0 || change.first < 0 || change.first > rows_) break;
            beginInsertRows({}, change.first, change.first + change.count - 1);
            rows_ += change.count;
            endInsertRows();
            break;
        }
        case Change::RowsRemoved: {
            const int last = std::min(change.first + change.count, rows_) - 1;
            if (change.first < 0 || last < change.first) break;
            beginRemoveRows({}, change.first, last);
            rows_ -= last - change.first + 1;
            endRemoveRows();
            break;
        }
        case Change::RowsReset:
            beginResetModel();
            rows_ = list_.count();
            columns_ = listColumns();
            endResetModel();
            break;
        case Change::RowChanged:
            if (change.first >= 0 && change.first < rows_)
                emit dataChanged(index(change.first, 0), index(change.first, columns_ - 1), {Qt::DisplayRole});
            break;
        case Change::Columns:
            syncColumns();
            break;
        default:
            break;
    }
    // A count out of step with the list (a missed notification) is mended by
    // a reset rather than left for a view to read past the end.
    if (rows_ != list_.count()) {
        beginResetModel();
        rows_ = list_.count();
        endResetModel();
    }
}

void ListViewItemModel::syncColumns() {
    const int wanted = listColumns();
    if (wanted > columns_) {
        beginInsertColumns({}, columns_, wanted - 1);
        columns_ = wanted;
        endInsertColumns();
    } else if (wanted < columns_) {
        beginRemoveColumns({}, wanted, columns_ - 1);
        columns_ = wanted;
        endRemoveColumns();
    }
    emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

QModelIndex ListViewItemModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || column < 0 || row >= rows_ || column >= columns_) return {};
    return createIndex(row, column);
}

QModelIndex ListViewItemModel::parent(const QModelIndex&) const { return {}; }

int ListViewItemModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ListViewItemModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant ListViewItemModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= list_.count()) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const std::string_view text = list_.column(index.row(), index.column());
    // Stored names are windows-1252, or UTF-8 when imported from a playlist;
    // the core's one decoder tells them apart.
    const std::string shown = list_.textKind() == ui::TextKind::CodePage ? util::displayText(text) : std::string(text);
    return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

QVariant ListViewItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    // Column headers are captions: UTF-8 from the localization file.
    return QString::fromStdString(list_.columnText(section + 1));
}

Qt::ItemFlags ListViewItemModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace cd::app
