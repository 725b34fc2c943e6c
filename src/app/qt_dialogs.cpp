#include "app/qt_dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

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

namespace {
const QString kPlaylistFilter = QStringLiteral("Playlists (*.m3u *.m3u8 *.pls);;All files (*)");
}

std::optional<std::string> QtDialogs::askPlaylistSource(const std::string& title) {
    QDialog dialog(parent_.data());
    dialog.setObjectName(QStringLiteral("playlistSourceDialog"));
    dialog.setWindowTitle(QString::fromStdString(title));
    auto* field = new QLineEdit(&dialog);
    field->setObjectName(QStringLiteral("playlistSource"));
    field->setMinimumWidth(420);
    field->setPlaceholderText(QStringLiteral("/path/to/list.m3u  or  https://example.org/list.m3u"));
    auto* browse = new QPushButton(QStringLiteral("Browse…"), &dialog);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
    QObject::connect(field, &QLineEdit::textChanged, buttons, [buttons](const QString& text) {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!text.trimmed().isEmpty());
    });
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, field] {
        const QString file = QFileDialog::getOpenFileName(&dialog, dialog.windowTitle(), {}, kPlaylistFilter);
        if (!file.isEmpty()) field->setText(file);
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(field, 1);
    row->addWidget(browse);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("A playlist file or an http/https address:"), &dialog));
    layout->addLayout(row);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QString text = field->text().trimmed();
    if (text.isEmpty()) return std::nullopt;
    return text.toStdString();
}

std::optional<std::filesystem::path> QtDialogs::askPlaylistTarget(const std::string& title,
                                                                  const std::string& suggestedName) {
    QFileDialog dialog(parent_.data(), QString::fromStdString(title), {}, kPlaylistFilter);
    dialog.setObjectName(QStringLiteral("playlistTargetDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("m3u"));
    dialog.setDirectory(QDir::homePath());
    dialog.selectFile(QString::fromStdString(suggestedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

}  // namespace cd::app
