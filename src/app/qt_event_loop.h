#pragma once
// The core's event loop on Qt's: sockets through QSocketNotifier, timers
// through QTimer, posted calls as queued calls, all on the UI thread.
#include <QObject>

#include "platform/event_loop.h"

namespace cd::app {

class QtEventLoop : public QObject, public platform::EventLoop {
    Q_OBJECT
public:
    explicit QtEventLoop(QObject* parent = nullptr);

    std::unique_ptr<SocketWatch> watchSocket(int fd, std::function<void(bool, bool)> ready) override;
    std::unique_ptr<Timer> makeTimer(std::function<void()> fire) override;
    void post(std::function<void()> call) override;
};

}  // namespace cd::app
