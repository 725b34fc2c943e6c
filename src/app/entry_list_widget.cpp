#include "app/entry_list_widget.h"

#include <QKeyEvent>

namespace cd::app {

EntryListWidget::EntryListWidget(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void EntryListWidget::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    const int after = currentRow();
    if (after != before && after >= 0) emit rowReachedByKey(after);
}

}  // namespace cd::app
