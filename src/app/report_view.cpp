#include "app/report_view.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace cd::app {

ReportView::ReportView(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);  // what keeps a long list cheap: no per-row size queries
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(true);
}

void ReportView::keyPressEvent(QKeyEvent* event) {
    const int before = currentIndex().row();
    QTreeView::keyPressEvent(event);
    const int after = currentIndex().row();
    if (after != before && after >= 0) emit rowReachedByKey(after);
}

}  // namespace cd::app
