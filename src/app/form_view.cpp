#include "app/form_view.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QCursor>
#include <QEventLoop>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <vector>

#include "app/caption_fit.h"
#include "app/code_page.h"
#include "app/entry_list_widget.h"
#include "app/form_menus.h"
#include "app/list_view_item_model.h"
#include "app/report_view.h"
#include "app/status_label.h"
#include "ui/combo_box.h"
#include "ui/list_view.h"
#include "ui/simple_controls.h"

namespace cd::app {

namespace {

class EscapeKeyFilter : public QObject {
public:
    EscapeKeyFilter(std::function<void()> onEscape, QObject* parent)
        : QObject(parent), onEscape_(std::move(onEscape)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier) return false;
        event->accept();
        if (event->type() == QEvent::KeyPress) onEscape_();
        return event->type() == QEvent::KeyPress;
    }

private:
    std::function<void()> onEscape_;
};

}  // namespace

namespace {

// A text box taller than this is the multi-line kind (exportText, 3800 twips).
constexpr int kMultiLineTwips = 1000;

bool isPicture(const ui::Control& c) { return c.typeName() == "PictureBox" || c.typeName() == "Image"; }
bool isLabel(const ui::Control& c) { return c.typeName() == "Label" || c.typeName() == "SkinLabel"; }

QString decode(const ui::Control& c, const std::string& bytes) {
    return c.textKind() == ui::TextKind::CodePage ? CodePage::toUnicode(bytes) : QString::fromStdString(bytes);
}

std::string encode(const ui::Control& c, const QString& text) {
    return c.textKind() == ui::TextKind::CodePage ? CodePage::fromUnicode(text) : text.toStdString();
}

QStringList decodeAll(const ui::Control& c, const std::vector<std::string>& entries) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(entries.size()));
    for (const auto& e : entries) out.push_back(decode(c, e));
    return out;
}

// Marks a model-to-widget update, so the widget signals it causes are not
// taken for user input.
class Syncing {
public:
    explicit Syncing(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~Syncing() { flag_ = old_; }
    Syncing(const Syncing&) = delete;
    Syncing& operator=(const Syncing&) = delete;

private:
    bool& flag_;
    bool old_;
};

}  // namespace

FormView::FormView(ui::Form& form, QWidget* parent)
    : QWidget(parent), form_(form), scale_(TwipsScale::forScreen(screen())), alive_(std::make_shared<FormView*>(this)) {
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    canvas_ = new QWidget(this);
    layout_->addWidget(canvas_);

    for (const auto& c : form_.controls()) build(*c);
    // Containers may come after what they hold in the control order: place
    // everything once all widgets exist.
    for (const auto& c : form_.controls()) {
        Bound& b = *bound_.at(c.get());
        place(b);
        applyAll(b);
    }
    setWindowTitle(QString::fromStdString(form_.caption()));
    applyWindowSize();

    // The form keeps its listeners for its whole life; this one goes quiet
    // when the view is gone.
    std::weak_ptr<FormView*> weak = alive_;
    form_.subscribeAll([weak](ui::Control* control, const ui::ChangeEvent& change) {
        if (const auto view = weak.lock(); view && *view) (*view)->onChange(control, change);
    });
}

FormView::~FormView() {
    *alive_ = nullptr;
    // Widgets send signals while they are torn down (a view losing its rows
    // moves its current row): nothing of that may reach the model or the
    // handlers. So the widgets go now, while the bookkeeping they call into
    // still exists, with every binding marked as a model-side update.
    for (auto& [control, bound] : bound_) {
        bound->syncing = true;
        if (bound->timer) bound->timer->stop();
    }
    delete menuBar_;
    delete canvas_;
}

// ---- building -------------------------------------------------------------

void FormView::build(ui::Control& control) {
    if (bound_.count(&control)) return;
    auto bound = std::make_unique<Bound>();
    bound->control = &control;
    Bound& b = *bound;
    bound_.emplace(&control, std::move(bound));
    if (control.typeName() == "Menu") {
        ensureMenuBar();
        menus_->add(control);
        return;
    }
    if (control.typeName() == "Timer") {
        b.timer = new QTimer(this);
        if (const auto* t = dynamic_cast<const ui::Timer*>(&control)) b.timer->setInterval(t->interval());
        connect(b.timer, &QTimer::timeout, this, [&b] { b.control->ticked.raise(); });
        return;
    }
    b.widget = createWidget(b);
}

QWidget* FormView::createWidget(Bound& b) {
    ui::Control& c = *b.control;
    const std::string& type = c.typeName();
    QWidget* w = nullptr;
    if (type == "CommandButton") {
        auto* button = new QPushButton(canvas_);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [&b] { b.control->clicked.raise(); });
        w = button;
    } else if (isLabel(c) || isPicture(c)) {
        auto* label = new QLabel(canvas_);
        label->setAlignment(isPicture(c) ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(!isPicture(c));
        label->setTextFormat(Qt::PlainText);
        label->installEventFilter(this);
        clickable_[label] = &b;
        w = label;
    } else if (type == "StatusLine") {
        w = new StatusLabel(canvas_);
    } else if (type == "Frame") {
        // Opaque: the editor panel lies over the player, whose black picture
        // would otherwise show through and hide the panel's dark captions.
        w = new QGroupBox(canvas_);
        w->setAutoFillBackground(true);
    } else if (type == "TextBox") {
        if (c.height() > kMultiLineTwips) {
            auto* edit = new QPlainTextEdit(canvas_);
            edit->setReadOnly(true);
            edit->setLineWrapMode(QPlainTextEdit::NoWrap);
            w = edit;
        } else {
            auto* edit = new QLineEdit(canvas_);
            connect(edit, &QLineEdit::textEdited, this, [this, &b](const QString& text) {
                b.control->setText(encode(*b.control, text));
                b.control->changed.raise();
            });
            connect(edit, &QLineEdit::returnPressed, this, [this, &b] { b.control->keyPressed.raise(13); });
            // Esc in a field is the field's (a search field empties itself),
            // ahead of any shortcut of the window.
            edit->installEventFilter(new EscapeKeyFilter([&b] { b.control->keyPressed.raise(27); }, edit));
            w = edit;
        }
    } else if (type == "ComboBox") {
        auto* combo = new QComboBox(canvas_);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setMaxVisibleItems(20);
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, &b](const QString& text) {
            if (b.syncing) return;
            b.control->setText(encode(*b.control, text));
            b.control->changed.raise();
        });
        connect(combo, &QComboBox::activated, this, [this, &b, combo](int i) {
            if (b.syncing) return;
            b.control->setText(encode(*b.control, combo->itemText(i)));
            b.control->clicked.raise();
        });
        w = combo;
    } else if (type == "CheckBox") {
        auto* check = new QCheckBox(canvas_);
        connect(check, &QCheckBox::clicked, this, [this, &b](bool on) {
            if (auto* model = dynamic_cast<ui::CheckBox*>(b.control)) model->setChecked(on);
            b.control->clicked.raise();
        });
        w = check;
    } else if (type == "ListView") {
        auto* view = new ReportView(canvas_);
        wireListView(b, view);
        w = view;
    } else if (type == "DriveListBox") {
        auto* combo = new QComboBox(canvas_);
        combo->setEditable(false);
        wireListBox(b, combo);
        w = combo;
    } else if (type == "DirListBox" || type == "FileListBox") {
        auto* list = new EntryListWidget(canvas_);
        wireListBox(b, list);
        w = list;
    } else if (type == "WindowsMediaPlayer" || type == "WebBrowser") {
        // Stands in until the caller hands in the real player or browser.
        w = new QWidget(canvas_);
    }
    if (w) w->setObjectName(QString::fromStdString(c.name()));
    return w;
}

void FormView::wireListView(Bound& b, ReportView* view) {
    auto* list = dynamic_cast<ui::ListView*>(b.control);
    if (!list) return;
    b.model = new ListViewItemModel(*list, view);
    view->setModel(b.model);
    // The user's selection goes into the model at once; the event follows
    // the click (or the key) that made it.
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [&b, list](const QModelIndex& current) {
                if (b.syncing) return;
                list->select(current.isValid() ? current.row() : -1);
            });
    connect(view, &QAbstractItemView::clicked, this, [list](const QModelIndex& index) {
        if (!index.isValid()) return;
        list->select(index.row());
        list->itemClicked.raise(index.row());
    });
    connect(view, &ReportView::rowReachedByKey, this, [list](int row) {
        list->select(row);
        list->itemClicked.raise(row);
    });
    connect(view->header(), &QHeaderView::sectionClicked, this, [this, &b, view, list](int section) {
        const QPointer<ReportView> alive(view);
        list->headerClicked.raise(section + 1);
        // The header may have flipped its own arrow; the list's sort settings decide.
        if (alive) applySelection(b);
    });
}

void FormView::wireListBox(Bound& b, QWidget* widget) {
    auto* box = dynamic_cast<ui::ListBox*>(b.control);
    if (!box) return;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        connect(combo, &QComboBox::activated, this, [this, &b, box](int i) {
            if (b.syncing) return;
            box->select(i);
            if (i >= 0 && i < static_cast<int>(box->entries().size()))
                box->setCurrent(box->entries()[static_cast<std::size_t>(i)]);
            b.control->changed.raise();
        });
        return;
    }
    auto* list = qobject_cast<EntryListWidget*>(widget);
    if (!list) return;
    connect(list, &QListWidget::currentRowChanged, this, [&b, box](int row) {
        if (!b.syncing) box->select(row);
    });
    // The row a click or key reached goes with the signal: it is what the
    // user chose, whatever the list's current entry says.
    connect(list, &EntryListWidget::rowReachedByKey, this, [box](int row) {
        box->select(row);
        box->itemClicked.raise(row);
    });
    connect(list, &QListWidget::itemClicked, this, [box, list](QListWidgetItem* item) {
        const int row = list->row(item);
        box->select(row);
        box->itemClicked.raise(row);
    });
    connect(list, &QListWidget::itemActivated, this, [box, list](QListWidgetItem* item) {
        const int row = list->row(item);
        box->select(row);
        box->itemActivated.raise(row);
    });
}

QMenuBar* FormView::ensureMenuBar() {
    if (!menuBar_) {
        menuBar_ = new QMenuBar(this);
        layout_->setMenuBar(menuBar_);
        menus_ = std::make_unique<FormMenus>(form_, menuBar_, [](ui::Control& entry) { entry.clicked.raise(); });
    }
    return menuBar_;
}

// ---- following the model ---------------------------------------------------

QWidget* FormView::containerWidget(const ui::Control& control) const {
    if (control.container().empty()) return canvas_;
    for (const auto& [c, b] : bound_) {
        if (c == &control || !b->widget || c->name() != control.container()) continue;
        return b->widget;
    }
    return canvas_;
}

void FormView::place(Bound& b) {
    if (!b.widget) return;
    const ui::Control& c = *b.control;
    QWidget* parent = containerWidget(c);
    if (b.widget->parentWidget() != parent) {
        b.widget->setParent(parent);
        b.widget->raise();
        b.widget->setVisible(c.visible());  // setParent hides
    }
    b.widget->setGeometry(scale_.toPixels(c.left(), c.top(), c.width(), c.height()));
}

void FormView::applyAll(Bound& b) {
    using ui::Change;
    for (Change what : {Change::Caption, Change::Entries, Change::Text, Change::Value, Change::Selection,
                        Change::Colours, Change::Enabled, Change::Visible})
        apply(b, ui::ChangeEvent{what});
}

void FormView::onChange(ui::Control* control, const ui::ChangeEvent& change) {
    if (!control) {
        onFormChange(change);
        return;
    }
    const auto it = bound_.find(control);
    if (it != bound_.end()) apply(*it->second, change);
}

void FormView::onFormChange(const ui::ChangeEvent& change) {
    switch (change.what) {
        case ui::Change::Caption:
            setWindowTitle(QString::fromStdString(form_.caption()));
            break;
        case ui::Change::Visible:
            if (followVisibility_ && form_.visible() != isVisible()) setVisible(form_.visible());
            break;
        case ui::Change::Geometry:
            applyWindowSize();
            break;
        case ui::Change::ControlAdded: {
            if (form_.controls().empty()) break;
            ui::Control& added = *form_.controls().back();
            build(added);
            Bound& b = *bound_.at(&added);
            place(b);
            applyAll(b);
            if (b.widget) {
                b.widget->raise();
                // Shown panels stay above it (it is placed only after it is
                // added): the banner's box, added at start-up, would cover
                // the editor panel.
                for (auto& [c, other] : bound_) {
                    if (c == &added || c->typeName() != "Frame" || !c->visible() || !other->widget) continue;
                    if (other->widget->parentWidget() == b.widget->parentWidget()) other->widget->raise();
                }
            }
            // Controls that name the newcomer as their container move into it.
            for (auto& [c, other] : bound_)
                if (c != &added && c->container() == added.name()) place(*other);
            break;
        }
        default:
            break;
    }
}

namespace {

bool showsCaption(const ui::Control& c, const QWidget* w) {
    if (qobject_cast<const QPushButton*>(w) || qobject_cast<const QCheckBox*>(w) || qobject_cast<const QGroupBox*>(w))
        return true;
    return isLabel(c) && qobject_cast<const QLabel*>(w) && !qobject_cast<const StatusLabel*>(w);
}

}  // namespace

void FormView::apply(Bound& b, const ui::ChangeEvent& change) {
    ui::Control& c = *b.control;
    if (c.typeName() == "Menu") {
        if (menus_) menus_->apply(c, change.what);
        return;
    }
    if (b.timer) {
        if (change.what == ui::Change::Enabled) applyTimer(b);
        return;
    }
    if (!b.widget) return;
    switch (change.what) {
        case ui::Change::Caption:
        case ui::Change::Text:
            applyText(b);
            // Only a caption can outgrow its place: typing into a field or
            // a status line's progress is no reason to fit every caption.
            if (showsCaption(c, b.widget)) scheduleCaptionFit();
            break;
        case ui::Change::Visible:
            scheduleCaptionFit();
            b.widget->setVisible(c.visible());
            // A panel shown later is on top: the editor panel shares its
            // place with the player and the banner, which were made after it.
            if (c.visible() && c.typeName() == "Frame") b.widget->raise();
            break;
        case ui::Change::Enabled:
            b.widget->setEnabled(c.enabled());
            break;
        case ui::Change::Geometry:
            place(b);
            scheduleCaptionFit();
            break;
        case ui::Change::Value:
            applyValue(b);
            break;
        case ui::Change::Entries:
            applyEntries(b);
            break;
        case ui::Change::Selection:
            applySelection(b);
            break;
        case ui::Change::Colours:
            applyColours(b);
            break;
        case ui::Change::Columns:
        case ui::Change::RowsReset:
        case ui::Change::RowsInserted:
        case ui::Change::RowsRemoved:
        case ui::Change::RowChanged:
            if (b.model) {
                const Syncing syncing(b.syncing);
                b.model->apply(change);
            }
            // Inserts and removals move Qt's selection with the rows; a reset
            // drops it, so the list's own selection is shown again.
            if (change.what == ui::Change::RowsReset) applySelection(b);
            break;
        default:
            break;
    }
}

void FormView::applyText(Bound& b) {
    const ui::Control& c = *b.control;
    QWidget* w = b.widget;
    const Syncing syncing(b.syncing);
    const QString caption = QString::fromStdString(c.caption());
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        button->setText(FormMenus::escapeMnemonic(caption));
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        check->setText(FormMenus::escapeMnemonic(caption));
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(FormMenus::escapeMnemonic(caption));
    } else if (auto* status = qobject_cast<StatusLabel*>(w)) {
        status->setStatus(caption);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        if (!isPicture(c)) label->setText(caption);
    } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
        const QString text = decode(c, c.text());
        if (line->text() != text) {
            const int cursor = line->cursorPosition();
            line->setText(text);
            line->setCursorPosition(std::min<int>(cursor, static_cast<int>(text.size())));
        }
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        const QString text = decode(c, c.text());
        if (plain->toPlainText() != text) plain->setPlainText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->isEditable()) {
            const QString text = decode(c, c.text());
            if (combo->currentText() != text) {
                const QSignalBlocker block(combo);
                combo->setEditText(text);
            }
        }
    }
}

void FormView::scheduleCaptionFit() {
    if (fitPending_) return;
    fitPending_ = true;
    QTimer::singleShot(0, this, [this] {
        fitPending_ = false;
        fitCaptions();
    });
}

namespace {

/// The room w may grow into: to the right up to the next shown widget
/// beside it, down to the next one below it, within its parent.
QRect roomFor(const QWidget* w) {
    constexpr int kGap = 4;
    const QWidget* parent = w->parentWidget();
    const QRect g = w->geometry();
    const QRect inside = parent->contentsRect();
    int right = inside.right() - kGap;
    int bottom = inside.bottom() - kGap;
    for (const QObject* o : parent->children()) {
        const auto* s = qobject_cast<const QWidget*>(o);
        if (!s || s == w || s->isWindow() || !s->isVisibleTo(parent)) continue;
        const QRect r = s->geometry();
        if (r.top() <= g.bottom() && r.bottom() >= g.top() && r.left() > g.left())
            right = std::min(right, r.left() - kGap);
        if (r.left() <= g.right() && r.right() >= g.left() && r.top() > g.top())
            bottom = std::min(bottom, r.top() - kGap);
    }
    return QRect(g.topLeft(), QPoint(std::max(right, g.right()), std::max(bottom, g.bottom())));
}

}  // namespace

void FormView::fitCaptions() {
    std::vector<Bound*> fitted;
    for (auto& [control, bound] : bound_) {
        if (!bound->widget || !showsCaption(*control, bound->widget)) continue;
        // Back to the place the layout gives, then grown as far as needed.
        place(*bound);
        fitted.push_back(bound.get());
    }
    for (Bound* b : fitted) {
        const Syncing syncing(b->syncing);
        const QString plain = QString::fromStdString(b->control->caption());
        const bool label = qobject_cast<QLabel*>(b->widget.data()) != nullptr;
        fitCaption(b->widget, label ? plain : FormMenus::escapeMnemonic(plain), plain, roomFor(b->widget));
    }
}

void FormView::applyEntries(Bound& b) {
    const ui::Control& c = *b.control;
    const Syncing syncing(b.syncing);
    if (auto* combo = qobject_cast<QComboBox*>(b.widget)) {
        const QSignalBlocker block(combo);
        combo->clear();
        if (const auto* model = dynamic_cast<const ui::ComboBox*>(&c)) {
            combo->addItems(decodeAll(c, model->entries()));
            combo->setCurrentIndex(-1);
            combo->setEditText(decode(c, c.text()));
        } else if (const auto* box = dynamic_cast<const ui::ListBox*>(&c)) {
            combo->addItems(decodeAll(c, box->entries()));
            applyValue(b);
        }
    } else if (auto* list = qobject_cast<QListWidget*>(b.widget)) {
        const QSignalBlocker block(list);
        list->clear();
        if (const auto* box = dynamic_cast<const ui::ListBox*>(&c)) {
            list->addItems(decodeAll(c, box->entries()));
            list->setCurrentRow(box->selectedIndex());
        }
    }
}

void FormView::applyValue(Bound& b) {
    const Syncing syncing(b.syncing);
    if (auto* check = qobject_cast<QCheckBox*>(b.widget)) {
        if (const auto* model = dynamic_cast<const ui::CheckBox*>(b.control)) {
            const QSignalBlocker block(check);
            check->setChecked(model->checked());
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(b.widget)) {
        const auto* box = dynamic_cast<const ui::ListBox*>(b.control);
        if (!box || combo->isEditable()) return;
        // The drive list shows its current drive.
        int at = -1;
        const auto& entries = box->entries();
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == box->current()) at = static_cast<int>(i);
        if (at < 0) at = box->selectedIndex();
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(at);
    }
}

void FormView::applySelection(Bound& b) {
    const Syncing syncing(b.syncing);
    if (auto* view = qobject_cast<ReportView*>(b.widget)) {
        if (!b.model) return;
        const ui::ListView& list = b.model->list();
        QHeaderView* header = view->header();
        header->setSortIndicatorShown(list.sorted());
        if (list.sorted())
            header->setSortIndicator(list.sortKey(), list.sortOrder() == ui::SortOrder::Ascending
                                                         ? Qt::AscendingOrder
                                                         : Qt::DescendingOrder);
        const int row = list.selectedIndex();
        QItemSelectionModel* selection = view->selectionModel();
        if (row < 0) {
            selection->clearSelection();
            selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        } else if (selection->currentIndex().row() != row || !selection->isRowSelected(row, {})) {
            selection->setCurrentIndex(b.model->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
    } else if (auto* list = qobject_cast<QListWidget*>(b.widget)) {
        if (const auto* box = dynamic_cast<const ui::ListBox*>(b.control)) {
            const QSignalBlocker block(list);
            list->setCurrentRow(box->selectedIndex());
        }
    } else if (qobject_cast<QComboBox*>(b.widget)) {
        applyValue(b);
    }
}

void FormView::applyTimer(Bound& b) {
    if (timersActive_ && b.control->enabled() && b.timer->interval() > 0) {
        if (!b.timer->isActive()) b.timer->start();
    } else {
        b.timer->stop();
    }
}

void FormView::setTimersActive(bool on) {
    timersActive_ = on;
    for (auto& [control, bound] : bound_)
        if (bound->timer) applyTimer(*bound);
}

void FormView::applyColours(Bound& b) {
    const ui::Control& c = *b.control;
    // 0x00BBGGRR; values with the high bit set name system colours, which
    // the desktop's own palette already stands for.
    auto colour = [](std::int32_t v) { return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); };
    QPalette palette = b.widget->palette();
    const auto back = c.backColor();
    const auto fore = c.foreColor();
    if (back && *back >= 0) {
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) palette.setColor(role, colour(*back));
        b.widget->setAutoFillBackground(true);
    }
    if (fore && *fore >= 0)
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, colour(*fore));
    if ((back && *back >= 0) || (fore && *fore >= 0)) b.widget->setPalette(palette);
}

// ---- the window --------------------------------------------------------------

void FormView::applyWindowSize() {
    // The model's sizes include the frame the window manager draws.
    const QSize frame = isWindow() ? frameGeometry().size() - size() : QSize(0, 0);
    const QSize least(form_.minimumWidth() > 0 ? scale_.toPixels(form_.minimumWidth()) - frame.width() : 0,
                      form_.minimumHeight() > 0 ? scale_.toPixels(form_.minimumHeight()) - frame.height() : 0);
    if (least.expandedTo(QSize(0, 0)) != minimumSize()) setMinimumSize(least.expandedTo(QSize(0, 0)));
    if (form_.width() <= 0 || form_.height() <= 0) return;
    const QSize outer(scale_.toPixels(form_.width()), scale_.toPixels(form_.height()));
    const QSize inner = (outer - frame).expandedTo(QSize(1, 1));
    if (inner != size()) resize(inner);
}

void FormView::reportWindowSize() {
    const QSize outer = isWindow() ? frameGeometry().size() : size();
    form_.resize(scale_.toTwips(outer.width()), scale_.toTwips(outer.height()));
    if (const auto onResized = onResized_) onResized();
}

void FormView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!isVisible() || isMinimized()) return;
    reportWindowSize();
}

void FormView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || shownOnce_) return;
    // The program lays its window out when it is first shown.
    shownOnce_ = true;
    if (!isMinimized()) reportWindowSize();
}

void FormView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!isHidden() || quietHide_) return;  // minimised, a parent hid, or going modal
    if (isWindow() && form_.visible()) form_.setVisible(false);
    emit hidden();
}

void FormView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const bool minimized = isMinimized();
    if (wasMinimized_ && !minimized && isVisible()) {
        wasMinimized_ = false;
        reportWindowSize();
        return;
    }
    wasMinimized_ = minimized;
}

void FormView::keyPressEvent(QKeyEvent* event) {
    // Keys reach the window itself only when no control took them.
    ui::Control* button = form_.defaultButton();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && button && button->visible() &&
        button->enabled()) {
        button->clicked.raise();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FormView::closeEvent(QCloseEvent* event) {
    if (const auto ask = onCloseRequest_) {
        const QPointer<FormView> alive(this);
        const bool close = ask();
        if (!alive) return;
        if (!close) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    const auto it = clickable_.find(watched);
    if (it == clickable_.end()) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && qobject_cast<QLabel*>(watched)) {
            const auto* label = static_cast<QLabel*>(watched);
            if (label->rect().contains(mouse->position().toPoint())) it->second->control->clicked.raise();
            return false;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FormView::showModal() {
    const QPointer<FormView> alive(this);
    if (isVisible() && windowModality() != Qt::ApplicationModal) {
        // Modality only takes effect when the window is shown again.
        const Syncing quiet(quietHide_);
        hide();
    }
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(this, &FormView::hidden, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    if (followVisibility_) form_.setVisible(true);
    if (!isVisible()) show();
    if (isVisible()) loop.exec();
    if (alive) setWindowModality(Qt::NonModal);
}

// ---- lookups and reports -----------------------------------------------------

FormView::Bound* FormView::find(const std::string& name, std::optional<int> index) const {
    const ui::Control* control = form_.find(name, index);
    if (!control) return nullptr;
    const auto it = bound_.find(control);
    return it == bound_.end() ? nullptr : it->second.get();
}

QWidget* FormView::widgetFor(const std::string& name, std::optional<int> index) const {
    const Bound* b = find(name, index);
    return b ? b->widget.data() : nullptr;
}

bool FormView::setWidgetFor(const std::string& name, QWidget* widget, std::optional<int> index) {
    Bound* b = find(name, index);
    if (!b || !widget) return false;
    QWidget* old = b->widget;
    widget->setParent(containerWidget(*b->control));
    if (old) {
        // Keep the stacking: the offline picture must stay above the player.
        widget->stackUnder(old);
        clickable_.erase(old);
        delete old;
    }
    b->widget = widget;
    b->model = nullptr;
    place(*b);
    widget->setEnabled(b->control->enabled());
    widget->setVisible(b->control->visible());
    return true;
}

QAction* FormView::actionFor(const std::string& name, std::optional<int> index) const {
    const ui::Control* control = form_.find(name, index);
    return control && menus_ ? menus_->actionFor(control) : nullptr;
}

QMenu* FormView::menuFor(const std::string& name, std::optional<int> index) const {
    const ui::Control* control = form_.find(name, index);
    return control && menus_ ? menus_->menuFor(control) : nullptr;
}

void FormView::popupMenu(const ui::Control& menu, const QPoint& globalPos) {
    if (QMenu* shown = menus_ ? menus_->menuFor(&menu) : nullptr) shown->exec(globalPos);
}

}  // namespace cd::app
