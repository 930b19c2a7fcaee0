// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's one printer: chosen with the print dialog the first time something is printed
// (or whenever a window offers the choice) and kept for the run, so labels, lists and plan
// printouts all go where the user last sent them.
#include <QString>
#include <memory>

class QPrinter;
class QWidget;

namespace zemo::ui {

// What a job is, so that the printer queue can tell a list from a label.
enum class PrintJob { DataList, Label, Plan };
QString printJobName(PrintJob job);

class ProgramPrinter {
public:
    ProgramPrinter();
    ~ProgramPrinter();
    ProgramPrinter(const ProgramPrinter&) = delete;
    ProgramPrinter& operator=(const ProgramPrinter&) = delete;

    QPrinter& printer() { return *printer_; }
    // The printer with the job's name set, for the job about to start.
    QPrinter& printerFor(PrintJob job);

    // Shows the print dialog on the kept printer; false when the user cancels (the printer is
    // then as it was).
    bool choose(QWidget* parent);

    // Whether a printer has been chosen (or set) this run.
    bool chosen() const { return chosen_; }

    // Prints into a PDF file from now on, without asking (tests, "print to file" from a script).
    void printToPdf(const QString& path);

    // Makes sure a printer has been chosen: asks once, then keeps the answer.
    bool ensureChosen(QWidget* parent) { return chosen_ || choose(parent); }

private:
    std::unique_ptr<QPrinter> printer_;
    bool chosen_ = false;
};

}  // namespace zemo::ui
