#include "app/qt_dialogs.h"

#include <QMessageBox>

namespace cd::app {

using platform::Answer;
using platform::Buttons;

Answer QtDialogs::messageBox(const std::string& text, const std::string& title, Buttons buttons) {
    QMessageBox box(parent_.data());
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(text));
    // Message texts are plain: a "<" in a catalogue name must not start markup.
    box.setTextFormat(Qt::PlainText);
    box.setIcon(buttons == Buttons::OK ? QMessageBox::Information : QMessageBox::Question);
    switch (buttons) {
        case Buttons::OK:
            box.setStandardButtons(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case Buttons::OKCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case Buttons::AbortRetryIgnore:
            box.setIcon(QMessageBox::Warning);
            box.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
            break;
    }
    box.exec();
    const auto* clicked = box.clickedButton();
    switch (clicked ? box.standardButton(box.clickedButton()) : QMessageBox::NoButton) {
        case QMessageBox::Ok:
            return Answer::OK;
        case QMessageBox::Abort:
            return Answer::Abort;
        case QMessageBox::Retry:
            return Answer::Retry;
        case QMessageBox::Ignore:
            return Answer::Ignore;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            return buttons == Buttons::OK ? Answer::OK : Answer::Cancel;
    }
}

}  // namespace cd::app
