#include "app/startup_probe.h"

#include <QTimer>
#include <QWindow>
#include <chrono>
#include <fstream>
#include <string>

namespace cd::app {
namespace {

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool onScreen(const QWidget* w) { return w && w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed(); }

/// A "VmRSS:"-style line of /proc/self/status, in kB (0 when missing).
long long statusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) return std::stoll(line.substr(key.size()));
    }
    return 0;
}

}  // namespace

void measureStartup(AppShell& shell, std::ostream& out) {
    auto* poll = new QTimer(&shell);
    auto firstWindow = std::make_shared<long long>(0);
    poll->setInterval(1);
    QObject::connect(poll, &QTimer::timeout, &shell, [&shell, &out, poll, firstWindow] {
        if (*firstWindow == 0) {
            for (const ui::Form* f : {static_cast<const ui::Form*>(&shell.program().windows.splashWindow),
                                      static_cast<const ui::Form*>(&shell.program().windows.mainWindow)}) {
                if (onScreen(shell.viewFor(*f))) *firstWindow = nowNs();
            }
        }
        if (!onScreen(shell.mainView())) return;
        poll->stop();
        const long long mainWindow = nowNs();
        // A splash never seen exposed: the main window was the first one.
        if (*firstWindow == 0) *firstWindow = mainWindow;
        out << "startup first_window_ns=" << *firstWindow << " main_window_ns=" << mainWindow
            << " rss_kb=" << statusKb("VmRSS:") << " hwm_kb=" << statusKb("VmHWM:")
            << " rows=" << shell.program().windows.mainWindow.channelList->count() << std::endl;
        shell.mainView()->close();
    });
    poll->start();
}

}  // namespace cd::app
