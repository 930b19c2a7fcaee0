// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/win_crt.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zemo::ui {

TWinCrt::TWinCrt(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("WinCrt");
    setWindowTitle(tr("デバッグ"));

    ButtonClear = new QPushButton(QStringLiteral("Clear"), this);
    ButtonClear->setObjectName("ButtonClear");
    ButtonStop = new QPushButton(this);
    ButtonStop->setObjectName("ButtonStop");
    ButtonClose = new QPushButton(QStringLiteral("Close"), this);
    ButtonClose->setObjectName("ButtonClose");
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* bar = new QHBoxLayout;
    bar->addWidget(ButtonClear);
    bar->addWidget(ButtonStop);
    bar->addWidget(ButtonClose);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(Memo1, 1);

    connect(ButtonClear, &QPushButton::clicked, Memo1, &QPlainTextEdit::clear);
    connect(ButtonStop, &QPushButton::clicked, this, [this] {
        running_ = !running_;
        updateCaption();
    });
    connect(ButtonClose, &QPushButton::clicked, this, [this] {
        running_ = false;
        updateCaption();
        close();
    });
    updateCaption();
}

void TWinCrt::setRunning(bool running) {
    running_ = running;
    updateCaption();
    if (running) show();
    else close();
}

void TWinCrt::writeLine(const QString& line) {
    if (running_) Memo1->appendPlainText(line);
}

void TWinCrt::updateCaption() { ButtonStop->setText(running_ ? QStringLiteral("Stop") : QStringLiteral("Start")); }

}  // namespace zemo::ui
