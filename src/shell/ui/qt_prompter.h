#pragma once
// The Prompter of the desktop program: message boxes, the busy and arrow cursors, and the
// password prompt, read/write choice and data-file chooser.
#include <QPointer>
#include <memory>

#include "platform/prompter.h"

class QWidget;
class TFrmPassInp;
class TFrmFrdwt;
class TFrmFileSel;

namespace zemo {
class Workspace;
struct WindowSettings;
}  // namespace zemo

namespace zemo {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr);
    ~QtPrompter() override;

    // The main window creates the dialogs once and hands them over; a dialog not handed over
    // is created here on first use.
    void setPasswordDialog(TFrmPassInp* dialog);
    void setReadWriteDialog(TFrmFrdwt* dialog);
    void setFileChooser(TFrmFileSel* chooser);
    // What a chooser created here needs (the workspace and the window settings it remembers
    // its placement in). Without a chooser and without this, chooseDataFile chooses nothing.
    void setChooserContext(Workspace* ws, WindowSettings* settings);

    Answer message(BoxKind kind, const std::string& text, Buttons buttons) override;
    std::optional<std::string> askPassword() override;
    int askReadWrite() override;
    FileChoice chooseDataFile(int mode, const std::string& initialDir) override;
    void busyCursor(bool on) override;
    void arrowCursor(bool on) override;
    void processEvents() override;

    bool busy() const { return busy_; }

private:
    void applyCursor();

    QPointer<QWidget> parent_;
    QPointer<TFrmPassInp> password_;
    QPointer<TFrmFrdwt> readWrite_;
    QPointer<TFrmFileSel> chooser_;
    std::unique_ptr<TFrmPassInp> ownPassword_;
    std::unique_ptr<TFrmFrdwt> ownReadWrite_;
    std::unique_ptr<TFrmFileSel> ownChooser_;
    Workspace* ws_ = nullptr;
    WindowSettings* settings_ = nullptr;

    bool busy_ = false;
    int arrowDepth_ = 0;
    bool overrideSet_ = false;  // this prompter has a cursor on the override stack
};

}  // namespace zemo
