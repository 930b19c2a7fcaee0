#include "settings/ui/top_level_error.h"

#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <ios>
#include <vector>

#include "shell/ui/qt_prompter.h"

namespace zemo::ui {

namespace {

std::vector<DriveChooser*>& choosers() {
    static std::vector<DriveChooser*> list;
    return list;
}

Prompter* g_prompter = nullptr;
bool g_reporting = false;  // a failure while reporting or restoring is not reported again

DriveChooser* activeChooser() {
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* active = QApplication::activeWindow();
    for (DriveChooser* c : choosers()) {
        QWidget* w = c->chooserWindow();
        if (w && (w == modal || w == active)) return c;
    }
    // Otherwise the chooser on screen, the one shown last when there are several.
    for (auto it = choosers().rbegin(); it != choosers().rend(); ++it) {
        QWidget* w = (*it)->chooserWindow();
        if (w && w->isVisible()) return *it;
    }
    return nullptr;
}

}  // namespace

DriveChooser::DriveChooser() { choosers().push_back(this); }

DriveChooser::~DriveChooser() {
    auto& list = choosers();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void setTopLevelPrompter(Prompter* prompter) { g_prompter = prompter; }

bool isDriveIoError(const std::exception& e) {
    return dynamic_cast<const std::filesystem::filesystem_error*>(&e) != nullptr ||
           dynamic_cast<const std::ios_base::failure*>(&e) != nullptr;
}

bool handleTopLevelError(const std::exception& e, DriveChooser* where) {
    if (!isDriveIoError(e)) return false;
    if (g_reporting) return true;
    g_reporting = true;
    struct Reset {
        ~Reset() { g_reporting = false; }
    } reset;
    const std::string text = "ドライブにアクセスできません";
    if (g_prompter) {
        g_prompter->arrowCursor(true);
        g_prompter->message(BoxKind::Error, text, Buttons::Ok);
        g_prompter->arrowCursor(false);
    } else {
        QtPrompter plain;
        plain.message(BoxKind::Error, text, Buttons::Ok);
    }
    DriveChooser* chooser = where ? where : activeChooser();
    if (chooser) {
        try {
            chooser->restoreLastGoodDrive();
        } catch (...) {
            // The last good drive has gone as well; the chooser keeps what it shows.
        }
    }
    return true;
}

ZemoApplication::ZemoApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ZemoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        handleTopLevelError(e);
    } catch (...) {
    }
    return false;
}

}  // namespace zemo::ui
