// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ui/printer_text_device.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "platform/sjis.h"

namespace zemo::ui {
namespace {

// A printer set up without margins still gets this much white around the lines.
constexpr double kMinMarginMm = 10.0;

int mmToDevice(double mm, int dpi) { return static_cast<int>(mm / 25.4 * dpi + 0.5); }

}  // namespace

PrinterTextDevice::PrinterTextDevice(QPrinter& printer) : printer_(printer) {}

PrinterTextDevice::~PrinterTextDevice() {
    if (painter_) close();
}

bool PrinterTextDevice::open(const std::string& fontFamilyUtf8, int pointSize) {
    if (painter_) close();
    lines_.clear();
    lineOpen_ = false;
    pending_.clear();
    pages_ = 0;
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&printer_)) return false;
    painter_ = std::move(painter);
    font_ = QFont(QString::fromStdString(fontFamilyUtf8), pointSize);
    painter_->setFont(font_);
    const QFontMetrics metrics = painter_->fontMetrics();
    lineHeight_ = std::max(1, metrics.lineSpacing());
    ascent_ = metrics.ascent();

    // The painter's origin is the top left of the printable area, inside the printer's margins.
    const int dpi = printer_.resolution();
    const QMarginsF margins = printer_.pageLayout().margins(QPageLayout::Millimeter);
    left_ = mmToDevice(std::max(0.0, kMinMarginMm - margins.left()), dpi);
    top_ = mmToDevice(std::max(0.0, kMinMarginMm - margins.top()), dpi);
    const int bottom = mmToDevice(std::max(0.0, kMinMarginMm - margins.bottom()), dpi);
    pageHeight_ = printer_.pageLayout().paintRectPixels(dpi).height() - bottom;
    y_ = top_;
    pages_ = 1;
    return true;
}

void PrinterTextDevice::write(const std::string& sjis) {
    if (!lineOpen_) lines_.emplace_back();
    lineOpen_ = true;
    lines_.back() += sjis;
    pending_ += sjis;
}

void PrinterTextDevice::endLine() {
    if (!lineOpen_) lines_.emplace_back();
    lineOpen_ = false;
    drawPending();
}

// The page holds what was written; it goes out when the page or the job ends.
void PrinterTextDevice::flush() {}

void PrinterTextDevice::close() {
    if (!painter_) return;
    if (lineOpen_) {
        lineOpen_ = false;
        drawPending();
    }
    painter_->end();
    painter_.reset();
}

void PrinterTextDevice::drawPending() {
    if (!painter_) {
        pending_.clear();
        return;
    }
    // A full page goes out before the line, but a page always takes at least one line.
    if (y_ > top_ && y_ + lineHeight_ > pageHeight_) {
        printer_.newPage();
        ++pages_;
        y_ = top_;
    }
    if (!pending_.empty()) painter_->drawText(QPoint(left_, y_ + ascent_), QString::fromStdString(sjisToUtf8(pending_)));
    pending_.clear();
    y_ += lineHeight_;
}

}  // namespace zemo::ui
