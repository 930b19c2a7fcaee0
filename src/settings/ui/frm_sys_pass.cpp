// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/frm_sys_pass.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <cstring>
#include <string>

#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/workspace.h"
#include "settings/ui/frm_get_dir.h"
#include "ui/dialog_keys.h"
#include "ui_frm_sys_pass.h"

namespace zemo::ui {

namespace {

template <std::size_t N>
QString slotText(const char (&slot)[N]) {
    return QString::fromStdString(zemo::sjisToUtf8(zemo::fieldText(slot)));
}

}  // namespace

TFrmSysPass::TFrmSysPass(zemo::Workspace& ws, TFrmGetDir& getDir, QWidget* parent)
    : ControlDialog(ws, parent), ui_(std::make_unique<Ui::TFrmSysPass>()), getDir_(getDir) {
    ui_->setupUi(this);
    rows_ = {Row{ui_->Edit_sys, ui_->BtnSsys, zemo::kPathSys}, Row{ui_->Edit_add, ui_->BtnSadd, zemo::kPathAdd},
             Row{ui_->Edit_txt, ui_->BtnStxt, zemo::kPathTxt}, Row{ui_->Edit_lib, ui_->BtnSlib, zemo::kPathLib}};
    for (const Row& row : rows_) {
        // Typing stops at 40 bytes; a longer text from the chooser or the file is shown whole and
        // refused by the length check.
        refuseBeyondSjisBytes(row.edit, kMaxPathBytes);
        checks_->add(row.edit, [this, &row] { return EditExit(row); });
        connect(row.browse, &QPushButton::clicked, this, [this, &row] { guarded([&] { BtnBrowseClick(row); }); });
    }
    keepEnterFromButtons(this);
    connect(ui_->BtnEnd, &QPushButton::clicked, this, [this] { close(); });
}

TFrmSysPass::~TFrmSysPass() = default;

void TFrmSysPass::showEvent(QShowEvent* e) {
    std::memcpy(paths_, ws_.control.paths, sizeof paths_);
    for (const Row& row : rows_) row.edit->setText(slotText(paths_[row.slot]));
    ControlDialog::showEvent(e);
    rows_[0].edit->setFocus(Qt::OtherFocusReason);
}

bool TFrmSysPass::EditExit(const Row& row) {
    // Blanks inside a folder's name are kept; those around it are not part of it.
    const QString text = QString::fromStdString(zemo::trimPathBlanks(row.edit->text().toStdString()));
    // Unchanged: the slot keeps its bytes, whatever their length.
    if (text == slotText(paths_[row.slot])) return true;
    if (!checkFieldText(ws_.prompter, text, kMaxPathBytes)) return false;
    zemo::setField(paths_[row.slot], zemo::utf8ToSjis(text.toStdString()));
    return true;
}

QString TFrmSysPass::storedForm(const QString& picked) const {
    // A folder inside the program folder is kept relative to it, as the defaults are, so that it
    // fits the slot wherever the program folder lies; anything else stays as picked.
    const QString base = QDir::cleanPath(QString::fromStdString(ws_.programDir.string()));
    for (const QString& folder : {QDir::cleanPath(picked), QFileInfo(picked).canonicalFilePath()}) {
        for (const QString& root : {base, QFileInfo(base).canonicalFilePath()}) {
            if (folder.isEmpty() || root.isEmpty()) continue;
            if (folder == root) return QStringLiteral(".");
            const QString prefix = root.endsWith('/') ? root : root + '/';
            if (folder.startsWith(prefix)) return folder.mid(prefix.size());
        }
    }
    return picked;
}

void TFrmSysPass::BtnBrowseClick(const Row& row) {
    // A field left just before the click is checked first.
    if (!checks_->settle()) return;
    const QString dir = QString::fromStdString(zemo::resolveDir(ws_, row.edit->text().toStdString()));
    if (QFileInfo(dir).isDir()) getDir_.setFolder(dir);
    getDir_.exec();
    if (!getDir_.ok()) return;
    const QString picked = getDir_.dirName();
    // Only an absolute folder can lie in the program folder; a typed relative name stays as typed.
    row.edit->setText(QDir::isAbsolutePath(picked) ? storedForm(picked) : picked);
    checks_->run(row.edit);
}

bool TFrmSysPass::storeAnswered() {
    if (storeAndSave([&] { std::memcpy(ws_.control.paths, paths_, sizeof paths_); }) != 0) return false;
    // Whatever was read from the old folders must never be saved into the new ones.
    ws_.loaded.fill(0);
    return true;
}

}  // namespace zemo::ui
