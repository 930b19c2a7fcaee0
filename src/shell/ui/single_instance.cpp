#include "shell/ui/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <unistd.h>

namespace zemo::ui {

SingleInstance::SingleInstance(const QString& name, QObject* parent) : QObject(parent), name_(name) {}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
}

QString SingleInstance::defaultName() { return kMutexName + "-" + QString::number(::getuid()); }

QString SingleInstance::lockPath() const { return QDir(QDir::tempPath()).filePath(name_ + ".lock"); }

bool SingleInstance::acquire() {
    lock_ = std::make_unique<QLockFile>(lockPath());
    // Held for the whole run; a lock left by a copy that died is recognised by its process id.
    lock_->setStaleLockTime(0);
    bool first = lock_->tryLock(0);
    if (!first && lock_->error() != QLockFile::LockFailedError) {
        // The lock cannot be made at all (temporary folder not writable): run rather than refuse.
        lock_.reset();
        first = true;
    }
    if (first) {
        // A copy that crashed leaves its socket behind; nobody listens there any more.
        QLocalServer::removeServer(name_);
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        connect(server_, &QLocalServer::newConnection, this, &SingleInstance::readMessages);
        server_->listen(name_);  // without it the copy runs alone, it just cannot be called forward
        return true;
    }
    lock_.reset();
    // Another copy holds the lock; it may be a moment away from listening.
    for (int attempt = 0; attempt < 20; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(name_);
        if (socket.waitForConnected(500)) {
            socket.write(kMessageName.toUtf8() + '\n');
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
            return false;
        }
        QThread::msleep(100);
    }
    return false;
}

void SingleInstance::readMessages() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        auto take = [this, socket, buffer] {
            buffer->append(socket->readAll());
            int end;
            while ((end = buffer->indexOf('\n')) >= 0) {
                QByteArray line = buffer->left(end);
                buffer->remove(0, end + 1);
                if (line == kMessageName.toUtf8()) emit activationRequested();
            }
            // Anything longer than the message is not from a copy of this program.
            if (buffer->size() > 256) socket->abort();
        };
        connect(socket, &QLocalSocket::readyRead, this, take);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        take();
    }
}

}  // namespace zemo::ui
