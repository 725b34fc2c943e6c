#pragma once
// Shows one window of the window model with real Qt widgets and reports the
// user's actions back. The binder holds no program logic: it builds a widget
// per control by type name, follows every change the model announces, writes
// user input into the model and only then reports the event.
//
// Type names and widgets: CommandButton QPushButton; Label, SkinLabel QLabel
// (word-wrapped); Frame QGroupBox (holds the controls whose container names
// it); TextBox QLineEdit, or a read-only QPlainTextEdit when taller than 1000
// twips; ComboBox editable QComboBox; CheckBox QCheckBox; ListView ReportView
// over a ListViewItemModel; DriveListBox QComboBox; DirListBox, FileListBox
// QListWidget; PictureBox, Image QLabel (the caller sets the picture); Menu
// entries in the menu bar and pop-up menus; Timer a QTimer;
// WindowsMediaPlayer, WebBrowser empty placeholders until the caller hands in
// the real widget with setWidgetFor().
//
// Geometry is in twips, turned into pixels at the screen's logical DPI.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "app/twips_scale.h"
#include "ui/form.h"

class QAction;
class QMenu;
class QMenuBar;
class QTimer;
class QVBoxLayout;

namespace cd::app {

class FormMenus;
class ListViewItemModel;
class ReportView;

class FormView : public QWidget {
    Q_OBJECT
public:
    /// Builds the widgets of every control of form. The form must outlive the
    /// view. The view does not show itself: show() it (or let the model's
    /// Visible do so, see setFollowFormVisibility).
    explicit FormView(ui::Form& form, QWidget* parent = nullptr);
    ~FormView() override;

    ui::Form& form() const { return form_; }

    /// Runs after a resize of the window has been written into the model
    /// (Form::resize, outer size in twips), also when the window is first
    /// shown and when it is restored from minimised; never while minimised.
    void setOnResized(std::function<void()> onResized) { onResized_ = std::move(onResized); }
    /// Asked when the user closes the window; false keeps it open. Without
    /// it the window closes. A closed window sets the model's Visible false.
    void setOnCloseRequest(std::function<bool()> onCloseRequest) { onCloseRequest_ = std::move(onCloseRequest); }
    /// When on (the default) the model's Visible shows and hides the window.
    void setFollowFormVisibility(bool on) { followVisibility_ = on; }
    /// Window timers run while this is on (the default) and their Enabled is
    /// set; a window that is not loaded should have its timers off.
    void setTimersActive(bool on);

    /// The widget of a control (name and optional array index); null when none.
    QWidget* widgetFor(const std::string& name, std::optional<int> index = std::nullopt) const;
    template <typename W>
    W* widgetAs(const std::string& name, std::optional<int> index = std::nullopt) const {
        return qobject_cast<W*>(widgetFor(name, index));
    }
    /// Puts widget in the place of the control's own widget (placeholders of
    /// the player and browsers, or any other); the view takes ownership and
    /// keeps the widget's place, size, visibility and stacking in step with
    /// the control. False when the form has no such control.
    bool setWidgetFor(const std::string& name, QWidget* widget, std::optional<int> index = std::nullopt);

    /// The action of a menu entry, and the QMenu of a menu that holds entries.
    QAction* actionFor(const std::string& name, std::optional<int> index = std::nullopt) const;
    QMenu* menuFor(const std::string& name, std::optional<int> index = std::nullopt) const;
    /// Opens a menu as a pop-up at globalPos and returns when it closes; the
    /// chosen entry's signal has run by then.
    void popupMenu(const ui::Control& menu, const QPoint& globalPos);
    /// The window's menu bar; null for a window without menus.
    QMenuBar* menuBar() const { return menuBar_; }
    /// The area below the menu bar that holds the controls.
    QWidget* canvas() const { return canvas_; }
    const TwipsScale& scale() const { return scale_; }

    /// Shows the window modally and returns when it is hidden again (the
    /// model's Visible set false, or the user closed it).
    void showModal();

signals:
    /// The window was hidden (not by minimising).
    void hidden();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Bound {
        ui::Control* control = nullptr;
        QPointer<QWidget> widget;
        ListViewItemModel* model = nullptr;
        QTimer* timer = nullptr;
        bool syncing = false;  // model-to-widget update running: widget signals are not user input
    };

    void build(ui::Control& control);
    QWidget* createWidget(Bound& bound);
    void wireListView(Bound& bound, ReportView* view);
    void wireListBox(Bound& bound, QWidget* widget);
    void place(Bound& bound);
    void applyAll(Bound& bound);
    void onChange(ui::Control* control, const ui::ChangeEvent& change);
    void onFormChange(const ui::ChangeEvent& change);
    void apply(Bound& bound, const ui::ChangeEvent& change);
    void applyText(Bound& bound);
    void applyEntries(Bound& bound);
    void applyValue(Bound& bound);
    void applySelection(Bound& bound);
    void applyColours(Bound& bound);
    void applyTimer(Bound& bound);
    void applyWindowSize();
    void reportWindowSize();
    Bound* find(const std::string& name, std::optional<int> index) const;
    QWidget* containerWidget(const ui::Control& control) const;
    QMenuBar* ensureMenuBar();
    /// Captions are fitted once the changes of one handler are all in.
    void scheduleCaptionFit();
    void fitCaptions();

    ui::Form& form_;
    TwipsScale scale_;
    QVBoxLayout* layout_;
    QWidget* canvas_;
    QMenuBar* menuBar_ = nullptr;
    std::unique_ptr<FormMenus> menus_;
    std::unordered_map<const ui::Control*, std::unique_ptr<Bound>> bound_;
    std::unordered_map<const QObject*, Bound*> clickable_;  // labels and pictures
    std::shared_ptr<FormView*> alive_;
    std::function<void()> onResized_;
    std::function<bool()> onCloseRequest_;
    bool followVisibility_ = true;
    bool timersActive_ = true;
    bool quietHide_ = false;
    bool shownOnce_ = false;
    bool wasMinimized_ = false;
    bool fitPending_ = false;
};

}  // namespace cd::app
