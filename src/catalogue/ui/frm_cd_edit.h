// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record editor "データ編集": one CD record in entry fields, registered as a catalogue record by
// barcode (replace or add), deleted by barcode, copied and pasted, stepped through the catalogue
// list, and loaded from the search, the two histories and the add list. It stands beside the
// catalogue list window and follows its current row.
#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>

#include "records/cd_record.h"
#include "ui/modifier_button.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace Ui {
class TFrmCdEdit;
}

namespace zemo {
class Workspace;
class BarcodeAgreement;
struct WindowSettings;
struct ExtractSpec;
}  // namespace zemo

namespace zemo::ui {

class FieldChecks;
class TFrmCd_Add;
class TFrmCd_data;
class TFrmCd_Del;
class TFrmCd_New;

class TFrmCdEdit : public QDialog {
    Q_OBJECT
public:
    TFrmCdEdit(Workspace& ws, WindowSettings& settings, QWidget* parent = nullptr);
    ~TFrmCdEdit() override;

    // The catalogue list window: the editor follows its current row, redraws the rows it
    // registers into, steps it with ＵＰ/ＤＯＷＮ, shows itself when the list opens for editing and
    // hides when it closes; the list's "編集" brings it to the front.
    void setCatalogueWindow(TFrmCd_data* catalogue);
    // The barcode agreement window behind registration and "削除".
    void setAgreement(BarcodeAgreement* agreement) { agreement_ = agreement; applyDoors(); }
    // The search dialog in get mode: fills the extraction list and returns true when the user
    // chose "取得" (request.selectedRow). "検出" stays disabled without it.
    void setSearch(std::function<bool(ExtractSpec& request)> search);
    void setHistories(TFrmCd_New* added, TFrmCd_Del* deleted);
    void setAddWindow(TFrmCd_Add* add);

    // Copies the record into the edit buffer, remembers the slot and fills every field.
    void showInEditor(const CdRecord& record, int slot);
    // Shows the window without blocking (beside the list) and brings it to the front.
    void showBeside();

    const CdRecord& buffer() const { return buffer_; }
    const CdRecord& copyRecord() const { return copy_; }
    int slot() const { return slot_; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BtnF06Click();
    void BtnGagrClick();
    void BtnDeleteClick();
    void BtnDelClick();
    void BtnNewClick();
    void BtnAddClick();
    void SpBtndateClick();
    void SpBtnentryClick();
    void SpBtnopenClick();
    void SpdBtnCopyClick();
    void SpdBtnPasteClick();
    void stepRows(int direction, Qt::KeyboardModifiers modifiers);
    void followRow(int slot);
    // Wired to the list when it is set: its row changes and its long loops.
    void connectCatalogueWindow();
    // Every command and field off (or back on) while the list runs a loop that lets events run.
    void lockCommands(bool locked);
    // What the fields hold, to tell typing from what showInEditor or "登録" left there.
    QStringList fieldTexts() const;
    bool hasUnregisteredChanges() const;
    // True when the fields may be replaced: nothing unregistered, or the user let it go.
    bool mayDiscardChanges();
    // Makes the row the fields came from the list's current row again.
    void putListRowBack();
    void applyDoors();
    void showTime(std::int32_t seconds);
    // The field checks that are due; false when one refused.
    bool fieldsSettled();

    bool codeExit(QLineEdit* edit);
    bool timeExit();
    bool dateExit(QLineEdit* edit);
    bool numberExit(QLineEdit* edit, int min, int max);

    Workspace& ws_;
    WindowSettings& settings_;
    TFrmCd_data* catalogue_ = nullptr;
    BarcodeAgreement* agreement_ = nullptr;
    std::function<bool(ExtractSpec&)> search_;
    TFrmCd_New* newWindow_ = nullptr;
    TFrmCd_Del* delWindow_ = nullptr;
    TFrmCd_Add* addWindow_ = nullptr;
    FieldChecks* checks_;

    // The form, and its controls under the names the handlers use (takeControls).
    std::unique_ptr<Ui::TFrmCdEdit> ui_;
    void takeControls();
    QLineEdit* Edt_bcd;
    QLineEdit* Edt_ucd;
    QLineEdit* Edt_acd;
    QLineEdit* Edt_ttl;
    QLineEdit* Edt_art;
    QLineEdit* Edt_tim;
    QLabel* Lbl_timdt;
    QLineEdit* Edt_date;
    QLineEdit* Edt_entry;
    QLineEdit* Edt_open;
    QLineEdit* Edt_suu;
    QLineEdit* Edt_pos;
    QComboBox* CBx_kind;
    QComboBox* CBx_infk;
    QToolButton* SpBtndate;
    QToolButton* SpBtnentry;
    QToolButton* SpBtnopen;

    QToolButton* SpdBtnExit;
    QToolButton* SpdBtnFind;
    QToolButton* SpdBtnCopy;
    QToolButton* SpdBtnPaste;
    ModifierToolButton* SpdBtnUp;
    ModifierToolButton* SpdBtnDown;
    QPushButton* BtnF01;
    QPushButton* BtnF06;
    QPushButton* BtnGagr;
    QPushButton* BtnDelete;
    QPushButton* BtnDel;
    QPushButton* BtnNew;
    QPushButton* BtnAdd;

    CdRecord buffer_{};
    CdRecord copy_{};
    int slot_ = -1;
    QStringList shownTexts_;  // the fields as last shown or registered
    // While registering or deleting, the record being worked on stays in the fields whatever the
    // agreement window does to the list's current row.
    bool keepShown_ = false;
    bool puttingRowBack_ = false;
};

}  // namespace zemo::ui
