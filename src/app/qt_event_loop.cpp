#include "app/qt_event_loop.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

namespace cd::app {

namespace {

// Watches and timers are often dropped from inside their own callback (a
// fetch that ends as its socket becomes readable): their Qt objects are
// switched off at once and deleted once the callback has returned.
class QtSocketWatch : public platform::EventLoop::SocketWatch {
public:
    QtSocketWatch(QObject* owner, int fd, std::function<void(bool, bool)> ready)
        : read_(new QSocketNotifier(fd, QSocketNotifier::Read, owner)),
          write_(new QSocketNotifier(fd, QSocketNotifier::Write, owner)) {
        auto shared = std::make_shared<std::function<void(bool, bool)>>(std::move(ready));
        read_->setEnabled(false);
        write_->setEnabled(false);
        QObject::connect(read_, &QSocketNotifier::activated, read_, [shared] { (*shared)(true, false); });
        QObject::connect(write_, &QSocketNotifier::activated, write_, [shared] { (*shared)(false, true); });
    }
    ~QtSocketWatch() override {
        for (QSocketNotifier* n : {read_.data(), write_.data()}) {
            if (!n) continue;
            n->setEnabled(false);
            n->disconnect();
            n->deleteLater();
        }
    }
    void want(bool read, bool write) override {
        if (read_) read_->setEnabled(read);
        if (write_) write_->setEnabled(write);
    }

private:
    QPointer<QSocketNotifier> read_;
    QPointer<QSocketNotifier> write_;
};

class QtLoopTimer : public platform::EventLoop::Timer {
public:
    QtLoopTimer(QObject* owner, std::function<void()> fire) : timer_(new QTimer(owner)) {
        timer_->setSingleShot(true);
        timer_->setTimerType(Qt::PreciseTimer);
        auto shared = std::make_shared<std::function<void()>>(std::move(fire));
        QObject::connect(timer_, &QTimer::timeout, timer_, [shared] { (*shared)(); });
    }
    ~QtLoopTimer() override {
        if (!timer_) return;
        timer_->stop();
        timer_->disconnect();
        timer_->deleteLater();
    }
    void start(std::chrono::milliseconds delay) override {
        if (timer_) timer_->start(static_cast<int>(std::max<long long>(delay.count(), 0)));
    }
    void stop() override {
        if (timer_) timer_->stop();
    }

private:
    QPointer<QTimer> timer_;
};

}  // namespace

QtEventLoop::QtEventLoop(QObject* parent) : QObject(parent) {}

std::unique_ptr<platform::EventLoop::SocketWatch> QtEventLoop::watchSocket(int fd,
                                                                           std::function<void(bool, bool)> ready) {
    return std::make_unique<QtSocketWatch>(this, fd, std::move(ready));
}

std::unique_ptr<platform::EventLoop::Timer> QtEventLoop::makeTimer(std::function<void()> fire) {
    return std::make_unique<QtLoopTimer>(this, std::move(fire));
}

void QtEventLoop::post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

}  // namespace cd::app
