#pragma once
// Serves the rows of a window-model list view to the shell's table view on demand: no
// item object per row, so a list of 100,000 channels costs only the rows on
// screen. The list's order is the model's; the view never sorts.
#include <QAbstractItemModel>

#include "ui/change.h"
#include "ui/list_view.h"

namespace cd::app {

class ListViewItemModel : public QAbstractItemModel {
    Q_OBJECT
public:
    /// list must outlive the model.
    explicit ListViewItemModel(ui::ListView& list, QObject* parent = nullptr);

    ui::ListView& list() const { return list_; }

    /// Tells the views about a change the list has already made (the list
    /// notifies after the fact; the model keeps the counts the views know).
    void apply(const ui::ChangeEvent& change);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int listColumns() const;
    void syncColumns();

    ui::ListView& list_;
    int rows_;
    int columns_;
};

}  // namespace cd::app
