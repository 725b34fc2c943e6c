#pragma once
// The first instance's ear for the second: the lock holder of the program
// folder serves a local socket; a second instance sends "activate" there and
// ends at once, and the first brings its window to the front.
#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;
class QWidget;

namespace cd::app {

class ActivationServer : public QObject {
    Q_OBJECT
public:
    /// Listens on name (a socket left by a crashed holder is replaced: only
    /// the folder's lock holder creates this); onActivate runs for each
    /// "activate" that arrives.
    ActivationServer(const QString& name, std::function<void()> onActivate, QObject* parent = nullptr);
    bool listening() const;

private:
    QLocalServer* server_;
    std::function<void()> onActivate_;
};

/// Sends "activate" to the instance listening on name; false when none
/// answered within timeoutMs. Needs a QCoreApplication.
bool SendActivate(const QString& name, int timeoutMs);

/// Shows window normal (not minimised), on top and active.
void BringToFront(QWidget* window);

}  // namespace cd::app
