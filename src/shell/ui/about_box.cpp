// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/about_box.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace zemo::ui {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle(tr("バージョン情報"));
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setObjectName("ProgramIcon");
    QIcon appIcon = QApplication::windowIcon();
    if (appIcon.isNull()) appIcon = style()->standardIcon(QStyle::SP_DriveCDIcon);
    icon->setPixmap(appIcon.pixmap(48, 48));

    auto* product = new QLabel(tr("Zemoplan ｼｽﾃﾑ"), this);
    product->setObjectName("ProductName");
    auto* version = new QLabel(this);
    version->setObjectName("Version");
    version->setText(QStringLiteral("Version " ZEMO_VERSION));

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setFixedSize(300, 150);

}

// Centred on the screen each time it opens, wherever the main window is.
void TAboutBox::showEvent(QShowEvent* event) {
    if (QScreen* s = screen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
    QDialog::showEvent(event);
}

}  // namespace zemo::ui
