#pragma once
// The tree view that shows a window-model list view in report style: flat
// rows, whole-row single selection, clickable headers that report instead of
// sorting (the program sorts its own lists).
#include <QTreeView>

namespace cd::app {

class ReportView : public QTreeView {
    Q_OBJECT
public:
    explicit ReportView(QWidget* parent = nullptr);

signals:
    /// The user moved the current row with the keyboard.
    void rowReachedByKey(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace cd::app
