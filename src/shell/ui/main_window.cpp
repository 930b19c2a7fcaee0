// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <utility>

#include "shell/startup.h"
#include "shell/ui/about_box.h"
#include "ui/window_parts.h"
#include "ui/window_place.h"
#include "ui_main_window.h"

namespace zemo::ui {

TFrmMain::TFrmMain(Prompter& prompter, const Clock& clock, const StartOptions& options, QWidget* parent)
    : QMainWindow(parent),
      clock_(clock),
      ws_(std::make_unique<Workspace>(prompter, clock, options.programDir)),
      options_(options),
      ui_(std::make_unique<Ui::TFrmMain>()) {
    ws_->executablePath = options.executablePath;
    ui_->setupUi(this);
    parts::dressGlyphToolButton(ui_->SpdBtnExit, QStyle::SP_DialogCloseButton);
    parts::dressGlyphToolButton(ui_->SpdBtnShuf, QStyle::SP_MediaSeekForward);
    parts::dressGlyphToolButton(ui_->SpdBtnEdit, QStyle::SP_FileDialogDetailedView);
    connectHandlers();
    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &TFrmMain::Timer1Timer);
    // Design size: as wide as the menu needs, as high as menu and tool bar.
    resize(320, sizeHint().height());

    // Creation: control record, window settings, database size and arrays, then placement.
    QSize screen(1024, 768);
    if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->geometry().size();
    fatal_ = startShell(*ws_, settings_, options_.args, screen.width(), screen.height());
    applyPlace(this, settings_.positions["Main"]);
    ui_->Lbl_DtTm->clear();
    aboutBox_ = new TAboutBox(this);

    timer_->start();
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::connectHandlers() {
    const std::pair<QAction*, void (TFrmMain::*)()> items[] = {
        {ui_->MFileExit, &TFrmMain::MFileExitClick}, {ui_->MEditOptimum, &TFrmMain::MEditOptimumClick},
        {ui_->MEditEdit, &TFrmMain::MEditEditClick}, {ui_->MDataAdd, &TFrmMain::MDataAddClick},
        {ui_->SysMode, &TFrmMain::SysModeClick},     {ui_->Revise, &TFrmMain::ReviseClick},
        {ui_->SysPass, &TFrmMain::SysPassClick},     {ui_->Shuffle, &TFrmMain::ShuffleClick},
        {ui_->PrnLabel, &TFrmMain::PrnLabelClick},   {ui_->ShareSet, &TFrmMain::ShareSetClick},
        {ui_->MHelpAbout, &TFrmMain::MHelpAboutClick},
    };
    for (auto [action, handler] : items) connect(action, &QAction::triggered, this, handler);
    const std::pair<QAbstractButton*, void (TFrmMain::*)()> buttons[] = {
        {ui_->SpdBtnExit, &TFrmMain::SpdBtnExitClick}, {ui_->SpdBtnShuf, &TFrmMain::MEditOptimumClick},
        {ui_->SpdBtnEdit, &TFrmMain::MEditEditClick},  {ui_->BtnEnd, &TFrmMain::MFileExitClick},
        {ui_->BtnShuffle, &TFrmMain::MEditOptimumClick}, {ui_->BtnData, &TFrmMain::MEditEditClick},
        {ui_->BtnSys, &TFrmMain::BtnSysClick},
    };
    for (auto [button, handler] : buttons) connect(button, &QAbstractButton::clicked, this, handler);

    slot(Command::Optimum) = {{}, {ui_->MEditOptimum}, {ui_->SpdBtnShuf, ui_->BtnShuffle}};
    slot(Command::Edit) = {{}, {ui_->MEditEdit}, {ui_->SpdBtnEdit, ui_->BtnData}};
    slot(Command::DataAdd) = {{}, {ui_->MDataAdd}, {}};
    slot(Command::SysMode) = {{}, {ui_->SysMode}, {ui_->BtnSys}};
    slot(Command::Revise) = {{}, {ui_->Revise}, {}};
    slot(Command::SysPass) = {{}, {ui_->SysPass}, {}};
    slot(Command::Shuffle) = {{}, {ui_->Shuffle}, {}};
    slot(Command::PrnLabel) = {{}, {ui_->PrnLabel}, {}};
    slot(Command::ShareSet) = {{}, {ui_->ShareSet}, {}};
    // Until their windows exist, these commands stay in the menu, disabled.
    for (auto& [key, s] : commands_) {
        for (QAction* a : s.actions) a->setEnabled(false);
        for (QAbstractButton* b : s.buttons) b->setEnabled(false);
    }
}

void TFrmMain::setCommand(Command command, std::function<void()> handler) {
    CommandSlot& s = slot(command);
    s.handler = std::move(handler);
    bool on = static_cast<bool>(s.handler);
    for (QAction* a : s.actions) a->setEnabled(on);
    for (QAbstractButton* b : s.buttons) b->setEnabled(on);
}

void TFrmMain::runCommand(Command command) {
    CommandSlot& s = slot(command);
    if (s.handler) s.handler();
}

void TFrmMain::addClockCaption(QWidget* window, const QString& prefix) {
    clockCaptions_.emplace_back(window, prefix);
}

void TFrmMain::addPlacedWindow(QWidget* window, const std::string& stem) {
    applyPlace(window, settings_.positions[stem]);
    placed_.push_back(Placed{window, stem});
}

// The caption prefixes are translated here, where they are shown; the constants stay the Japanese keys.
[[maybe_unused]] constexpr const char* kCaptionPrefixTexts[] = {
    QT_TRANSLATE_NOOP("zemo::ui::TFrmMain", "振り分け "),
    QT_TRANSLATE_NOOP("zemo::ui::TFrmMain", "データ登録 "),
    QT_TRANSLATE_NOOP("zemo::ui::TFrmMain", "データ編集 "),
};

void TFrmMain::Timer1Timer() {
    const QString now = QString::fromStdString(clockText(clock_.localNow()));
    for (auto& [window, prefix] : clockCaptions_)
        if (window) window->setWindowTitle(tr(prefix.toUtf8().constData()) + now);
}

void TFrmMain::MFileExitClick() { close(); }
void TFrmMain::SpdBtnExitClick() { close(); }
void TFrmMain::MEditOptimumClick() { runCommand(Command::Optimum); }
void TFrmMain::MEditEditClick() { runCommand(Command::Edit); }
void TFrmMain::MDataAddClick() { runCommand(Command::DataAdd); }
void TFrmMain::SysModeClick() { runCommand(Command::SysMode); }
void TFrmMain::BtnSysClick() { runCommand(Command::SysMode); }
void TFrmMain::ReviseClick() { runCommand(Command::Revise); }
void TFrmMain::SysPassClick() { runCommand(Command::SysPass); }
void TFrmMain::ShuffleClick() { runCommand(Command::Shuffle); }
void TFrmMain::PrnLabelClick() { runCommand(Command::PrnLabel); }
void TFrmMain::ShareSetClick() { runCommand(Command::ShareSet); }

void TFrmMain::MHelpAboutClick() {
    aboutBox_->exec();
}

void TFrmMain::bringToFront() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    if (isVisible()) {
        raise();
        activateWindow();
    }
    // A window opened from the menu holds the user; it comes to the front above the main window.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
        if (modal->isMinimized()) modal->setWindowState(modal->windowState() & ~Qt::WindowMinimized);
        modal->raise();
        modal->activateWindow();
    }
    emit broughtToFront();
}

void TFrmMain::closeOnRequest() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == this) {
        MFileExitClick();
        return;
    }
    bringToFront();
    // A message box is an answer the user still owes; it stays, and its window asks later.
    if (!qobject_cast<QMessageBox*>(modal)) modal->close();
}

void TFrmMain::setVisible(bool visible) {
    if (visible && fatal_) {
        // The messages have been given; the application ends instead of showing its window.
        if (!ending_) {
            ending_ = true;
            QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(kFatalExitStatus); },
                                      Qt::QueuedConnection);
        }
        return;
    }
    QMainWindow::setVisible(visible);
}

void TFrmMain::closeEvent(QCloseEvent* event) {
    if (!fatal_) {
        settings_.positions["Main"] = currentPlace(this);
        for (const Placed& p : placed_)
            if (p.window) settings_.positions[p.stem] = currentPlace(p.window);
        saveWindowSettings(*ws_, settings_);
    }
    event->accept();
}

}  // namespace zemo::ui
