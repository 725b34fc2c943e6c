#pragma once
// The folder and file lists: a plain list of entries that also tells when the
// user moved the current entry with the keyboard (a mouse pick is reported
// on release by itemClicked, so the two never double up).
#include <QListWidget>

namespace cd::app {

class EntryListWidget : public QListWidget {
    Q_OBJECT
public:
    explicit EntryListWidget(QWidget* parent = nullptr);

signals:
    /// The user moved the current entry with the keyboard.
    void rowReachedByKey(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace cd::app
