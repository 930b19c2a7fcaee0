// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The port through which core operations ask or tell the user in the middle of their work.
// Texts are UTF-8; each box keeps the exact text, kind and button set the operation gives.
#include <optional>
#include <string>

namespace zemo {

enum class BoxKind { Error, Warning, Information, Confirmation };

// YesNoDefaultNo: Yes and No with No the default (Enter, and closing the box, answer No), for a
// question whose Yes loses data.
enum class Buttons { Ok, OkCancel, Yes, YesNo, YesCancel, YesNoCancel, AbortRetryIgnore, YesNoDefaultNo };

enum class Answer { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

// What the data-file chooser hands back: the chosen path (empty when cancelled) and the memo
// typed into it, which is kept for the next save either way.
struct FileChoice {
    bool chosen = false;
    std::string path;
    std::string memo;  // CP932 bytes, as stored in a file's memo
};

// Read/write choice: 0 read, 1 write, 3 closed or cancelled.
inline constexpr int kChoiceRead = 0;
inline constexpr int kChoiceWrite = 1;
inline constexpr int kChoiceCancel = 3;

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box; returns the button pressed (closing a box counts as its Cancel, No or
    // its only button).
    virtual Answer message(BoxKind kind, const std::string& text, Buttons buttons) = 0;

    // The password prompt; nothing when cancelled. The text is CP932 bytes.
    virtual std::optional<std::string> askPassword() = 0;

    // The read/write choice: kChoiceRead, kChoiceWrite or kChoiceCancel.
    virtual int askReadWrite() = 0;

    // The data-file chooser for reading (mode 0) or writing (mode 1), starting in initialDir.
    virtual FileChoice chooseDataFile(int mode, const std::string& initialDir) = 0;

    // Cursor hooks: the hourglass during long work, and the arrow around every box.
    virtual void busyCursor(bool on) = 0;
    virtual void arrowCursor(bool on) = 0;

    // Lets the user interface handle its pending events (used while waiting).
    virtual void processEvents() {}
};

// Text of a box kind as the command-line tools write it: error, warning, information, confirmation.
const char* boxKindName(BoxKind kind);

}  // namespace zemo
