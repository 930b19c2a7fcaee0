// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/single_instance.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QWidget>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <cstdio>

namespace zemo::ui {

namespace {

// How long a lock that names no process is given to be finished by a copy that is writing it.
constexpr int kUnreadableRetries = 20;
constexpr int kRetryMs = 100;

std::string forStderr(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\n  ") : std::string(1, c);
    return out;
}

}  // namespace

Answer showStartBox(Prompter& prompter, BoxKind kind, const std::string& text, Buttons buttons) {
    std::fprintf(stderr, "zemoplan: %s\n", forStderr(text).c_str());
    std::fflush(stderr);
    return prompter.message(kind, text, buttons);
}

// ---- one copy per user and computer ----

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) { folder_ = defaultFolder(&problem_); }

SingleInstance::SingleInstance(const QString& folder, QObject* parent) : QObject(parent), folder_(folder) {}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
}

QString SingleInstance::defaultFolder(std::string* problem) {
    std::string why;
    const std::filesystem::path dir = privateRuntimeFolder(runtimeSources(), why);
    if (problem) *problem = why;
    return QString::fromStdString(dir.string());
}

QString SingleInstance::socketPath() const {
    return folder_.isEmpty() ? QString() : QDir(folder_).filePath(kMutexName);
}

QString SingleInstance::lockPath() const {
    return folder_.isEmpty() ? QString() : QDir(folder_).filePath(kMutexName + ".lock");
}

SingleInstance::Outcome SingleInstance::acquire() {
    if (folder_.isEmpty()) return Outcome::NoGuard;
    lock_ = std::make_unique<QLockFile>(lockPath());
    // Held for the whole run: never stale by age, only when its process is gone.
    lock_->setStaleLockTime(0);
    bool first = false;
    for (int attempt = 0; attempt <= kUnreadableRetries; ++attempt) {
        if (lock_->tryLock(0)) {
            first = true;
            break;
        }
        if (lock_->error() != QLockFile::LockFailedError) {
            problem_ = "cannot make the lock " + lockPath().toStdString();
            lock_.reset();
            return Outcome::NoGuard;
        }
        if (lock_->getLockInfo(&holderPid_, nullptr, nullptr)) break;  // a running copy's
        // It names no process: left by a copy that died while making it (taken over), or one
        // still writing it (which keeps it flock()ed, so that the removal fails until it is done).
        if (lock_->removeStaleLockFile()) continue;
        QThread::msleep(kRetryMs);
    }
    if (first) {
        // A copy that crashed leaves its socket behind; nobody listens there any more.
        QLocalServer::removeServer(socketPath());
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        connect(server_, &QLocalServer::newConnection, this, &SingleInstance::readMessages);
        if (!server_->listen(socketPath()))  // the copy runs alone, it just cannot be called forward
            std::fprintf(stderr, "zemoplan: %s: %s; a second start cannot bring this copy forward\n",
                         socketPath().toLocal8Bit().constData(), server_->errorString().toLocal8Bit().constData());
        return Outcome::First;
    }
    lock_.reset();
    // Another copy holds the lock; it may be a moment away from listening.
    for (int attempt = 0; attempt < 20; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(500)) {
            socket.write(kMessageName.toUtf8() + '\n');
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
            return Outcome::Raised;
        }
        QThread::msleep(100);
    }
    return Outcome::NoAnswer;
}

int SingleInstance::report(Outcome outcome, Prompter& prompter) const {
    switch (outcome) {
        case Outcome::First:
        case Outcome::Raised:
            return outcome == Outcome::Raised ? 0 : -1;
        case Outcome::NoGuard:
            // The program folder's own lock still keeps a second copy off the files.
            std::fprintf(stderr,
                         "zemoplan: no single-instance guard (%s); a second start cannot call this copy forward\n",
                         problem_.c_str());
            return -1;
        case Outcome::NoAnswer: {
            const QString pid = holderPid_ > 0 ? QString::number(holderPid_) : tr("不明");
            showStartBox(prompter, BoxKind::Error,
                         tr("Zemoplanは既に起動していますが、応答がありません！\nﾌﾟﾛｾｽ: %1\nシステムを終了します。")
                             .arg(pid)
                             .toStdString(),
                         Buttons::Ok);
            return 1;
        }
    }
    return 1;
}

QMetaObject::Connection SingleInstance::raiseStartBoxOnRequest() {
    return connect(this, &SingleInstance::activationRequested, this, [] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && qobject_cast<QMessageBox*>(w)) box = w;
        if (!box) return;
        if (box->isMinimized()) box->setWindowState(box->windowState() & ~Qt::WindowMinimized);
        box->raise();
        box->activateWindow();
    });
}

void SingleInstance::readMessages() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        auto take = [this, socket, buffer] {
            buffer->append(socket->readAll());
            qsizetype end;
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

// ---- one copy per program folder ----

ProgramFolderLock::ProgramFolderLock(std::filesystem::path programDir)
    : programDir_(std::move(programDir)), path_(folderLockPath(programDir_)) {}

ProgramFolderLock::~ProgramFolderLock() { release(); }

void ProgramFolderLock::release() { lock_.reset(); }

std::string ProgramFolderLock::holderLines(const LockHolder& h) const {
    const QString unknown = tr("不明");
    const QString user = h.user.empty() ? unknown : QString::fromStdString(h.user);
    const QString host = h.readable && !h.record.host.empty() ? QString::fromStdString(h.record.host) : unknown;
    return tr("%1\n使用者: %2\nｺﾝﾋﾟｭｰﾀ: %3\n開始: %4")
        .arg(QFile::decodeName(programDir_.c_str()), user, host, QString::fromStdString(formatLockTime(h.since)))
        .toStdString();
}

std::string ProgramFolderLock::refusalText(const LockHolder& h) const {
    return tr("ﾌﾟﾛｸﾞﾗﾑﾌｫﾙﾀﾞは他のZemoplanが使用中です！").toStdString() + "\n" + holderLines(h) + "\n" +
           tr("システムを終了します。").toStdString();
}

std::string ProgramFolderLock::takeOverQuestion(const LockHolder& h) const {
    return tr("ﾌﾟﾛｸﾞﾗﾑﾌｫﾙﾀﾞは他のZemoplanが使用中です！").toStdString() + "\n" + holderLines(h) + "\n" +
           tr("1日以上前からの使用です。そのｺﾝﾋﾟｭｰﾀのZemoplanが終了していることを確かめてください。\n"
              "使用中を解除して起動しますか？")
               .toStdString();
}

std::string ProgramFolderLock::notTakenOverText() const {
    return tr("ﾌﾟﾛｸﾞﾗﾑﾌｫﾙﾀﾞの使用中を解除できません！\n%1\nシステムを終了します。")
        .arg(QFile::decodeName(path_.c_str()))
        .toStdString();
}

ProgramFolderLock::Outcome ProgramFolderLock::acquire(Prompter& prompter, std::time_t now) {
    lock_ = std::make_unique<QLockFile>(QFile::decodeName(path_.c_str()));
    // A long run is never taken for a stale lock by its age; only a gone process makes it stale.
    lock_->setStaleLockTime(0);
    LockHolder last;
    bool told = false;
    for (int attempt = 0; attempt <= kUnreadableRetries; ++attempt) {
        if (lock_->tryLock(0)) return Outcome::Held;
        if (lock_->error() != QLockFile::LockFailedError) {
            std::fprintf(stderr, "zemoplan: %s cannot be made; running without the program folder's lock\n",
                         path_.c_str());
            lock_.reset();
            return Outcome::NoLock;
        }
        last = readLock(path_);
        switch (last.state) {
            case LockState::Free:  // gone meanwhile
                continue;
            case LockState::Stale:
                // Left by a copy of this computer that is gone. QLockFile removes such a lock itself
                // when it may write the file; one of another account is removed here.
                if (lock_->removeStaleLockFile() || removeUnheldLock(path_)) continue;
                QThread::msleep(kRetryMs);
                continue;
            case LockState::Held:
                break;
        }
        if (!last.readable && attempt < kUnreadableRetries) {  // a copy writing it finishes in a moment
            QThread::msleep(kRetryMs);
            continue;
        }
        if (last.readable && !last.here && foreignLockOld(last.since, now)) {
            told = true;
            if (showStartBox(prompter, BoxKind::Confirmation, takeOverQuestion(last), Buttons::YesNoDefaultNo) != Answer::Yes)
                break;
            if ((lock_->removeStaleLockFile() || removeUnheldLock(path_)) && lock_->tryLock(0)) return Outcome::Held;
            showStartBox(prompter, BoxKind::Error, notTakenOverText(), Buttons::Ok);
            break;
        }
        break;
    }
    // Whatever kept the lock from this copy, the user hears who holds the folder.
    if (!told) showStartBox(prompter, BoxKind::Error, refusalText(last), Buttons::Ok);
    lock_.reset();
    return Outcome::Refused;
}

}  // namespace zemo::ui
