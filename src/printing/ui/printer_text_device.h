// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printer as a text device: lines of CP932 text drawn with QPainter on a QPrinter, top to
// bottom inside the page margins, a new page when the next line would not fit.
#include <QFont>
#include <memory>
#include <string>
#include <vector>

#include "printing/data_list.h"

class QPainter;
class QPrinter;

namespace zemo::ui {

class PrinterTextDevice : public TextDevice {
public:
    explicit PrinterTextDevice(QPrinter& printer);
    ~PrinterTextDevice() override;

    bool open(const std::string& fontFamilyUtf8, int pointSize) override;
    void write(const std::string& sjis) override;
    void endLine() override;
    void flush() override;
    void close() override;

    // Every line received in this job so far (CP932), the one not yet ended included.
    const std::vector<std::string>& lines() const { return lines_; }
    int pages() const { return pages_; }  // pages begun in this job

private:
    void drawPending();

    QPrinter& printer_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    std::vector<std::string> lines_;
    bool lineOpen_ = false;  // the last entry of lines_ has not been ended yet
    std::string pending_;    // text of the open line not drawn yet
    int lineHeight_ = 0, ascent_ = 0, left_ = 0, top_ = 0, y_ = 0, pageHeight_ = 0;
    int pages_ = 0;
};

}  // namespace zemo::ui
