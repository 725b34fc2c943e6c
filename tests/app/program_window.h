#pragma once
// The real program under a virtual X server: the app shell with real
// widgets, a real mpv player and real web views, started on a temporary
// program folder, every host pointed at a loopback server. Suites derive
// from ProgramWindowBase and say what the server answers and which channels
// the catalogue holds.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_shell.h"
#include "app/report_view.h"
#include "catalogue/line_cipher.h"
#include "fetch/online_test.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"

namespace cd::app {

/// Seconds of a 440 Hz tone, 8-bit mono PCM.
inline std::string toneWav(int seconds = 1) {
    const int rate = 8000;
    std::string pcm;
    for (int i = 0; i < rate * seconds; ++i)
        pcm.push_back(static_cast<char>(128 + static_cast<int>(90 * std::sin(2 * M_PI * 440 * i / rate))));
    auto le32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
                           static_cast<char>((v >> 16) & 0xff), static_cast<char>((v >> 24) & 0xff)};
    };
    auto le16 = [](std::uint16_t v) { return std::string{static_cast<char>(v & 0xff), static_cast<char>(v >> 8)}; };
    return "RIFF" + le32(36 + static_cast<std::uint32_t>(pcm.size())) + "WAVEfmt " + le32(16) + le16(1) + le16(1) +
           le32(rate) + le32(rate) + le16(1) + le16(8) + "data" + le32(static_cast<std::uint32_t>(pcm.size())) + pcm;
}

/// Runs act on the next modal window that passes its check, as a user would
/// answer it; polled, since the window opens inside the click that asks.
inline void whenModal(QObject* owner, std::function<bool(QWidget*)> act) {
    auto* timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();  // before acting: acting may run a nested loop
        if (act(modal))
            timer->deleteLater();
        else
            timer->start();
    });
    timer->start(50);
}

// Presses OK on the next message box that opens, as the user would, and
// gives its text (empty until then). Shared: the wait stays armed after a
// test that gave up on it has returned.
inline std::shared_ptr<std::string> whenMessageBoxRead(QObject* owner) {
    auto told = std::make_shared<std::string>();
    whenModal(owner, [told](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return false;
        *told = box->text().toStdString();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        return true;
    });
    return told;
}

// Picks the entry with this text of the next pop-up menu that opens, as the
// mouse would; a menu without it is closed.
inline void whenPopupChoose(QObject* owner, const QString& text) {
    auto* timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, text] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        for (QAction* a : menu->actions())
            if (a->text().remove('&') == text) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                return;
            }
        menu->close();
    });
    timer->start(50);
}

// Answers the next file dialog that opens with path and Save, as the user
// would.
inline void whenSaveDialogChoose(QObject* owner, const std::filesystem::path& path) {
    whenModal(owner, [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return false;
        // The name put over the suggested one (typing would open the file
        // name completer over the dialog), then a click on Save.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        if (!name || !buttons || !name->isVisible()) return false;
        name->setText(QString::fromStdString(path.string()));
        QTest::mouseClick(buttons->button(QDialogButtonBox::Save), Qt::LeftButton);
        return true;
    });
}

// Opens the File menu from the menu bar and clicks the entry with this text.
inline void clickFileMenuEntry(FormView* view, const QString& text) {
    QMenuBar* bar = view->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QAction* file = bar->actions().front();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
    QMenu* menu = file->menu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    for (QAction* entry : menu->actions()) {
        if (entry->text().remove('&') != text) continue;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
        return;
    }
    FAIL() << "no entry " << text.toStdString();
}

class ProgramWindowBase : public testing::Test {
protected:
    /// Registers the server's answers; the report address is always there.
    virtual void addRoutes() = 0;
    /// Plain catalogue lines ("name|address|category|languages").
    virtual std::vector<std::string> catalogueLines() = 0;
    /// Changes the folder, the configuration or the options before the
    /// first start.
    virtual void beforeStart() {}

    void SetUp() override {
        server_.server().Get("/webtv/getData.asp", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            reports_.push_back(req.get_param_value("strType") + " " + req.get_param_value("strItem"));
            res.set_content("ok", "text/plain");
        });
        addRoutes();
        server_.start();

        std::string data;
        for (const std::string& line : catalogueLines()) data += catalogue::EncodeLine(line) + "\r\n";
        dir_.write("Data.txt", data);
        // Not a first run: no language window, no help.
        dir_.write("settings.ini", "[Settings]\nLanguage=English\nshowHelp=0\nTVLang=All\nRadioLang=All\n");
        std::filesystem::create_directory(dir_ / "registry");

        auto config = platform::Configuration::defaults();
        for (std::string* host : {&config.hosts.catalogue, &config.hosts.language, &config.hosts.banner,
                                  &config.hosts.video, &config.hosts.videoRegional, &config.hosts.videoPlayer})
            *host = server_.host();
        AppShellOptions options;
        options.settingsFile = QString::fromStdString((dir_ / "settings.ini").string());
        options.playerErrorDialogs = false;
        config_ = config;
        options_ = options;
        beforeStart();
        startProgram();
    }

    void startProgram() {
        shell_ = std::make_unique<AppShell>(config_, dir_.path(), dir_ / "registry", options_);
        shell_->start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return program().windows.mainWindow.visible(); }, 10000));
    }

    void TearDown() override {
        if (shell_ && shell_->mainView() && shell_->mainView()->isVisible()) shell_->mainView()->close();
        shell_.reset();
        server_.stop();
    }

    mainwindow::Program& program() { return shell_->program(); }
    ui::MainWindow& form() { return program().windows.mainWindow; }
    QPushButton* button(const char* name) { return shell_->mainView()->widgetAs<QPushButton>(name); }

    /// Clicks the row of channelList with this text, as the mouse would.
    void clickRow(const std::string& name) {
        auto* view = shell_->mainView()->widgetAs<cd::app::ReportView>("ListView1");
        ASSERT_NE(view, nullptr);
        for (int i = 0; i < form().channelList->count(); ++i) {
            if (form().channelList->item(i).text != name) continue;
            const QModelIndex index = view->model()->index(i, 0);
            view->scrollTo(index);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
            return;
        }
        FAIL() << "no row " << name;
    }

    std::vector<std::string> reports() {
        std::lock_guard lock(mutex_);
        return reports_;
    }

    /// Presses a button of the next message box that opens.
    void answerNextBox(QMessageBox::StandardButton which) {
        QTimer::singleShot(50, [which] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->button(which)) box->button(which)->click();
        });
    }

    std::string wav_ = toneWav();
    test::TempDir dir_;
    test::LoopbackServer server_;
    std::mutex mutex_;
    std::vector<std::string> reports_;
    std::unique_ptr<AppShell> shell_;
    platform::Configuration config_;
    AppShellOptions options_;
};

}  // namespace cd::app
