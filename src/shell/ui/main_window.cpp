// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/main_window.h"

#include <QApplication>
#include <QMessageBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "shell/startup.h"
#include "shell/ui/about_box.h"
#include "ui/window_parts.h"
#include "ui/window_place.h"

namespace zemo::ui {

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
}

// Entries that the menu carries but never shows.
void addHiddenItem(QMenu* menu, const char* name, const QString& caption) {
    addItem(menu, name, caption)->setVisible(false);
}

}  // namespace

TFrmMain::TFrmMain(Prompter& prompter, const Clock& clock, const StartOptions& options, QWidget* parent)
    : QMainWindow(parent),
      clock_(clock),
      ws_(std::make_unique<Workspace>(prompter, clock, options.programDir)),
      options_(options) {
    ws_->executablePath = options.executablePath;
    setObjectName("FrmMain");
    setWindowTitle("Zemoplan");
    buildWindow();

    // Creation: control record, window settings, database size and arrays, then placement.
    QSize screen(1024, 768);
    if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->geometry().size();
    fatal_ = startShell(*ws_, settings_, options_.args, screen.width(), screen.height());
    applyPlace(this, settings_.positions["Main"]);
    lblDtTm_->clear();
    aboutBox_ = new TAboutBox(this);

    timer_->start();
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::buildWindow() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    QMenu* file = bar->addMenu("ﾌｧｲﾙ(&F)");
    file->setObjectName("MenuFile");
    connect(addItem(file, "MFileExit", "終了(&X)"), &QAction::triggered, this, &TFrmMain::MFileExitClick);

    QMenu* edit = bar->addMenu("編集(&E)");
    edit->setObjectName("MenuEdit");
    QAction* optimum = addItem(edit, "MEditOptimum", "最適化処理(&S)");
    QAction* editData = addItem(edit, "MEditEdit", "データ登録(&E)");
    QAction* dataAdd = addItem(edit, "MDataAdd", "追加  ﾌｧｲﾙ(&A)");
    addHiddenItem(edit, "MEditText", "ﾃｷｽﾄ 追加(&T)");
    connect(optimum, &QAction::triggered, this, &TFrmMain::MEditOptimumClick);
    connect(editData, &QAction::triggered, this, &TFrmMain::MEditEditClick);
    connect(dataAdd, &QAction::triggered, this, &TFrmMain::MDataAddClick);

    QMenu* mente = bar->addMenu("設定(&S)");
    mente->setObjectName("MenuMente");
    QAction* sysMode = addItem(mente, "SysMode", "ｼｽﾃﾑﾓｰﾄﾞ(&M)");
    QAction* revise = addItem(mente, "Revise", "誤差補正(&R)");
    QAction* sysPass = addItem(mente, "SysPass", "ｼｽﾃﾑﾊﾟｽ(&P)");
    QAction* shuffle = addItem(mente, "Shuffle", "振り分け(&S)");
    QAction* prnLabel = addItem(mente, "PrnLabel", "ﾗﾍﾞﾙ 印刷(&L)");
    QAction* shareSet = addItem(mente, "ShareSet", "SHARE 設定(&S)");
    addHiddenItem(mente, "MMenteDataPrint", "ﾃﾞｰﾀ  印刷(&D)");
    connect(sysMode, &QAction::triggered, this, &TFrmMain::SysModeClick);
    connect(revise, &QAction::triggered, this, &TFrmMain::ReviseClick);
    connect(sysPass, &QAction::triggered, this, &TFrmMain::SysPassClick);
    connect(shuffle, &QAction::triggered, this, &TFrmMain::ShuffleClick);
    connect(prnLabel, &QAction::triggered, this, &TFrmMain::PrnLabelClick);
    connect(shareSet, &QAction::triggered, this, &TFrmMain::ShareSetClick);

    QMenu* help = bar->addMenu("ヘルプ(&H)");
    help->setObjectName("MenuHelp");
    connect(addItem(help, "MHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)"), &QAction::triggered, this,
            &TFrmMain::MHelpAboutClick);
    addHiddenItem(help, "MHelpHelp", "ヘルプ(&H)");

    auto* central = new QWidget(this);
    central->setObjectName("ClientArea");
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* tools = new QFrame(central);
    tools->setObjectName("PanelTools");
    tools->setFrameShape(QFrame::StyledPanel);
    auto* toolsLayout = new QHBoxLayout(tools);
    toolsLayout->setContentsMargins(4, 2, 4, 2);
    auto* spdExit = parts::glyphToolButton(tools, "SpdBtnExit", "終了", QStyle::SP_DialogCloseButton);
    auto* spdShuf = parts::glyphToolButton(tools, "SpdBtnShuf", "振り分け", QStyle::SP_MediaSeekForward);
    auto* spdEdit = parts::glyphToolButton(tools, "SpdBtnEdit", "登録", QStyle::SP_FileDialogDetailedView);
    connect(spdExit, &QToolButton::clicked, this, &TFrmMain::SpdBtnExitClick);
    connect(spdShuf, &QToolButton::clicked, this, &TFrmMain::MEditOptimumClick);
    connect(spdEdit, &QToolButton::clicked, this, &TFrmMain::MEditEditClick);
    lblDtTm_ = new QLabel("--:--:--", tools);
    lblDtTm_->setObjectName("Lbl_DtTm");
    toolsLayout->addWidget(spdExit);
    toolsLayout->addWidget(spdShuf);
    toolsLayout->addWidget(spdEdit);
    toolsLayout->addStretch();
    toolsLayout->addWidget(lblDtTm_);
    layout->addWidget(tools);

    auto* memo = new QPlainTextEdit(central);
    memo->setObjectName("Memo1");
    memo->hide();
    layout->addWidget(memo);

    auto* panel1 = new QWidget(central);
    panel1->setObjectName("Panel1");
    auto* panelLayout = new QHBoxLayout(panel1);
    auto* btnEnd = parts::button<QPushButton>(panel1, "BtnEnd", "終了");
    auto* btnShuffle = parts::button<QPushButton>(panel1, "BtnShuffle", "最適化");
    auto* btnData = parts::button<QPushButton>(panel1, "BtnData", "登録");
    auto* btnSys = parts::button<QPushButton>(panel1, "BtnSys", "ｼｽﾃﾑ");
    for (QPushButton* b : {btnEnd, btnShuffle, btnData, btnSys}) panelLayout->addWidget(b);
    connect(btnEnd, &QPushButton::clicked, this, &TFrmMain::MFileExitClick);
    connect(btnShuffle, &QPushButton::clicked, this, &TFrmMain::MEditOptimumClick);
    connect(btnData, &QPushButton::clicked, this, &TFrmMain::MEditEditClick);
    connect(btnSys, &QPushButton::clicked, this, &TFrmMain::BtnSysClick);
    panel1->hide();
    layout->addWidget(panel1);
    setCentralWidget(central);

    slot(Command::Optimum) = {{}, {optimum}, {spdShuf, btnShuffle}};
    slot(Command::Edit) = {{}, {editData}, {spdEdit, btnData}};
    slot(Command::DataAdd) = {{}, {dataAdd}, {}};
    slot(Command::SysMode) = {{}, {sysMode}, {btnSys}};
    slot(Command::Revise) = {{}, {revise}, {}};
    slot(Command::SysPass) = {{}, {sysPass}, {}};
    slot(Command::Shuffle) = {{}, {shuffle}, {}};
    slot(Command::PrnLabel) = {{}, {prnLabel}, {}};
    slot(Command::ShareSet) = {{}, {shareSet}, {}};
    // Until their windows exist, these commands stay in the menu, disabled.
    for (auto& [key, s] : commands_) {
        for (QAction* a : s.actions) a->setEnabled(false);
        for (QAbstractButton* b : s.buttons) b->setEnabled(false);
    }

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &TFrmMain::Timer1Timer);

    // Design size: as wide as the menu needs, as high as menu and tool bar.
    resize(320, sizeHint().height());
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

void TFrmMain::Timer1Timer() {
    const QString now = QString::fromStdString(clockText(clock_.localNow()));
    for (auto& [window, prefix] : clockCaptions_)
        if (window) window->setWindowTitle(prefix + now);
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
