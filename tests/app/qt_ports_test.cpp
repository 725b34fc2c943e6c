#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <fstream>

#include "app/qt_dialogs.h"
#include "app/qt_event_pump.h"
#include "app/qt_settings_store.h"
#include "app/qt_shell.h"
#include "support/temp_dir.h"

// Receives what QDesktopServices would have handed to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void catchUrl(const QUrl& url) { urls.push_back(url); }
};

namespace cd::app {
namespace {

using platform::Answer;
using platform::Buttons;

// Presses a button of the next message box once it is up (or closes it when
// button is NoButton) and records the box's title and text.
struct BoxDriver {
    QMessageBox::StandardButton button = QMessageBox::NoButton;
    QString title, text;
    void arm() {
        QTimer::singleShot(50, [this] { act(); });
    }
    void act() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(50, [this] { act(); });
            return;
        }
        title = box->windowTitle();
        text = box->text();
        if (button == QMessageBox::NoButton)
            box->close();
        else
            box->button(button)->click();
    }
};

// Catches a wrong answer mapping or a title/text that loses its UTF-8 letters.
TEST(QtDialogs, ReturnsTheButtonPressedAndShowsUtf8) {
    QtDialogs dialogs;
    BoxDriver driver;
    driver.button = QMessageBox::Cancel;
    driver.arm();
    EXPECT_EQ(dialogs.messageBox("Caf\xC3\xA9 <b>", "T\xC3\xADtulo", Buttons::OKCancel), Answer::Cancel);
    EXPECT_EQ(driver.title, QStringLiteral("T\u00EDtulo"));
    EXPECT_EQ(driver.text, QStringLiteral("Caf\u00E9 <b>"));

    driver.button = QMessageBox::Retry;
    driver.arm();
    EXPECT_EQ(dialogs.messageBox("x", "y", Buttons::AbortRetryIgnore), Answer::Retry);
    driver.button = QMessageBox::Ok;
    driver.arm();
    EXPECT_EQ(dialogs.messageBox("x", "y", Buttons::OK), Answer::OK);
}

// Catches closing the box being read as OK where the caller asked OK/Cancel.
TEST(QtDialogs, ClosingTheBoxAnswersCancel) {
    QtDialogs dialogs;
    BoxDriver driver;
    driver.arm();
    EXPECT_EQ(dialogs.messageBox("Proceed?", "Question", Buttons::OKCancel), Answer::Cancel);
    driver.arm();
    EXPECT_EQ(dialogs.messageBox("Done.", "Note", Buttons::OK), Answer::OK);
}

// Catches a pump that does not run queued events (a fetch would freeze the window).
TEST(QtEventPump, RunsQueuedEvents) {
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    QtEventPump pump;
    pump.runPending();
    EXPECT_TRUE(ran);
}

// Catches files opened as addresses and addresses without a scheme failing.
TEST(QtShell, OpensPathsAsFilesAndAddressesAsUrls) {
    UrlCatcher catcher;
    for (const char* scheme : {"file", "http", "https"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "catchUrl");
    test::TempDir dir;
    const auto file = dir.write("Help file.html", "<html></html>");
    QtShell shell;
    EXPECT_TRUE(shell.open(file.string()));
    EXPECT_TRUE(shell.open("www.channeldeck.org"));
    EXPECT_TRUE(shell.open("https://example.org/a?b=c"));
    EXPECT_FALSE(shell.open(""));
    for (const char* scheme : {"file", "http", "https"}) QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    ASSERT_EQ(catcher.urls.size(), 3);
    EXPECT_EQ(catcher.urls[0], QUrl::fromLocalFile(QString::fromStdString(file.string())));
    EXPECT_EQ(catcher.urls[1].scheme(), QStringLiteral("http"));
    EXPECT_EQ(catcher.urls[1].host(), QStringLiteral("www.channeldeck.org"));
    EXPECT_EQ(catcher.urls[2].toString(), QStringLiteral("https://example.org/a?b=c"));
}

// Catches settings that are not written through, land outside the section
// "Settings", or lose bytes that are not UTF-8.
TEST(QtSettingsStore, WritesThroughIntoTheSettingsSection) {
    test::TempDir dir;
    const QString ini = QString::fromStdString((dir / "ChannelDeck.ini").string());
    {
        QtSettingsStore store(QtSettingsStore::IniFile{ini});
        EXPECT_FALSE(store.contains("Language"));
        EXPECT_EQ(store.get("Language", "English"), "English");
        EXPECT_TRUE(store.set("Language", "Espa\xC3\xB1ol"));
        EXPECT_TRUE(store.set("Dir", "/media/M\xFCsik"));  // a code-page path, not UTF-8
        EXPECT_EQ(store.status(), QSettings::NoError);
        // Already on disk, before the store goes away.
        QSettings reader(ini, QSettings::IniFormat);
        EXPECT_EQ(reader.value(QStringLiteral("Settings/Language")).toString(), QStringLiteral("Espa\u00F1ol"));
    }
    QtSettingsStore again(QtSettingsStore::IniFile{ini});
    EXPECT_TRUE(again.contains("Language"));
    EXPECT_EQ(again.get("Language", ""), "Espa\xC3\xB1ol");
    EXPECT_EQ(again.get("Dir", ""), "/media/M\xFCsik");
}

// Catches a failed write reported as success.
TEST(QtSettingsStore, ReportsAFileThatCannotBeWritten) {
    test::TempDir dir;
    dir.write("blocker", "a file where a folder should be");
    QtSettingsStore store(QtSettingsStore::IniFile{QString::fromStdString((dir / "blocker" / "s.ini").string())});
    EXPECT_FALSE(store.set("Key", "value"));
    EXPECT_NE(store.status(), QSettings::NoError);
}

// Catches the user store being put under another organisation or name.
TEST(QtSettingsStore, UserStoreIsNamedForTheProduct) {
    test::TempDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(dir.path().string()));
    QtSettingsStore store(QStringLiteral("ChannelDeck"));
    EXPECT_TRUE(store.set("Category", "TV"));
    EXPECT_TRUE(store.fileName().endsWith(QStringLiteral("/ChannelDeck/ChannelDeck.ini")))
        << store.fileName().toStdString();
    std::ifstream in((dir / "ChannelDeck" / "ChannelDeck.ini").string());
    std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(content.find("[Settings]"), std::string::npos);
    EXPECT_NE(content.find("Category=TV"), std::string::npos);
}

}  // namespace
}  // namespace cd::app

#include "qt_ports_test.moc"
