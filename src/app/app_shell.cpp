#include "app/app_shell.h"

#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include "app/mpv_player_widget.h"
#include "app/no_video_cover.h"
#include "app/show_hook.h"
#include "ui/stored_names.h"

namespace cd::app {

namespace {

// Small windows open in the middle of the screen and on top, so a dialog
// that opens during start-up is never hidden behind the splash window.
void centreOnScreen(QWidget* w) {
    if (const QScreen* screen = w->screen()) {
        const QRect area = screen->availableGeometry();
        w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
    }
}

}  // namespace

QPixmap OfflinePicture(const QSize& size, const QString& caption) {
    QPixmap pm(size.isValid() ? size : QSize(400, 200));
    pm.fill(QColor(24, 24, 28));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = pm.rect().adjusted(6, 6, -6, -6);
    p.setPen(QPen(QColor(200, 60, 60), 4));
    p.drawRoundedRect(r, 12, 12);
    // A crossed-out screen.
    const QRectF screen(r.left() + r.width() * 0.08, r.top() + r.height() * 0.2, r.height() * 0.6, r.height() * 0.45);
    p.setPen(QPen(QColor(230, 230, 230), 3));
    p.drawRect(screen);
    p.setPen(QPen(QColor(220, 70, 70), 5));
    p.drawLine(screen.topLeft(), screen.bottomRight());
    p.drawLine(screen.topRight(), screen.bottomLeft());
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(static_cast<int>(r.height() * 0.16));
    p.setFont(f);
    p.setPen(QColor(240, 240, 240));
    const QRectF text(screen.right() + r.width() * 0.05, r.top(), r.right() - screen.right() - r.width() * 0.07,
                      r.height());
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, caption);
    return pm;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int s : {16, 24, 32, 48, 64, 128}) {
        QPixmap pm(s, s);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(30, 90, 170));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(s * 0.06, s * 0.2, s * 0.88, s * 0.66), s * 0.1, s * 0.1);
        p.setBrush(QColor(235, 240, 250));
        p.drawRoundedRect(QRectF(s * 0.14, s * 0.28, s * 0.72, s * 0.5), s * 0.06, s * 0.06);
        p.setBrush(QColor(230, 80, 60));
        QPainterPath play;
        play.moveTo(s * 0.42, s * 0.38);
        play.lineTo(s * 0.62, s * 0.53);
        play.lineTo(s * 0.42, s * 0.68);
        play.closeSubpath();
        p.drawPath(play);
        p.setPen(QPen(QColor(30, 90, 170), std::max(1.0, s * 0.05)));
        p.drawLine(QPointF(s * 0.35, s * 0.04), QPointF(s * 0.5, s * 0.2));
        p.drawLine(QPointF(s * 0.65, s * 0.04), QPointF(s * 0.5, s * 0.2));
        icon.addPixmap(pm);
    }
    return icon;
}

AppShell::AppShell(platform::Configuration config, std::filesystem::path programFolder,
                   std::filesystem::path registryFolder, AppShellOptions options) {
    settings_ = options.settingsFile.isEmpty()
                    ? std::make_unique<QtSettingsStore>(QString::fromStdString(config.version.productName))
                    : std::make_unique<QtSettingsStore>(QtSettingsStore::IniFile{options.settingsFile});
    playerWidget_ = new PlayerWidget();
    playerWidget_->player()->setErrorDialogsEnabled(options.playerErrorDialogs);
    videoView_ = new WebView();
    bannerView_ = new WebView();

    mainwindow::Ports ports{loop_, pump_, *playerWidget_, *videoView_, *bannerView_, dialogs_, shell_, *settings_};
    mainwindow::ShellRequests requests;
    requests.showModal = [this](ui::Form& f) { showModal(f); };
    requests.show = [this](ui::Form& f) { show(f); };
    requests.popupMenu = [this](const ui::Control& menu) {
        if (FormView* v = mainView()) v->popupMenu(menu, QCursor::pos());
    };
    requests.setWindowIcon = [](ui::Form&) { QApplication::setWindowIcon(ProgramIcon()); };
    requests.closeMainWindow = [this] {
        if (FormView* v = mainView()) v->close();
    };
    requests.quit = [this] {
        if (ended_) return;
        ended_ = true;
        // Let the handler that asked for the end return first.
        QTimer::singleShot(0, this, [this] { emit finished(); });
    };
    program_ = std::make_unique<mainwindow::Program>(std::move(config), std::move(programFolder),
                                                     std::move(registryFolder), ports, std::move(requests));
    playerWidget_->setMessages(&program_->languages().messages());
    buildViews();
    new NoVideoCover(playerWidget_->player(), [this] { return playingTitle(); });
    connectPlayer(options.bus);
}

AppShell::~AppShell() {
    if (keys_) qApp->removeEventFilter(keys_.get());
    desktop_.reset();
    // The views own the player and browsers; they go before the program
    // whose model they watch.
    views_.clear();
}

QString AppShell::playingTitle() const {
    const std::string& channel = program_->playback().playingName();
    if (!channel.empty()) return QString::fromStdString(channel);
    return QFileInfo(QString::fromStdString(player()->currentUrl())).fileName();
}

MpvPlayerWidget* AppShell::player() const { return playerWidget_->player(); }

FormView* AppShell::viewFor(const ui::Form& form) const {
    const auto it = views_.find(&form);
    return it == views_.end() ? nullptr : it->second.get();
}

void AppShell::buildViews() {
    auto& w = program_->windows;
    for (ui::Form* form : std::initializer_list<ui::Form*>{&w.mainWindow, &w.languageWindow, &w.splashWindow,
                                                           &w.aboutWindow, &w.helpWindow, &w.websiteWindow}) {
        views_[form] = std::make_unique<FormView>(*form);
    }
    FormView* main = viewFor(w.mainWindow);
    main->setWidgetFor("WindowsMediaPlayer1", playerWidget_);
    main->setWidgetFor("wbyoutube", videoView_);
    main->setWidgetFor("wbBanner", bannerView_);
    if (auto* offline = main->widgetAs<QLabel>("imgOffline")) {
        offline->setScaledContents(true);
        offline->setPixmap(OfflinePicture(QSize(400, 200)));
        // Drawn again each time it shows, in the language of the moment.
        OnShow(offline, [this, offline] {
            const std::string text = program_->languages().messages().getMessages("MSG_OFFLINEPICTURE");
            if (!text.empty()) offline->setPixmap(OfflinePicture(QSize(400, 200), QString::fromStdString(text)));
        });
    }
    main->setOnResized([this] { program_->Resize(false); });
    main->setOnCloseRequest([this] {
        program_->CloseRequest();
        program_->Unload();
        return true;
    });
    dialogs_.setParentWidget(main);
    // Ctrl+F reaches the search field of the list shown (each sits in its
    // own panel, and one panel shows at a time) from anywhere in the window.
    auto* find = new QShortcut(QKeySequence::Find, main);
    connect(find, &QShortcut::activated, main, [main] {
        for (const char* role : {"channelSearch", "favouriteSearch"}) {
            auto* field = main->widgetAs<QLineEdit>(ui::storedControlName("Form1", role));
            if (!field || !field->isVisible()) continue;
            field->setFocus(Qt::ShortcutFocusReason);
            field->selectAll();
            return;
        }
    });
    // The splash and website windows are borderless helpers of the main window.
    // Frameless, but not a splash-screen window: those stay above every
    // other window, and the first-run language window must come on top.
    viewFor(w.splashWindow)->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    centreOnScreen(viewFor(w.splashWindow));
}

void AppShell::connectPlayer(const QDBusConnection& bus) {
    playback::PlayerControls& controls = program_->playerControls();
    keys_ = std::make_unique<PlayerKeyRouter>(
        mainView(), playerWidget_, [&controls](playback::PlayerKey key, bool ctrl, playback::KeyPlace place) {
            return controls.keyPressed(key, ctrl, place);
        });
    qApp->installEventFilter(keys_.get());
    connect(playerWidget_, &PlayerWidget::pictureDoubleClicked, this, [&controls] { controls.toggleFullScreen(); });

    MprisHooks hooks;
    hooks.raise = [this] {
        if (FormView* v = mainView(); v && v->isVisible()) {
            if (v->isMinimized()) v->showNormal();
            v->raise();
            v->activateWindow();
        }
    };
    hooks.quit = [this] {
        if (FormView* v = mainView(); v && v->isVisible()) v->close();
    };
    hooks.position = [this] { return playerWidget_->player()->timePos(); };
    desktop_ = std::make_unique<DesktopSession>(bus, program_->playback().nowPlaying(), controls,
                                                QString::fromStdString(program_->values().brand.productName),
                                                std::move(hooks));
}

void AppShell::start() { program_->StartSplash(); }

void AppShell::showModal(ui::Form& form) {
    if (FormView* v = viewFor(form)) {
        centreOnScreen(v);
        // A modal window during start-up (the first-run language choice)
        // takes the splash's place: the splash would otherwise cover it.
        if (FormView* splash = viewFor(program_->windows.splashWindow)) splash->hide();
        // Raised once it is on screen: the modal loop shows it.
        QTimer::singleShot(0, v, [v] {
            v->raise();
            v->activateWindow();
        });
        form.setVisible(true);
        v->showModal();
    }
}

void AppShell::show(ui::Form& form) {
    if (FormView* v = viewFor(form)) {
        centreOnScreen(v);
        form.setVisible(true);
        v->show();
        v->raise();
        v->activateWindow();
    }
}

}  // namespace cd::app
