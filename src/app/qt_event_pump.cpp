#include "app/qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace cd::app {

void QtEventPump::runPending() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

}  // namespace cd::app
