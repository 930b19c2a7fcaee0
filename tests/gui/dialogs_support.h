// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the dialog window tests: the application object, a fresh temporary folder, and a way
// to act on a modal window once its exec() has started.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "support/temp_dir.h"
#include "ui/application.h"

namespace zemo::guitest {

namespace fs = std::filesystem;

class AppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "zemo_gui_test";
        static char* argv[] = {name, nullptr};
        app_ = new zemo::ui::ZemoApplication(argc, argv);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    QApplication* app_ = nullptr;
};

inline ::testing::Environment* const kAppEnvironment = ::testing::AddGlobalTestEnvironment(new AppEnvironment);

using testsupport::TempDir;

// A path in a test folder as Qt takes it.
inline QString qpath(const TempDir& dir, const std::string& rel = "") { return QString::fromStdString(dir.str(rel)); }

// Runs act on the active modal window of type W as soon as it is up (polled from the event loop
// that its exec() runs). Gives up after about five seconds, closing whatever modal window is up so
// that a test fails instead of hanging.
template <typename W>
void whenModal(std::function<void(W*)> act, int tries = 500) {
    QTimer::singleShot(10, [act = std::move(act), tries] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
            act(w);
        } else if (tries > 0) {
            whenModal<W>(act, tries - 1);
        } else {
            ADD_FAILURE() << "no modal window of the expected type appeared";
            if (QWidget* any = QApplication::activeModalWidget()) any->close();
        }
    });
}

}  // namespace zemo::guitest
