// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One running copy, kept in two ways.
//
// SingleInstance, one copy per user and computer: a lock and a local socket named after the mutex
// ("WZEMO32 Double StandUp Stopper") in the user's private runtime folder ($XDG_RUNTIME_DIR, else
// a 0700 folder of the user's under ~/.cache; see privateRuntimeFolder). A second start sends the
// message's name ("WZEMO32 Measure Inst") through the socket, which brings the first copy to the
// front, and ends. No other account can make files there, so nobody can plant or jam the lock; a
// lock whose process is gone, or that names none (a copy that died while making it), is taken
// over. A copy that holds the lock but does not answer is not waited on for ever: the second start
// says so and ends.
//
// ProgramFolderLock, one copy per program folder, whoever runs it and on whichever computer (two
// counters sharing the folder on a network drive): ZEMOPLAN.LCK in the program folder, made with
// QLockFile and held for the whole run. A second copy is told who holds it (user, computer, since
// when) and ends; a lock of a copy of this computer that is gone is taken over; one of another
// computer older than a day may be taken over after a question.
//
// Every box these show is written to stderr as well.
#include <QCoreApplication>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/prompter.h"
#include "shell/program_lock.h"

class QLocalServer;

namespace zemo::ui {

inline const QString kMutexName = QStringLiteral("WZEMO32 Double StandUp Stopper");
inline const QString kMessageName = QStringLiteral("WZEMO32 Measure Inst");

// Shows a box and writes its text to stderr as "zemoplan: TEXT" (further lines indented).
Answer showStartBox(Prompter& prompter, BoxKind kind, const std::string& text, Buttons buttons);

class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        First,     // the only copy: the lock is held and the socket listens from now on
        Raised,    // another copy runs and was sent the message
        NoAnswer,  // another copy holds the lock but takes no message
        NoGuard,   // no private folder or no lock there: this copy runs unguarded (see problem())
    };

    // folder: where the lock and the socket live; by default the user's private runtime folder.
    explicit SingleInstance(QObject* parent = nullptr);
    SingleInstance(const QString& folder, QObject* parent);
    ~SingleInstance() override;

    // The user's private runtime folder; empty, with the reason in problem, when there is none.
    static QString defaultFolder(std::string* problem = nullptr);

    Outcome acquire();

    // Until the main window takes the message over: a second start brings forward the box or
    // question the start-up waits on (the control file question, the folder lock's). Returns the
    // connection, to be ended then.
    QMetaObject::Connection raiseStartBoxOnRequest();

    // Tells the user about an outcome other than First and Raised (box and stderr); the exit
    // status the program ends with, or -1 when it goes on.
    int report(Outcome outcome, Prompter& prompter) const;

    QString folder() const { return folder_; }
    QString socketPath() const;
    QString lockPath() const;
    const std::string& problem() const { return problem_; }
    qint64 holderPid() const { return holderPid_; }

signals:
    // Another start sent the message.
    void activationRequested();

private:
    void readMessages();

    QString folder_;
    std::string problem_;
    qint64 holderPid_ = 0;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

class ProgramFolderLock {
    Q_DECLARE_TR_FUNCTIONS(ProgramFolderLock)

public:
    enum class Outcome {
        Held,     // this copy holds the folder until it ends
        Refused,  // another copy holds it; the user was told (or declined to take it over)
        NoLock,   // no lock can be made there (a folder that cannot be written): runs without
    };

    explicit ProgramFolderLock(std::filesystem::path programDir);
    ~ProgramFolderLock();
    ProgramFolderLock(const ProgramFolderLock&) = delete;
    ProgramFolderLock& operator=(const ProgramFolderLock&) = delete;

    // now: the time the age of another computer's lock is measured against.
    Outcome acquire(Prompter& prompter, std::time_t now = std::time(nullptr));
    bool held() const { return lock_ && lock_->isLocked(); }
    void release();

    const std::filesystem::path& path() const { return path_; }

    // The texts of the boxes, for the holder h.
    std::string refusalText(const LockHolder& h) const;
    std::string takeOverQuestion(const LockHolder& h) const;
    std::string notTakenOverText() const;

private:
    std::string holderLines(const LockHolder& h) const;

    std::filesystem::path programDir_;
    std::filesystem::path path_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace zemo::ui
