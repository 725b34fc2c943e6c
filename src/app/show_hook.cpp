#include "app/show_hook.h"

#include <QEvent>

namespace cd::app {

namespace {

class ShowHook : public QObject {
public:
    ShowHook(QWidget* widget, std::function<void()> action) : QObject(widget), action_(std::move(action)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && action_) action_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> action_;
};

}  // namespace

void OnShow(QWidget* widget, std::function<void()> action) {
    if (widget) new ShowHook(widget, std::move(action));
}

}  // namespace cd::app
