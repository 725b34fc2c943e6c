#pragma once
// The table view that shows a window-model list view in report style: flat
// rows, whole-row single selection, clickable headers that report instead of
// sorting (the program sorts its own lists). A table rather than a tree view:
// a tree view keeps a layout record of 40 bytes for every row, 24 MB for the
// 600,000 TV rows of a million-channel catalogue; a table with fixed row
// heights keeps none of its own.
#include <QHeaderView>
#include <QTableView>

namespace cd::app {

class ReportView : public QTableView {
    Q_OBJECT
public:
    explicit ReportView(QWidget* parent = nullptr);

    /// The column headers.
    QHeaderView* header() const { return horizontalHeader(); }

signals:
    /// The user moved the current row with the keyboard.
    void rowReachedByKey(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace cd::app
