#pragma once
#include <QPointer>
#include <QWidget>

#include "platform/dialogs.h"

namespace cd::app {

/// Modal message boxes and file questions over the program's window.
class QtDialogs : public platform::Dialogs {
public:
    /// parent: the window the boxes are modal to; may be null and set later.
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParentWidget(QWidget* parent) { parent_ = parent; }

    /// Shows the box and waits for the answer (runs a nested event loop).
    /// Closing the box answers Cancel, or OK for a box that has only OK.
    platform::Answer messageBox(const std::string& text, const std::string& title, platform::Buttons buttons) override;
    /// A field for a path or an address, with a button that browses for a file.
    std::optional<std::string> askPlaylistSource(const std::string& title) override;
    std::optional<std::filesystem::path> askPlaylistTarget(const std::string& title,
                                                           const std::string& suggestedName) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace cd::app
