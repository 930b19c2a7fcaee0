// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/application.h"

#include <cxxabi.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QLibraryInfo>
#include <QMetaMethod>
#include <QSocketNotifier>
#include <QTranslator>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ios>
#include <typeinfo>

#include "ui/fonts.h"
#include "ui/language.h"
#include "ui/printer.h"
#include "ui/qt_prompter.h"
#include "ui/window_parts.h"
#include "ui/window_place.h"

namespace zemo::ui {

namespace {

// The write end of the signal pipe; a signal handler may only write to it.
int g_signalFd = -1;

void onTerminationSignal(int) {
    if (g_signalFd >= 0) {
        const char byte = 1;
        (void)!::write(g_signalFd, &byte, 1);
    }
}

std::string demangled(const char* name) {
    int status = 0;
    char* plain = abi::__cxa_demangle(name, nullptr, nullptr, &status);
    std::string out = status == 0 && plain ? plain : name;
    std::free(plain);
    return out;
}

}  // namespace

DriveChooser::DriveChooser() {
    if (ZemoApplication* app = ZemoApplication::current()) app->addChooser(this);
}

DriveChooser::~DriveChooser() {
    if (ZemoApplication* app = ZemoApplication::current()) app->removeChooser(this);
}

bool isDriveIoError(const std::exception& e) {
    return dynamic_cast<const std::filesystem::filesystem_error*>(&e) != nullptr ||
           dynamic_cast<const std::ios_base::failure*>(&e) != nullptr;
}

std::string describeException(const std::exception& e) { return demangled(typeid(e).name()) + ": " + e.what(); }

void reportUnhandled(const char* what) {
    std::fprintf(stderr, "zemoplan: unhandled %s\n", what);
    std::fflush(stderr);
}

bool handleTopLevelError(const std::exception& e, DriveChooser* where) {
    if (ZemoApplication* app = ZemoApplication::current()) return app->handleError(e, where);
    if (!isDriveIoError(e)) {
        reportUnhandled(describeException(e).c_str());
        return false;
    }
    QtPrompter plain;
    plain.message(BoxKind::Error, "ドライブにアクセスできません", Buttons::Ok);
    return true;
}

ZemoApplication::ZemoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    installFontSubstitutes();
    // Japanese until the program chooses its language (installLanguage).
    installLanguage(*this, UiLanguage::Japanese, {});
    keepOpenedWindowsInFront(*this);
}

ZemoApplication::~ZemoApplication() {
    if (signalNotifier_) {
        ::signal(SIGTERM, SIG_DFL);
        ::signal(SIGINT, SIG_DFL);
        ::close(g_signalFd);
        ::close(static_cast<int>(signalNotifier_->socket()));
        g_signalFd = -1;
    }
}

ZemoApplication* ZemoApplication::current() { return qobject_cast<ZemoApplication*>(QCoreApplication::instance()); }

void ZemoApplication::addChooser(DriveChooser* chooser) { choosers_.push_back(chooser); }

void ZemoApplication::removeChooser(DriveChooser* chooser) {
    choosers_.erase(std::remove(choosers_.begin(), choosers_.end(), chooser), choosers_.end());
}

DriveChooser* ZemoApplication::activeChooser() const {
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* active = QApplication::activeWindow();
    for (DriveChooser* c : choosers_) {
        QWidget* w = c->chooserWindow();
        if (w && (w == modal || w == active)) return c;
    }
    // Otherwise the chooser on screen, the one shown last when there are several.
    for (auto it = choosers_.rbegin(); it != choosers_.rend(); ++it) {
        QWidget* w = (*it)->chooserWindow();
        if (w && w->isVisible()) return *it;
    }
    return nullptr;
}

bool ZemoApplication::handleError(const std::exception& e, DriveChooser* where) {
    if (!isDriveIoError(e)) {
        // No box for these, but never silence: the action ends and the reason is on stderr.
        reportUnhandled(describeException(e).c_str());
        return false;
    }
    if (reporting_) return true;
    reporting_ = true;
    parts::Finally reset{[this] { reporting_ = false; }};
    const std::string text = "ドライブにアクセスできません";
    if (prompter_) {
        prompter_->arrowCursor(true);
        prompter_->message(BoxKind::Error, text, Buttons::Ok);
        prompter_->arrowCursor(false);
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

ProgramPrinter& ZemoApplication::printer() {
    if (!printer_) printer_ = std::make_unique<ProgramPrinter>();
    return *printer_;
}

void ZemoApplication::watchTerminationSignals() {
    if (signalNotifier_) return;
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return;
    g_signalFd = fds[0];
    signalNotifier_ = new QSocketNotifier(fds[1], QSocketNotifier::Read, this);
    connect(signalNotifier_, &QSocketNotifier::activated, this, [this] {
        char buf[16];
        (void)!::read(static_cast<int>(signalNotifier_->socket()), buf, sizeof buf);
        emit terminationRequested();
    });
    struct sigaction sa {};
    sa.sa_handler = onTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    listenWhileConnected();
}

void ZemoApplication::listenWhileConnected() {
    if (signalNotifier_)
        signalNotifier_->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&ZemoApplication::terminationRequested)));
}

void ZemoApplication::connectNotify(const QMetaMethod& signal) {
    if (signal == QMetaMethod::fromSignal(&ZemoApplication::terminationRequested)) listenWhileConnected();
}

void ZemoApplication::disconnectNotify(const QMetaMethod& signal) {
    // An invalid method stands for a disconnection of every signal. Qt still holds its connection
    // lock here, so the check runs from the event loop.
    if (!signal.isValid() || signal == QMetaMethod::fromSignal(&ZemoApplication::terminationRequested))
        QMetaObject::invokeMethod(this, [this] { listenWhileConnected(); }, Qt::QueuedConnection);
}

bool ZemoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        handleError(e);
    } catch (...) {
        reportUnhandled("an exception of unknown type");
    }
    return false;
}

}  // namespace zemo::ui
