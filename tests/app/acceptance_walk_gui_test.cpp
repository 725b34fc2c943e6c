// The walk a new user takes through the real window, for the steps no other
// window test takes: the language box of the channel list, favourites from
// the channel actions menu to the next start, the way back from the video
// tab to TV, the catalogue editor from load to save, and the window at the
// size of the whole screen. Every step is a click or key at the widget and
// a check of what the user then sees.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <functional>

#include "app/mpv_player_widget.h"
#include "catalogue/line_cipher.h"
#include "program_window.h"
#include "util/files.h"
#include "util/lines.h"

namespace cd::app {
namespace {

class WindowInputWalk : public ProgramWindowBase {
protected:
    void addRoutes() override {
        server_.server().Get("/tone.wav", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(wav_, "audio/wav");
        });
        server_.server().Get("/browse", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<html><body><a href=\"/watch?v=abc1\">First clip</a></body></html>", "text/html");
        });
    }

    std::vector<std::string> catalogueLines() override {
        return {"Tone TV|" + server_.url("/tone.wav") + "|TV|English",
                "Ton DE|" + server_.url("/tone.wav?de") + "|TV|German",
                "Tone TV again|" + server_.url("/tone.wav") + "|TV|English"};
    }

    FormView* view() { return shell_->mainView(); }

    void restart(const std::function<void()>& prepare) {
        view()->close();
        shell_.reset();
        prepare();
        startProgram();
    }

    /// Clicks row of a list view, as the mouse would.
    void clickListRow(const char* name, int row) {
        auto* list = view()->widgetAs<ReportView>(name);
        ASSERT_NE(list, nullptr);
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }

    /// Types text into a line edit as the user would: a click, all selected, keys.
    void typeInto(const std::string& name, const QString& text) {
        auto* field = view()->widgetAs<QLineEdit>(name);
        ASSERT_NE(field, nullptr) << name;
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    void click(const std::string& name) {
        auto* b = view()->widgetAs<QPushButton>(name);
        ASSERT_NE(b, nullptr) << name;
        ASSERT_TRUE(b->isVisible()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    /// Answers the next message box with OK and keeps its text.
    std::shared_ptr<std::string> answerOk() { return whenMessageBoxRead(view()); }

    static void choose(QComboBox* box, const QString& text) {
        const int at = box->findText(text);
        ASSERT_GE(at, 0) << text.toStdString();
        box->setCurrentIndex(at);
        emit box->activated(at);
    }
};

// Catches a language box that does not filter, favourites that the channel
// actions menu does not add or rate, that do not play, that a restart loses
// or that removing leaves in the file, a way back to TV that keeps the video
// page, and a window at screen size whose list and player stay small.
TEST_F(WindowInputWalk, LanguageBoxFavouritesBackToTvAndScreenSize) {
    auto* languages = view()->widgetAs<QComboBox>("Combo1");
    ASSERT_NE(languages, nullptr);
    choose(languages, QStringLiteral("German"));
    ASSERT_EQ(form().channelList->count(), 1);
    EXPECT_EQ(form().channelList->item(0).text, "Ton DE");
    choose(languages, QStringLiteral("All"));
    ASSERT_EQ(form().channelList->count(), 3);

    // Added and rated from the channel actions menu.
    clickRow("Tone TV");
    whenPopupChoose(view(), QStringLiteral("Add to Favorites"));
    click("cmdFav");
    ASSERT_EQ(form().favouritesList->count(), 1);
    whenPopupChoose(view(), QStringLiteral("Rate 5 Stars - Love it"));
    click("cmdFav");
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports().size() >= 2; }, 5000));
    EXPECT_NE(std::find(reports().begin(), reports().end(), "FAVORITE Tone TV"), reports().end());

    // Kept over a restart, and played by a click.
    restart([] {});
    click("cmdFavorites");
    ASSERT_EQ(form().favouritesList->count(), 1);
    EXPECT_EQ(view()->widgetAs<ReportView>("ListView2")->model()->index(0, 0).data().toString(),
              QStringLiteral("Tone TV"));
    QSignalSpy started(shell_->player(), &MpvPlayerWidget::playbackStarted);
    clickListRow("ListView2", 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell_->player()->currentUrl() == server_.url("/tone.wav"); }, 5000));
    EXPECT_TRUE(started.count() > 0 || started.wait(15000));

    // Removed: gone from the list and from the file.
    click("Command1");
    EXPECT_EQ(form().favouritesList->count(), 0);
    EXPECT_EQ(dir_.read("Favorites.txt"), "");

    // The video tab and back to TV: the player, not the video page.
    click("cmdYouTube");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program().videoSite().loading(); }, 10000));
    EXPECT_TRUE(shell_->videoView()->isVisible());
    click("cmdTV");
    EXPECT_TRUE(form().channelPanel->visible());
    EXPECT_TRUE(shell_->playerWidget()->isVisible());
    EXPECT_FALSE(shell_->videoView()->isVisible());

    // As large as the screen: the list and the player take the room.
    QWidget* list = view()->widgetFor("ListView1");
    const QSize listBefore = list->size();
    const QSize playerBefore = shell_->playerWidget()->size();
    const QSize screen = view()->screen()->availableGeometry().size();
    view()->resize(screen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view()->size() == screen; }, 2000));
    QCoreApplication::processEvents();
    EXPECT_GT(list->height(), listBefore.height());
    EXPECT_GT(shell_->playerWidget()->width(), playerBefore.width());
    for (const char* name : {"cmdTV", "cmdFiles", "cmdWebsite", "ListView1", "cmdFav"}) {
        QWidget* w = view()->widgetFor(name);
        const QPoint centre = w->mapTo(view(), w->rect().center());
        EXPECT_TRUE(view()->rect().contains(centre)) << name;
        QWidget* top = view()->childAt(centre);
        EXPECT_TRUE(top == w || w->isAncestorOf(top)) << name << " is covered at screen size";
    }
}

// Catches editor buttons that do nothing when clicked: the list empties, the catalogue loads,
// a typed channel is added, a clicked row is edited, find and replace
// renames, duplicates go with a word to the user, the selected row is
// deleted, and the save writes exactly what the list shows.
TEST_F(WindowInputWalk, EditorFromLoadToSave) {
    restart([this] { dir_.write("admin.txt", ""); });
    // The load adds to what the list shows: the owner empties it first.
    click("Clear");
    EXPECT_EQ(form().channelList->count(), 0);
    click("doLoad");
    ASSERT_EQ(form().channelList->count(), 3);

    typeInto("txtAddName", QStringLiteral("Typed TV"));
    typeInto("txtAddType", QStringLiteral("English"));
    typeInto("txtAddURL", QStringLiteral("http://typed.example/tv"));
    choose(view()->widgetAs<QComboBox>("cmbAddCategory"), QStringLiteral("TV"));
    click("cmdAdd");
    ASSERT_EQ(form().channelList->count(), 4);
    EXPECT_EQ(form().channelList->item(3).text, "Typed TV");

    // A click on a row fills the edit boxes; it plays nothing while editing.
    clickListRow("ListView1", 1);
    EXPECT_EQ(view()->widgetAs<QLineEdit>("txtEditName")->text(), QStringLiteral("Ton DE"));
    EXPECT_TRUE(shell_->player()->currentUrl().empty());
    typeInto("txtEditName", QStringLiteral("Ton Deutschland"));
    click("cmdEdit");
    EXPECT_EQ(form().channelList->item(1).text, "Ton Deutschland");

    typeInto("Text2", QStringLiteral("Tone"));
    typeInto("Text3", QStringLiteral("Sound"));
    choose(view()->widgetAs<QComboBox>("Combo2"), QStringLiteral("Channel"));
    click("cmdReplace");
    EXPECT_EQ(form().channelList->item(0).text, "Sound TV");
    EXPECT_EQ(form().channelList->item(2).text, "Sound TV again");

    const auto told = answerOk();
    click("cmdDupes");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !told->empty(); }, 3000));
    EXPECT_EQ(*told, "Deleted 1");
    ASSERT_EQ(form().channelList->count(), 3);

    clickListRow("ListView1", 2);  // Typed TV
    click("DELChannel");
    ASSERT_EQ(form().channelList->count(), 2);

    click("save");
    const auto saved = util::readFile(dir_ / "Data.htm");
    ASSERT_TRUE(saved.has_value());
    std::vector<std::string> names;
    for (const std::string& line : util::readLines(*saved)) {
        const std::string plain = catalogue::DecodeLine(line);
        if (plain.find('|') != std::string::npos) names.push_back(plain.substr(0, plain.find('|')));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Sound TV", "Ton Deutschland"}));
    EXPECT_FALSE(view()->widgetFor("txtData")->isHidden());
}

}  // namespace
}  // namespace cd::app
