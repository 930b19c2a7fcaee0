// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: menu, tool buttons, the one-second clock in the working windows' captions,
// start-up over the workspace it owns, and the window settings written when it closes.
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/prompter.h"
#include "records/window_settings.h"
#include "records/workspace.h"

class QAction;
class QAbstractButton;
class QTimer;

namespace Ui {
class TFrmMain;
}

namespace zemo::ui { class TAboutBox; }

namespace zemo::ui {

// Caption prefixes of the windows whose captions carry the clock.
inline const QString kShufCaptionPrefix = QStringLiteral("振り分け ");
inline const QString kCatalogueCaptionPrefix = QStringLiteral("データ登録 ");
inline const QString kEditorCaptionPrefix = QStringLiteral("データ編集 ");

// Exit status of a run that could not start (control record or memory).
inline constexpr int kFatalExitStatus = 1;

struct StartOptions {
    std::filesystem::path programDir;
    std::filesystem::path executablePath;
    std::vector<std::string> args;  // the parameters after the program's own options
};

class TFrmMain : public QMainWindow {
    Q_OBJECT

public:
    // The menu commands that open other windows; each stays disabled until a handler is given.
    enum class Command { Optimum, Edit, DataAdd, SysMode, Revise, SysPass, Shuffle, PrnLabel, ShareSet };

    TFrmMain(Prompter& prompter, const Clock& clock, const StartOptions& options, QWidget* parent = nullptr);
    ~TFrmMain() override;

    Workspace& workspace() { return *ws_; }
    WindowSettings& windowSettings() { return settings_; }
    bool fatal() const { return fatal_; }
    TAboutBox* aboutBox() const { return aboutBox_; }

    // Gives a command its action and enables its menu item and buttons.
    void setCommand(Command command, std::function<void()> handler);

    // A window whose caption the timer writes: prefix + the date and time.
    void addClockCaption(QWidget* window, const QString& prefix);
    // A window placed from the settings under a key stem ("Edit", "Shuf", ...): placed now (left
    // and top 0, then each remembered value that is not -1) and its placement written back with
    // the settings when the main window closes.
    void addPlacedWindow(QWidget* window, const std::string& stem);

public slots:
    void Timer1Timer();
    void MFileExitClick();
    void SpdBtnExitClick();
    void MEditOptimumClick();
    void MEditEditClick();
    void MDataAddClick();
    void SysModeClick();
    void BtnSysClick();
    void ReviseClick();
    void SysPassClick();
    void ShuffleClick();
    void PrnLabelClick();
    void ShareSetClick();
    void MHelpAboutClick();
    // A second start asked this copy to come to the front.
    void bringToFront();
    // The session asks the program to end (SIGTERM, SIGINT): with only this window open it
    // closes as 終了 does; otherwise the open window comes to the front and asks its close
    // question, which the user answers.
    void closeOnRequest();

signals:
    void broughtToFront();

protected:
    void closeEvent(QCloseEvent* event) override;

public:
    void setVisible(bool visible) override;

private:
    struct Placed {
        QPointer<QWidget> window;
        std::string stem;
    };
    struct CommandSlot {
        std::function<void()> handler;
        std::vector<QAction*> actions;
        std::vector<QAbstractButton*> buttons;
    };

    void connectHandlers();
    void runCommand(Command command);
    CommandSlot& slot(Command command) { return commands_[static_cast<int>(command)]; }

    const Clock& clock_;
    std::unique_ptr<Workspace> ws_;
    WindowSettings settings_;
    bool fatal_ = false;
    bool ending_ = false;
    StartOptions options_;
    std::unique_ptr<Ui::TFrmMain> ui_;

    QTimer* timer_ = nullptr;
    TAboutBox* aboutBox_ = nullptr;
    std::vector<std::pair<QPointer<QWidget>, QString>> clockCaptions_;
    std::vector<Placed> placed_;
    std::map<int, CommandSlot> commands_;
};

}  // namespace zemo::ui
