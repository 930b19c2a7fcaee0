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

#include "settings/ui/top_level_error.h"

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

class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "zemo-dialogs-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    std::string str(const std::string& rel = "") const { return rel.empty() ? path_.string() : (path_ / rel).string(); }
    QString q(const std::string& rel = "") const { return QString::fromStdString(str(rel)); }

private:
    fs::path path_;
};

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
