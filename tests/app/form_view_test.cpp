#include "app/form_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/code_page.h"
#include "app/mpv_player_widget.h"
#include "app/player_widget.h"
#include "app/report_view.h"
#include "app/web_view.h"
#include "support/temp_dir.h"
#include "ui/language_window.h"
#include "ui/main_window.h"

namespace cd::app {
namespace {

// A window with one control of each kind the binder handles by itself.
class TestForm : public ui::Form {
public:
    TestForm() : Form("frmTest", "Test & Window") {
        resize(7200, 5400);
        button = &addPlain("CommandButton", "cmdGo", "Go & Run", {}, {120, 120, 1500, 400});
        text = &addPlain("TextBox", "txtName", "", {}, {120, 600, 2400, 315});
        text->setTextKind(ui::TextKind::CodePage);
        check = &place(std::make_unique<ui::CheckBox>("chkOn"), {}, {120, 1000, 2400, 255});
        check->setCaption("On");
        combo = &place(std::make_unique<ui::ComboBox>("cmbPick"), {}, {120, 1300, 2400, 315});
        for (const char* e : {"Alpha", "Beta", "Gamma"}) combo->addItem(e);
        combo->setText("Beta");
        drive = &place(std::make_unique<ui::ListBox>("DriveListBox", "Drive1"), {}, {2700, 120, 2400, 315});
        drive->setEntries({"/", "/media/usb"});
        drive->setCurrent("/");
        dir = &place(std::make_unique<ui::ListBox>("DirListBox", "Dir1"), {}, {2700, 500, 2400, 1500});
        dir->setEntries({"home", "tmp", "var"});
        frame = &addPlain("Frame", "fraBox", "Box", {}, {120, 2100, 3000, 1500});
        inner = &addPlain("Label", "lblIn", "Inside <b>", "fraBox", {120, 240, 2000, 255});
        timer = &add(std::make_unique<ui::Timer>("tmrTick", 20, false));
        menu = &addPlain("Menu", "mnuTools", "T&ools", {}, {});
        entries = {&addPlain("Menu", "mnuTool", "First", "mnuTools", {}, 0),
                   &addPlain("Menu", "mnuTool", "-", "mnuTools", {}, 1),
                   &addPlain("Menu", "mnuTool", "Third", "mnuTools", {}, 2, false)};
    }
    ui::Control& addLater(const std::string& type, const std::string& name, const std::string& container,
                          ui::Geometry g) {
        return addPlain(type, name, "", container, g);
    }

    ui::Control* button;
    ui::Control* text;
    ui::CheckBox* check;
    ui::ComboBox* combo;
    ui::ListBox* drive;
    ui::ListBox* dir;
    ui::Control* frame;
    ui::Control* inner;
    ui::Timer* timer;
    ui::Control* menu;
    std::vector<ui::Control*> entries;
};

// What the user did, as the controls' signals tell it.
struct UiEvent {
    enum Kind { Click, Change, ItemClick, HeaderClick, KeyPress, MenuClick, DoubleClick, Timer };
    std::string control;
    std::optional<int> index;
    Kind kind = Click;
    int column = 0;
    int key = 0;
    int row = -1;
};

// Listens to every signal of every control of a window.
struct Recorder {
    std::vector<UiEvent> events;
    std::function<void(const UiEvent&)> onEvent;

    void watch(ui::Form& form) {
        for (const auto& owned : form.controls()) {
            ui::Control& c = *owned;
            const bool menu = c.typeName() == "Menu";
            c.clicked.connect([this, &c, menu] { record(c, menu ? UiEvent::MenuClick : UiEvent::Click); });
            c.changed.connect([this, &c] { record(c, UiEvent::Change); });
            c.keyPressed.connect([this, &c](int key) { record(c, UiEvent::KeyPress, 0, key); });
            c.ticked.connect([this, &c] { record(c, UiEvent::Timer); });
            if (auto* list = dynamic_cast<ui::ListView*>(&c)) {
                list->itemClicked.connect([this, &c](int row) { record(c, UiEvent::ItemClick, 0, 0, row); });
                list->headerClicked.connect([this, &c](int column) { record(c, UiEvent::HeaderClick, column); });
            }
            if (auto* box = dynamic_cast<ui::ListBox*>(&c)) {
                box->itemClicked.connect([this, &c](int row) { record(c, UiEvent::Click, 0, 0, row); });
                box->itemActivated.connect([this, &c](int row) { record(c, UiEvent::DoubleClick, 0, 0, row); });
            }
        }
    }
    void record(const ui::Control& c, UiEvent::Kind kind, int column = 0, int key = 0, int row = -1) {
        events.push_back(UiEvent{c.name(), c.index(), kind, column, key, row});
        if (onEvent) onEvent(events.back());
    }
};

// Types text the way a keyboard does, characters beyond ASCII included.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

QRect twipsRect(const FormView& view, const ui::Control& c) {
    return view.scale().toPixels(c.left(), c.top(), c.width(), c.height());
}

class FormViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view = std::make_unique<FormView>(form);
        recorder.watch(form);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    TestForm form;
    Recorder recorder;
    std::unique_ptr<FormView> view;
};

// Catches widgets of the wrong kind, in the wrong place, or outside their frame.
TEST_F(FormViewTest, BuildsEachControlAsItsWidgetInPlace) {
    auto* button = view->widgetAs<QPushButton>("cmdGo");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->geometry(), twipsRect(*view, *form.button));
    EXPECT_EQ(button->text(), QStringLiteral("Go && Run"));  // "&" shows literally
    EXPECT_NE(view->widgetAs<QLineEdit>("txtName"), nullptr);
    EXPECT_NE(view->widgetAs<QCheckBox>("chkOn"), nullptr);
    auto* combo = view->widgetAs<QComboBox>("cmbPick");
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), QStringLiteral("Beta"));
    auto* drive = view->widgetAs<QComboBox>("Drive1");
    ASSERT_NE(drive, nullptr);
    EXPECT_FALSE(drive->isEditable());
    EXPECT_EQ(drive->currentText(), QStringLiteral("/"));
    EXPECT_EQ(view->widgetAs<QListWidget>("Dir1")->count(), 3);
    auto* frame = view->widgetAs<QGroupBox>("fraBox");
    auto* inner = view->widgetAs<QLabel>("lblIn");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->parentWidget(), frame);
    EXPECT_EQ(inner->geometry(), twipsRect(*view, *form.inner));
    EXPECT_EQ(inner->text(), QStringLiteral("Inside <b>"));
    EXPECT_EQ(inner->textFormat(), Qt::PlainText);
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Test & Window"));
}

// Catches model changes the widgets do not follow.
TEST_F(FormViewTest, FollowsCaptionTextVisibilityEnabledAndGeometry) {
    auto* button = view->widgetAs<QPushButton>("cmdGo");
    form.button->setCaption("Stop & Go");
    EXPECT_EQ(button->text(), QStringLiteral("Stop && Go"));
    form.button->setEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    form.button->setVisible(false);
    EXPECT_FALSE(button->isVisible());
    form.button->move(600, 900, 3000, 600);
    EXPECT_EQ(button->geometry(), twipsRect(*view, *form.button));
    form.text->setText("Caf\xE9");  // code-page bytes
    EXPECT_EQ(view->widgetAs<QLineEdit>("txtName")->text(), QStringLiteral("Caf\u00E9"));
    form.check->setChecked(true);
    EXPECT_TRUE(view->widgetAs<QCheckBox>("chkOn")->isChecked());
    form.combo->clear();
    form.combo->addItem("Delta");
    EXPECT_EQ(view->widgetAs<QComboBox>("cmbPick")->count(), 1);
    EXPECT_EQ(view->widgetAs<QComboBox>("cmbPick")->currentText(), QString());
    form.setCaption("Renamed");
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Renamed"));
    form.frame->setVisible(false);
    EXPECT_FALSE(view->widgetFor("lblIn")->isVisible());
    EXPECT_TRUE(recorder.events.empty());  // model changes are not user events
}

// Catches a click that is not reported, or reported under another name.
TEST_F(FormViewTest, ButtonClickIsReported) {
    QTest::mouseClick(view->widgetFor("cmdGo"), Qt::LeftButton);
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].control, "cmdGo");
    EXPECT_EQ(recorder.events[0].kind, UiEvent::Click);
    EXPECT_FALSE(recorder.events[0].index.has_value());
    QTest::mouseClick(view->widgetFor("lblIn"), Qt::LeftButton);
    ASSERT_EQ(recorder.events.size(), 2u);
    EXPECT_EQ(recorder.events[1].control, "lblIn");
    EXPECT_EQ(recorder.events[1].kind, UiEvent::Click);
}

// Catches a view that, while it is destroyed, clears the model's selection
// or reports events for the widgets it tears down.
TEST(FormViewLifetime, DestroyingTheViewLeavesTheModelAlone) {
    ui::MainWindow form;
    form.channelList->addItem(ui::ListItem{"One", "", "", {}});
    form.channelList->addItem(ui::ListItem{"Two", "", "", {}});
    form.channelList->select(1);
    form.folderList->setEntries({"a", "b"});
    form.folderList->select(0);
    Recorder recorder;
    {
        FormView view(form);
        recorder.watch(form);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    EXPECT_EQ(form.channelList->selectedIndex(), 1);
    EXPECT_EQ(form.folderList->selectedIndex(), 0);
    EXPECT_TRUE(recorder.events.empty());
}

// Catches typed text reaching the handler before the model has it, or not
// converted to the code page; Enter must come as KeyPress 13.
TEST_F(FormViewTest, TypedTextIsInTheModelBeforeTheEvent) {
    std::vector<std::string> seen;
    recorder.onEvent = [&](const UiEvent&) { seen.push_back(form.text->text()); };
    auto* edit = view->widgetAs<QLineEdit>("txtName");
    edit->setFocus();
    typeText(edit, QStringLiteral("\u20ACx"));
    ASSERT_EQ(recorder.events.size(), 2u);
    EXPECT_EQ(recorder.events[1].kind, UiEvent::Change);
    EXPECT_EQ(seen.back(), "\x80x");
    EXPECT_EQ(form.text->text(), "\x80x");
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(recorder.events.size(), 3u);
    EXPECT_EQ(recorder.events[2].kind, UiEvent::KeyPress);
    EXPECT_EQ(recorder.events[2].key, 13);
}

// Catches a check box whose state reaches the model after the handler ran.
TEST_F(FormViewTest, CheckBoxClickSetsTheModelFirst) {
    bool checkedInHandler = false;
    recorder.onEvent = [&](const UiEvent&) { checkedInHandler = form.check->checked(); };
    QWidget* check = view->widgetFor("chkOn");
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].kind, UiEvent::Click);
    EXPECT_TRUE(checkedInHandler);
}

// Catches typing in a combo box raising Click (only a pick from the list does).
TEST_F(FormViewTest, ComboReportsChangeWhileTypingAndClickOnAPick) {
    auto* combo = view->widgetAs<QComboBox>("cmbPick");
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("Ze"));
    ASSERT_EQ(recorder.events.size(), 2u);
    EXPECT_EQ(recorder.events[0].kind, UiEvent::Change);
    EXPECT_EQ(form.combo->text(), "Ze");
    std::string textInHandler;
    recorder.onEvent = [&](const UiEvent&) { textInHandler = form.combo->text(); };
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    ASSERT_EQ(recorder.events.size(), 3u);
    EXPECT_EQ(recorder.events[2].kind, UiEvent::Click);
    EXPECT_EQ(textInHandler, "Gamma");
}

// Catches drive and folder lists that do not write the pick into the model.
TEST_F(FormViewTest, DriveAndFolderListsReportPicks) {
    auto* drive = view->widgetAs<QComboBox>("Drive1");
    drive->setCurrentIndex(1);
    emit drive->activated(1);
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].kind, UiEvent::Change);
    EXPECT_EQ(form.drive->current(), "/media/usb");

    auto* dir = view->widgetAs<QListWidget>("Dir1");
    const QRect row = dir->visualItemRect(dir->item(1));
    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_EQ(recorder.events.size(), 2u);  // one Click, not one per signal
    EXPECT_EQ(recorder.events[1].kind, UiEvent::Click);
    EXPECT_EQ(form.dir->selectedIndex(), 1);
    // A double click as the mouse makes it: press, release, double click, release.
    const QPoint third = dir->visualItemRect(dir->item(2)).center();
    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, third);
    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, third);
    QTest::mouseRelease(dir->viewport(), Qt::LeftButton, {}, third);
    const auto doubles = std::count_if(recorder.events.begin(), recorder.events.end(),
                                       [](const UiEvent& e) { return e.kind == UiEvent::DoubleClick; });
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(form.dir->selectedIndex(), 2);
    // Keys move and open entries as well.
    const auto before = recorder.events.size();
    QTest::keyClick(dir, Qt::Key_Up);
    ASSERT_EQ(recorder.events.size(), before + 1);
    EXPECT_EQ(recorder.events.back().kind, UiEvent::Click);
    EXPECT_EQ(form.dir->selectedIndex(), 1);
    QTest::keyClick(dir, Qt::Key_Return);
    EXPECT_EQ(recorder.events.back().kind, UiEvent::DoubleClick);
    EXPECT_EQ(form.dir->selectedIndex(), 1);
}

// Catches menus missing from the bar, hidden entries shown, separators shown
// as text, or entry clicks reported without their array index.
TEST_F(FormViewTest, MenusFollowTheModel) {
    ASSERT_NE(view->menuBar(), nullptr);
    QMenu* tools = view->menuFor("mnuTools");
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->title(), QStringLiteral("T&&ools"));
    QAction* first = view->actionFor("mnuTool", 0);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(view->actionFor("mnuTool", 1)->isSeparator());
    EXPECT_FALSE(view->actionFor("mnuTool", 2)->isVisible());
    form.entries[2]->setVisible(true);
    EXPECT_TRUE(view->actionFor("mnuTool", 2)->isVisible());
    form.entries[0]->setCaption("Renamed");
    EXPECT_EQ(first->text(), QStringLiteral("Renamed"));
    form.entries[0]->setEnabled(false);
    EXPECT_FALSE(first->isEnabled());
    form.entries[0]->setEnabled(true);
    first->trigger();
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].kind, UiEvent::MenuClick);
    EXPECT_EQ(recorder.events[0].control, "mnuTool");
    EXPECT_EQ(recorder.events[0].index, 0);
}

// Catches a timer that does not run, or runs while the model has it off.
TEST_F(FormViewTest, TimerTicksWhileEnabled) {
    QTest::qWait(60);
    EXPECT_TRUE(recorder.events.empty());
    form.timer->setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder.events.size() >= 2; }, 2000));
    EXPECT_EQ(recorder.events[0].kind, UiEvent::Timer);
    EXPECT_EQ(recorder.events[0].control, "tmrTick");
    form.timer->setEnabled(false);
    auto count = recorder.events.size();
    QTest::qWait(100);
    EXPECT_EQ(recorder.events.size(), count);
    // A window that is not loaded keeps its timers quiet.
    view->setTimersActive(false);
    form.timer->setEnabled(true);
    QTest::qWait(100);
    EXPECT_EQ(recorder.events.size(), count);
    view->setTimersActive(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder.events.size() > count; }, 2000));
}

// Catches controls added at run time being ignored, and a control moved into
// a new container staying where it was (the banner set-up does both).
TEST_F(FormViewTest, ControlsAddedLaterAreBuiltAndAdoptChildren) {
    ui::Control& box = form.addLater("PictureBox", "picBox", "", {3300, 2100, 3000, 1500});
    QWidget* boxWidget = view->widgetFor("picBox");
    ASSERT_NE(boxWidget, nullptr);
    EXPECT_TRUE(boxWidget->isVisible());
    EXPECT_EQ(boxWidget->geometry(), twipsRect(*view, box));
    form.button->setContainer("picBox");
    form.button->move(0, 0, 1500, 400);
    EXPECT_EQ(view->widgetFor("cmdGo")->parentWidget(), boxWidget);
    EXPECT_EQ(view->widgetFor("cmdGo")->pos(), QPoint(0, 0));
    EXPECT_TRUE(view->widgetFor("cmdGo")->isVisible());
}

// Catches a window resize that is not written into the model in twips, or
// that skips the layout callback.
TEST_F(FormViewTest, WindowResizeReachesTheModel) {
    int layouts = 0;
    view->setOnResized([&] { ++layouts; });
    view->resize(640, 480);
    EXPECT_TRUE(QTest::qWaitFor([&] { return layouts > 0; }, 2000));
    const QSize outer = view->frameGeometry().size();
    EXPECT_EQ(form.width(), view->scale().toTwips(outer.width()));
    EXPECT_EQ(form.height(), view->scale().toTwips(outer.height()));
    // And the other way: the model sizes the window.
    form.resize(view->scale().toTwips(500), view->scale().toTwips(400));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->frameGeometry().width() == 500; }, 2000));
}

// Catches a close request that is not asked, or a window that closes anyway.
TEST_F(FormViewTest, CloseRequestCanKeepTheWindowOpen) {
    form.setVisible(true);
    bool allow = false;
    int asked = 0;
    view->setOnCloseRequest([&] {
        ++asked;
        return allow;
    });
    view->close();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(view->isVisible());
    allow = true;
    view->close();
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(form.visible());
}

// Catches the language window's controls missing or its caption not followed.
TEST(FormViewWindows, LanguageWindowShowsItsControls) {
    ui::LanguageWindow form;
    FormView view(form);
    Recorder recorder;
    recorder.watch(form);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    auto* ok = view.widgetAs<QPushButton>("Command2");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(view.widgetAs<QComboBox>("Combo1")->currentText(), QStringLiteral("Choose Language Here"));
    EXPECT_NE(view.widgetAs<QLabel>("Label1"), nullptr);
    EXPECT_EQ(view.menuBar(), nullptr);
    form.okButton->setCaption("D'accord");
    EXPECT_EQ(ok->text(), QStringLiteral("D'accord"));
    QTest::mouseClick(ok, Qt::LeftButton);
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].control, "Command2");
    EXPECT_EQ(recorder.events[0].kind, UiEvent::Click);
}

// Catches a modal window that does not block (returns at once), is not
// modal because it was already showing, or never returns when the model hides it.
TEST(FormViewWindows, ShowModalWaitsUntilTheModelHidesTheWindow) {
    ui::LanguageWindow form;
    FormView view(form);
    form.setVisible(true);  // already showing, as a caller may have it
    ASSERT_TRUE(view.isVisible());
    QWidget* modalSeen = nullptr;
    QTimer::singleShot(200, [&] {
        modalSeen = QApplication::activeModalWidget();
        form.setVisible(false);
    });
    QElapsedTimer clock;
    clock.start();
    view.showModal();
    EXPECT_GE(clock.elapsed(), 150);
    EXPECT_EQ(modalSeen, &view);
    EXPECT_FALSE(view.isVisible());
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(view.windowModality(), Qt::NonModal);
}

class Form1ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view = std::make_unique<FormView>(form);
        recorder.watch(form);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    ui::MainWindow form;
    Recorder recorder;
    std::unique_ptr<FormView> view;
};

// Catches the main window's menus built wrong: pop-ups in the bar, hidden
// category entries shown, separators as text.
TEST_F(Form1ViewTest, MenuBarAndPopupMenus) {
    QStringList shown;
    for (QAction* a : view->menuBar()->actions())
        if (a->isVisible()) shown << a->text();
    EXPECT_EQ(shown, QStringList({QStringLiteral("File"), QStringLiteral("Categories"), QStringLiteral("Language"),
                                  QStringLiteral("Help")}));
    QMenu* actions = view->menuFor("mnuActions");
    ASSERT_NE(actions, nullptr);
    ASSERT_EQ(actions->actions().size(), 7);
    EXPECT_TRUE(actions->actions()[1]->isSeparator());
    EXPECT_EQ(actions->actions()[4]->text(), QStringLiteral("Rate 3 Stars - It's ok"));
    EXPECT_FALSE(view->actionFor("mnuCatItem", 5)->isVisible());
    EXPECT_TRUE(view->actionFor("mnuCatItem", 8)->isVisible());
    EXPECT_EQ(view->menuFor("mnuHelp")->actions().size(), 2);
    // A pop-up opens at the given place and reports the chosen entry.
    QTimer::singleShot(100, [&] {
        QMenu* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (open) open->actions()[0]->trigger(), open->close();
    });
    view->popupMenu(*form.channelActionsMenu, view->mapToGlobal(QPoint(50, 50)));
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].control, "mnuActionItem");
    EXPECT_EQ(recorder.events[0].index, 0);
}

// Catches panels whose children are not inside them and the video area
// placeholders not in place.
TEST_F(Form1ViewTest, PanelsHoldTheirControls) {
    EXPECT_EQ(view->widgetFor("ListView1")->parentWidget(), view->widgetFor("Frame1"));
    EXPECT_EQ(view->widgetFor("File1")->parentWidget(), view->widgetFor("Frame4"));
    EXPECT_FALSE(view->widgetFor("Frame3")->isVisible());
    EXPECT_NE(view->widgetAs<QPlainTextEdit>("txtData"), nullptr);
    EXPECT_NE(view->widgetAs<QLineEdit>("txtStatus"), nullptr);
    EXPECT_EQ(view->widgetFor("WindowsMediaPlayer1")->geometry(), twipsRect(*view, *form.player));
}

// Catches a slow list (a widget item per row) and a row click that does not
// select the model's row before ItemClick is reported.
TEST_F(Form1ViewTest, HundredThousandRowsStayFastAndClicksSelect) {
    QElapsedTimer clock;
    clock.start();
    form.channelList->beginUpdate();
    for (int i = 0; i < 100000; ++i) {
        ui::ListItem item;
        item.text = "Channel " + std::to_string(i);
        item.tag = "http://127.0.0.1/" + std::to_string(i);
        item.subItems = {"TV", "English"};
        form.channelList->addItem(std::move(item));
    }
    const qint64 modelMs = clock.restart();
    form.channelList->endUpdate();
    auto* tree = view->widgetAs<cd::app::ReportView>("ListView1");
    ASSERT_NE(tree, nullptr);
    tree->scrollToBottom();
    QCoreApplication::processEvents();
    tree->repaint();
    const qint64 shellMs = clock.elapsed();
    RecordProperty("model_ms", static_cast<int>(modelMs));
    RecordProperty("shell_ms", static_cast<int>(shellMs));
    std::printf("100000 rows: model %lld ms, shell %lld ms\n", static_cast<long long>(modelMs),
                static_cast<long long>(shellMs));
    EXPECT_EQ(tree->model()->rowCount(), 100000);
    EXPECT_LT(shellMs, 1500);
    EXPECT_EQ(tree->model()->index(99999, 0).data().toString(), QStringLiteral("Channel 99999"));
    EXPECT_EQ(tree->model()->index(5, 2).data().toString(), QStringLiteral("English"));

    int selectedInHandler = -2;
    recorder.onEvent = [&](const UiEvent&) { selectedInHandler = form.channelList->selectedIndex(); };
    tree->scrollTo(tree->model()->index(500, 0));
    const QRect cell = tree->visualRect(tree->model()->index(500, 0));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].kind, UiEvent::ItemClick);
    EXPECT_EQ(recorder.events[0].control, "ListView1");
    EXPECT_EQ(selectedInHandler, 500);

    // The keyboard moves the selection too, and reports it.
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(form.channelList->selectedIndex(), 501);
    EXPECT_EQ(recorder.events.back().kind, UiEvent::ItemClick);
    // The model's selection shows in the view.
    form.channelList->select(7);
    EXPECT_EQ(tree->currentIndex().row(), 7);
    EXPECT_TRUE(tree->selectionModel()->isRowSelected(7, {}));
}

// Catches single-row changes not shown, and rows served from stale counts.
TEST_F(Form1ViewTest, RowInsertsRemovalsAndChangesShow) {
    auto* tree = view->widgetAs<cd::app::ReportView>("ListView2");
    for (const char* name : {"One", "Two", "Three"}) form.favouritesList->addItem(ui::ListItem{name, "", "", {}});
    EXPECT_EQ(tree->model()->rowCount(), 3);
    form.favouritesList->select(2);
    form.favouritesList->removeItem(0);
    EXPECT_EQ(tree->model()->rowCount(), 2);
    EXPECT_EQ(tree->currentIndex().row(), 1);  // "Three" moved up and stays selected
    form.favouritesList->setItem(0, ui::ListItem{"Zwei", "", "", {"x"}});
    EXPECT_EQ(tree->model()->index(0, 0).data().toString(), QStringLiteral("Zwei"));
    form.favouritesList->removeItem(1);
    EXPECT_EQ(tree->model()->rowCount(), 1);
    EXPECT_FALSE(tree->selectionModel()->hasSelection());
    form.favouritesList->clear();
    EXPECT_EQ(tree->model()->rowCount(), 0);
}

// Catches header clicks that sort in Qt instead of reporting the 1-based column.
TEST_F(Form1ViewTest, HeaderClickReportsTheColumn) {
    for (const char* name : {"b", "a", "c"}) form.channelList->addItem(ui::ListItem{name, "", "", {}});
    auto* tree = view->widgetAs<cd::app::ReportView>("ListView1");
    EXPECT_EQ(tree->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Category"));
    QHeaderView* header = tree->header();
    const int x = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].kind, UiEvent::HeaderClick);
    EXPECT_EQ(recorder.events[0].column, 2);
    EXPECT_EQ(tree->model()->index(0, 0).data().toString(), QStringLiteral("b"));  // order untouched
}

// Catches the player placeholder not replaced in place, or the offline
// picture ending up under the player.
TEST_F(Form1ViewTest, SuppliedWidgetsTakeThePlaceholdersPlace) {
    auto* player = new QWidget;
    ASSERT_TRUE(view->setWidgetFor("WindowsMediaPlayer1", player));
    EXPECT_EQ(view->widgetFor("WindowsMediaPlayer1"), player);
    EXPECT_EQ(player->geometry(), twipsRect(*view, *form.player));
    form.player->move(5520, 2000, 9000, 6000);
    EXPECT_EQ(player->geometry(), twipsRect(*view, *form.player));
    form.player->setVisible(false);
    EXPECT_FALSE(player->isVisible());
    QWidget* offline = view->widgetFor("imgOffline");
    const auto siblings = player->parentWidget()->children();
    EXPECT_LT(siblings.indexOf(player), siblings.indexOf(offline));  // lower in the stacking order
    EXPECT_FALSE(view->setWidgetFor("noSuchControl", new QWidget(view.get())));
}

// Catches the crash on exit: the main window closed and destroyed while the
// player plays and the web views hold pages.
TEST(Form1Lifetime, ClosingTheMainWindowWithThePlayerAliveDoesNotCrash) {
    test::TempDir dir;
    const std::string page = dir.write("youtube.html", "<html><body>video</body></html>").string();
    // Half a second of silence is enough for the player to be busy.
    std::string wav = "RIFF";
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) wav.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    u32(36 + 22050);
    wav += "WAVEfmt ";
    u32(16);
    wav += std::string("\x01\x00\x01\x00", 4);
    u32(22050);
    u32(44100);
    wav += std::string("\x02\x00\x10\x00", 4);
    wav += "data";
    u32(22050);
    wav += std::string(22050, '\0');
    const std::string media = dir.write("silence.wav", wav).string();

    ui::MainWindow form;
    auto* view = new FormView(form);
    auto* player = new PlayerWidget;
    auto* browser = new WebView;
    ASSERT_TRUE(view->setWidgetFor("WindowsMediaPlayer1", player));
    ASSERT_TRUE(view->setWidgetFor("wbyoutube", browser));
    form.videoPage->setVisible(true);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    player->player()->setErrorDialogsEnabled(false);
    QSignalSpy started(player->player(), &MpvPlayerWidget::playbackStarted);
    QSignalSpy loaded(browser, &QWebEngineView::loadFinished);
    player->player()->setUrl(media);
    browser->navigate2(page);
    ASSERT_TRUE(started.count() > 0 || started.wait(8000));
    ASSERT_TRUE(loaded.count() > 0 || loaded.wait(20000));
    QSignalSpy destroyed(view, &QObject::destroyed);
    view->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(destroyed.count(), 1);
    // The model outlives the view: later changes must not reach the dead view.
    form.tvButton->setCaption("TV!");
    form.setCaption("After");
    QTest::qWait(200);
}

}  // namespace
}  // namespace cd::app
