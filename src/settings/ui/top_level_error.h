#pragma once
// The application-wide handling of errors that no window handles: drive and file input/output
// errors get "ドライブにアクセスできません" and put the chooser they happened in back on its last
// good drive; every other error just ends the action that raised it.
#include <QApplication>
#include <exception>

class QWidget;

namespace zemo {
class Prompter;
}

namespace zemo::ui {

// A window with a drive box that can go back to the last drive it could read.
class DriveChooser {
public:
    DriveChooser();
    virtual ~DriveChooser();
    DriveChooser(const DriveChooser&) = delete;
    DriveChooser& operator=(const DriveChooser&) = delete;

    virtual void restoreLastGoodDrive() = 0;
    virtual QWidget* chooserWindow() = 0;
};

// Where the drive error box goes; nullptr (the default) shows a plain message box.
void setTopLevelPrompter(Prompter* prompter);

// std::filesystem::filesystem_error and std::ios_base::failure.
bool isDriveIoError(const std::exception& e);

// where: the chooser whose action failed, if known; otherwise the chooser that is on screen.
// Returns true when the error was a drive or file input/output error (and was reported).
bool handleTopLevelError(const std::exception& e, DriveChooser* where = nullptr);

// Runs an action of a window, handing anything it throws to the top-level handler, so that no
// exception ever travels through the toolkit's own frames.
template <typename F>
void guarded(F&& action, DriveChooser* where = nullptr) {
    try {
        action();
    } catch (const std::exception& e) {
        handleTopLevelError(e, where);
    } catch (...) {
        // Not one of ours to report: the action simply ends.
    }
}

// The application object of the desktop program: whatever an event handler throws is handed to
// the top-level handler instead of ending the program.
class ZemoApplication : public QApplication {
    Q_OBJECT
public:
    ZemoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace zemo::ui
