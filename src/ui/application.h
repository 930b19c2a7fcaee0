// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object of the desktop program and the handling of errors that no window
// handles: drive and file input/output errors get "ドライブにアクセスできません" and put the chooser
// they happened in back on its last good drive; every other error ends the action that raised it,
// with its type and text on stderr for whoever runs the program from a terminal.
#include <QApplication>
#include <exception>
#include <memory>
#include <vector>

class QSocketNotifier;
class QWidget;

namespace zemo {
class Prompter;
}

namespace zemo::ui {

class ProgramPrinter;

// A window with a drive box that can go back to the last drive it could read. It registers with
// the application object while it exists.
class DriveChooser {
public:
    DriveChooser();
    virtual ~DriveChooser();
    DriveChooser(const DriveChooser&) = delete;
    DriveChooser& operator=(const DriveChooser&) = delete;

    virtual void restoreLastGoodDrive() = 0;
    virtual QWidget* chooserWindow() = 0;
};

// std::filesystem::filesystem_error and std::ios_base::failure.
bool isDriveIoError(const std::exception& e);

// "type: text" of an exception, the type demangled.
std::string describeException(const std::exception& e);

// The top-level handler of the running application object (see ZemoApplication::handleError);
// without one, a drive error still gets its box and nothing else is done.
bool handleTopLevelError(const std::exception& e, DriveChooser* where = nullptr);

// Runs an action of a window, handing anything it throws to the top-level handler, so that no
// exception ever travels through the toolkit's own frames.
template <typename F>
void guarded(F&& action, DriveChooser* where = nullptr);

class ZemoApplication : public QApplication {
    Q_OBJECT
public:
    ZemoApplication(int& argc, char** argv);
    ~ZemoApplication() override;

    // The running application object, or nullptr when the application is not one of ours.
    static ZemoApplication* current();

    // Whatever an event handler throws is handed to the top-level handler instead of ending the
    // program.
    bool notify(QObject* receiver, QEvent* event) override;

    // Where the drive error box goes; nullptr (the default) shows a plain message box.
    void setPrompter(Prompter* prompter) { prompter_ = prompter; }
    Prompter* prompter() const { return prompter_; }

    // where: the chooser whose action failed, if known; otherwise the chooser that is on screen.
    // Returns true when the error was a drive or file input/output error (and was reported).
    bool handleError(const std::exception& e, DriveChooser* where = nullptr);

    // The program's one printer, chosen once and kept for the run.
    ProgramPrinter& printer();

    // SIGTERM and SIGINT become terminationRequested() in the event loop. A request made before
    // anything listens (a start-up box on screen) waits for the first listener instead of being lost.
    void watchTerminationSignals();

    void addChooser(DriveChooser* chooser);
    void removeChooser(DriveChooser* chooser);

signals:
    void terminationRequested();

protected:
    void connectNotify(const QMetaMethod& signal) override;
    void disconnectNotify(const QMetaMethod& signal) override;

private:
    DriveChooser* activeChooser() const;
    // Reads the signal pipe only while someone listens for terminationRequested.
    void listenWhileConnected();

    std::vector<DriveChooser*> choosers_;
    Prompter* prompter_ = nullptr;
    bool reporting_ = false;  // a failure while reporting or restoring is not reported again
    std::unique_ptr<ProgramPrinter> printer_;
    QSocketNotifier* signalNotifier_ = nullptr;
};

void reportUnhandled(const char* what);

template <typename F>
void guarded(F&& action, DriveChooser* where) {
    try {
        action();
    } catch (const std::exception& e) {
        handleTopLevelError(e, where);
    } catch (...) {
        reportUnhandled("an exception of unknown type");
    }
}

}  // namespace zemo::ui
