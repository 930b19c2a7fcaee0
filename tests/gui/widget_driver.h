// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drives real widgets the way a user does: controls found by their objectName, text typed into a
// field and the field left with Tab so that its check runs, a window shown and made active so that
// focus changes send their events as on screen; and a file's bytes, to compare what a save wrote.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QObject>
#include <QString>
#include <QTest>
#include <QWidget>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zemo::guitest {

// The control (or other child object) of that type and name inside w; a missing one fails the test and gives nullptr.
template <typename T>
T* child(const QObject& w, const char* name) {
    T* c = w.findChild<T*>(name);
    if (!c) ADD_FAILURE() << "no control " << name;
    return c;
}

template <typename T>
T* child(const QObject* w, const char* name) {
    if (!w) {
        ADD_FAILURE() << "no window to look for " << name << " in";
        return nullptr;
    }
    return child<T>(*w, name);
}

// Shows a window without blocking and makes it the active one.
inline void showActive(QWidget& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

// Moves the focus on from a field with Tab and lets its check run.
inline void leave(QWidget* field) {
    QTest::keyClick(field, Qt::Key_Tab);
    QCoreApplication::processEvents();
}

// Types a text into the named field (replacing what it holds) and leaves it.
inline void enter(QWidget& window, const char* name, const QString& text) {
    auto* edit = child<QLineEdit>(window, name);
    if (!edit) return;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    leave(edit);
}

// The whole file as bytes; empty when it cannot be read.
inline std::string readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The value of type T stored at offset in a byte string, as the files keep it.
template <typename T>
T valueAt(const std::string& bytes, std::size_t offset) {
    T v{};
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

}  // namespace zemo::guitest
