// The real window in German, driven as a user drives it: what the player
// says when it cannot play, what the language window says when an update
// brings nothing usable, the time beside the seek bar, and captions that
// the longer German words must not cut.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <atomic>
#include <memory>

#include "app/mpv_player_widget.h"
#include "app/status_label.h"
#include "live_stream.h"
#include "playback/player_failure.h"
#include "program_window.h"
#include "util/text.h"

namespace cd::app {
namespace {

class WindowInputGerman : public ProgramWindowBase {
protected:
    void addRoutes() override {
        // What the language server sends, one answer per request in turn.
        server_.server().Get("/Languages/26/Localization.txt", [this](const httplib::Request&, httplib::Response& res) {
            switch (languageRequests_++) {
                case 0:
                    res.set_content("\x01\x02 no language here \xff", "application/octet-stream");
                    break;
                case 1:
                    res.set_content("", "text/plain");
                    break;
                default:
                    res.status = 404;
                    res.set_content("<html><body>Not Found</body></html>", "text/html");
            }
        });
        server_.server().Get("/endless", [this](const httplib::Request&, httplib::Response& res) {
            serveLive(res, liveSound_, stopping_);
        });
    }

    std::vector<std::string> catalogueLines() override {
        return {"Endless Radio|" + server_.url("/endless") + "|TV|English"};
    }

    void beforeStart() override {
        std::filesystem::copy_file(std::filesystem::path(CD_SOURCE_DIR) / "data" / "Localization.txt",
                                   dir_ / "Localization.txt");
        dir_.write("settings.ini", "[Settings]\nLanguage=Deutsch\nshowHelp=0\nTVLang=All\nRadioLang=All\n");
        options_.playerErrorDialogs = true;
    }

    void TearDown() override {
        *stopping_ = true;
        ProgramWindowBase::TearDown();
    }

    FormView* view() { return shell_->mainView(); }
    const localization::MessageTable& messages() { return program().languages().messages(); }

    /// Clicks the row of the file list with this text.
    void clickFile(const QString& text) {
        auto* files = view()->widgetAs<QListWidget>("File1");
        ASSERT_NE(files, nullptr);
        const auto found = files->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(found.front()).center());
    }

    /// Every shown button, check box, label and panel title of v either
    /// shows its whole caption in its place, or shows what fits and holds
    /// the whole caption in its tooltip.
    static void expectCaptionsReadable(FormView* v, const std::string& where) {
        // The captions are fitted once the window has taken its changes in.
        QTest::qWait(50);
        int checked = 0;
        for (const auto& c : v->form().controls()) {
            QWidget* w = v->widgetFor(c->name(), c->index());
            if (!w || !w->isVisible() || qobject_cast<StatusLabel*>(w)) continue;
            const QString whole = QString::fromStdString(c->caption());
            QString shown;
            bool fits = false;
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                shown = b->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
                fits = b->sizeHint().width() <= b->width();
            } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
                shown = g->title().replace(QStringLiteral("&&"), QStringLiteral("&"));
                fits = g->fontMetrics().horizontalAdvance(g->title()) + g->fontMetrics().height() <= g->width();
            } else if (auto* l = qobject_cast<QLabel*>(w); l && l->pixmap().isNull()) {
                shown = l->text();
                fits = l->wordWrap() ? l->heightForWidth(l->width()) <= l->height()
                                     : l->fontMetrics().horizontalAdvance(shown) <= l->contentsRect().width();
            } else {
                continue;
            }
            if (whole.isEmpty()) continue;
            ++checked;
            EXPECT_TRUE(fits) << where << ": " << c->name() << " is cut: \"" << shown.toStdString() << "\"";
            if (shown != whole) {
                EXPECT_EQ(w->toolTip(), whole) << where << ": " << c->name() << " shows \"" << shown.toStdString()
                                               << "\" without its whole caption";
            }
        }
        EXPECT_GT(checked, 0) << where;
    }

    std::atomic<int> languageRequests_{0};
    std::shared_ptr<std::atomic<bool>> stopping_ = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<const std::string> liveSound_ = std::make_shared<const std::string>(liveBody(60));
};

// Catches the player's error box in English in a German program: its title
// and its text come from the message table, with the file and the reason.
TEST_F(WindowInputGerman, PlayerErrorBoxSpeaksGerman) {
    std::filesystem::create_directory(dir_ / "media");
    const auto broken = dir_.write("media/broken.mp3", std::string(4096, '\x01'));
    QTest::mouseClick(button("cmdFiles"), Qt::LeftButton);
    ASSERT_TRUE(program().localFiles().showFolder((dir_ / "media").string()));
    clickFile(QStringLiteral("broken.mp3"));
    QMessageBox* box = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto boxes = shell_->player()->findChildren<QMessageBox*>();
            box = boxes.isEmpty() ? nullptr : boxes.first();
            return box && box->isVisible();
        },
        10000));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Medienwiedergabe"));
    const QString text = box->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Das Medium ") + QString::fromStdString(broken.string()) +
                                QStringLiteral(" kann nicht abgespielt werden: ")))
        << text.toStdString();
    bool known = false;
    for (auto kind :
         {playback::PlayerFailure::UnknownFormat, playback::PlayerFailure::NotOpened,
          playback::PlayerFailure::NothingToPlay, playback::PlayerFailure::NoOutput, playback::PlayerFailure::Other})
        known = known || text.toStdString() == playback::playerErrorText(messages(), broken.string(), kind);
    EXPECT_TRUE(known) << "the reason is one of the table's: " << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Reason"))) << "no English left";
    box->close();
}

// Catches "Check for language updates" passing in silence when junk, an
// empty file or an error page comes back, or replacing the working file.
TEST_F(WindowInputGerman, LanguageUpdateWithNothingUsableSaysSoAndKeepsTheFile) {
    const std::string before = dir_.read("Localization.txt");
    view()->actionFor("mnuLanguageItem", 0)->trigger();
    FormView* language = shell_->viewFor(program().windows.languageWindow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return language->isVisible(); }, 3000));
    auto* check = language->widgetAs<QPushButton>("Command1");
    ASSERT_NE(check, nullptr);
    const std::string noLanguage = util::fillPlaceholders(messages().getMessages("MSG_LANGUAGENOTDOWNLOADED"),
                                                          {messages().fragment("MSG_REASON_NOLANGUAGE")});
    const std::string errorPage =
        util::fillPlaceholders(messages().getMessages("MSG_LANGUAGENOTDOWNLOADED"),
                               {util::fillPlaceholders(messages().fragment("MSG_REASON_HTTPERROR"), {"404"})});
    ASSERT_EQ(noLanguage.rfind("Vom Sprachserver kam keine brauchbare Sprachdatei", 0), 0u) << noLanguage;
    for (const std::string& expected : {noLanguage, noLanguage, errorPage}) {
        const auto told = whenMessageBoxRead(language);
        QTest::mouseClick(check, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !told->empty(); }, 10000));
        EXPECT_EQ(*told, expected);
        EXPECT_EQ(dir_.read("Localization.txt"), before);
    }
    EXPECT_EQ(languageRequests_.load(), 3);
    QTest::mouseClick(language->widgetAs<QPushButton>("Command2"), Qt::LeftButton);
}

// Catches a file without its position and length beside the seek bar, a
// time that stands still while it plays, and a live stream that keeps the
// seek bar or the time.
TEST_F(WindowInputGerman, FilesShowPositionAndLengthLiveStreamsNeither) {
    std::filesystem::create_directory(dir_ / "media");
    dir_.write("media/three.wav", toneWav(3));
    QTest::mouseClick(button("cmdFiles"), Qt::LeftButton);
    ASSERT_TRUE(program().localFiles().showFolder((dir_ / "media").string()));
    PlayerWidget* player = shell_->playerWidget();
    QLabel* time = player->timeLabel();
    clickFile(QStringLiteral("three.wav"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return time->isVisible() && player->seekSlider()->isVisible(); }, 10000));
    const QRegularExpression shape(QStringLiteral("^0:0[0-3] / 0:03$"));
    EXPECT_TRUE(shape.match(time->text()).hasMatch()) << time->text().toStdString();
    const QString first = time->text();
    EXPECT_TRUE(QTest::qWaitFor([&] { return time->text() != first && shape.match(time->text()).hasMatch(); }, 5000))
        << "the position moves while it plays: " << time->text().toStdString();
    EXPECT_GE(time->width(), time->fontMetrics().horizontalAdvance(time->text())) << "the time is not cut";
    EXPECT_LE(time->geometry().left() - player->seekSlider()->geometry().right(), 12) << "beside the seek bar";

    QSignalSpy started(shell_->player(), &MpvPlayerWidget::playbackStarted);
    QTest::mouseClick(button("cmdTV"), Qt::LeftButton);
    clickRow("Endless Radio");
    ASSERT_TRUE(started.wait(15000)) << form().playerStatus->caption();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !time->isVisible() && !player->seekSlider()->isVisible(); }, 3000))
        << "a live stream has no position to seek: " << time->text().toStdString();
}

// Catches German captions cut off (the language window's prompt and
// "Translate" button, "Meine Dateien"): after a switch to German every
// caption of the main window's panels and of the language window fits its
// place or names itself whole in a tooltip, in the smallest window too.
TEST_F(WindowInputGerman, GermanCaptionsFitOrShowTheirWholeTextAsTooltip) {
    view()->actionFor("mnuLanguageItem", 0)->trigger();
    FormView* language = shell_->viewFor(program().windows.languageWindow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return language->isVisible(); }, 3000));
    auto* combo = language->widgetAs<QComboBox>("Combo1");
    ASSERT_NE(combo, nullptr);
    // English first, then German again: the captions change in a window
    // that is already laid out.
    for (const QString& name : {QStringLiteral("English"), QStringLiteral("Deutsch")}) {
        const int at = combo->findText(name);
        ASSERT_GE(at, 0) << name.toStdString();
        combo->setCurrentIndex(at);
        emit combo->activated(at);
    }
    EXPECT_EQ(button("cmdFiles")->text(), QStringLiteral("Meine Dateien"));
    expectCaptionsReadable(language, "language window");
    auto* translate = language->widgetAs<QPushButton>("Command3");
    EXPECT_EQ(translate->text(), QStringLiteral("Dieses Programm \u00fcbersetzen")) << "there is room to grow";
    QTest::mouseClick(language->widgetAs<QPushButton>("Command2"), Qt::LeftButton);

    for (const char* panel : {"cmdTV", "cmdFavorites", "cmdFiles", "cmdYouTube"}) {
        QTest::mouseClick(button(panel), Qt::LeftButton);
        expectCaptionsReadable(view(), std::string("main window, ") + panel);
    }
    view()->resize(view()->minimumSize());
    QTest::qWait(50);
    for (const char* panel : {"cmdTV", "cmdFiles"}) {
        QTest::mouseClick(button(panel), Qt::LeftButton);
        expectCaptionsReadable(view(), std::string("smallest window, ") + panel);
    }
}

}  // namespace
}  // namespace cd::app
