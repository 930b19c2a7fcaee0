#pragma once
// One copy per user: a lock named after the mutex, and a local socket of the same name through
// which a second start asks the first copy to come to the front.
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace zemo::ui {

inline const QString kMutexName = QStringLiteral("WZEMO32 Double StandUp Stopper");
inline const QString kMessageName = QStringLiteral("WZEMO32 Measure Inst");

class SingleInstance : public QObject {
    Q_OBJECT

public:
    // name: the lock's and the socket's name; by default the mutex name with the user's id.
    explicit SingleInstance(const QString& name = defaultName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString defaultName();

    // True when this is the only copy (the lock is held and the socket listens from now on);
    // false when another copy runs, after it has been sent the message.
    bool acquire();

    QString serverName() const { return name_; }
    QString lockPath() const;

signals:
    // Another start sent the message.
    void activationRequested();

private:
    void readMessages();

    QString name_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

}  // namespace zemo::ui
