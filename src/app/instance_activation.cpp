#include "app/instance_activation.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include "mainwindow/activation_name.h"

namespace cd::app {

namespace {
// A line is all a message ever is; anything longer is not one of ours.
constexpr qint64 kMaxMessage = 64;
}  // namespace

ActivationServer::ActivationServer(const QString& name, std::function<void()> onActivate, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), onActivate_(std::move(onActivate)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(name);
    server_->listen(name);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) {
                    if (socket->bytesAvailable() > kMaxMessage) socket->abort();
                    return;
                }
                const QByteArray line = socket->readLine(kMaxMessage).trimmed();
                socket->disconnectFromServer();
                if (line == mainwindow::kActivateMessage && onActivate_) onActivate_();
            });
        }
    });
}

bool ActivationServer::listening() const { return server_->isListening(); }

bool SendActivate(const QString& name, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(QByteArray(mainwindow::kActivateMessage) + '\n');
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return sent;
}

void BringToFront(QWidget* window) {
    if (!window) return;
    if (window->isMinimized()) window->showNormal();
    if (!window->isVisible()) window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace cd::app
