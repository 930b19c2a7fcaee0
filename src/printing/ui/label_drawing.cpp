// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ui/label_drawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cstdint>

#include "platform/sjis.h"
#include "records/text.h"
#include "ui/fonts.h"

namespace zemo::ui {
namespace {

// Integer arithmetic truncates towards zero, as the conversions ask, without rounding surprises.
int scaled(int value, std::int64_t num, std::int64_t den) { return static_cast<int>(value * num / den); }

constexpr int kDotsPerMeter96 = 3780;  // 96 dpi

}  // namespace

LabelPlacement previewPlacement(const LabelLayout& l, int zoom) {
    return {scaled(l.pitchX, zoom, 10), scaled(l.pitchY, zoom, 10), scaled(l.offsetX, zoom, 10),
            scaled(l.offsetY, zoom, 10)};
}

LabelPlacement printerPlacement(const LabelLayout& l, int dpi) {
    return {scaled(l.pitchX, dpi, kPreviewDpi), scaled(l.pitchY, dpi, kPreviewDpi), scaled(l.offsetX, dpi, kPreviewDpi),
            scaled(l.offsetY, dpi, kPreviewDpi)};
}

int previewPointSize(int pointSize, int zoom) { return std::max(1, scaled(pointSize, zoom, 10)); }

void drawLabel(QPainter& painter, const std::vector<LabelText>& texts, const QFont& font, const QColor& colour,
               const LabelPlacement& at) {
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.setBrush(Qt::NoBrush);
    painter.setBackgroundMode(Qt::TransparentMode);
    const QFontMetrics metrics = painter.fontMetrics();
    const int w = std::max(1, metrics.horizontalAdvance(QLatin1Char('a')));
    const int h = 2 * w;
    const int ascent = metrics.ascent();
    for (const LabelText& t : texts) {
        const std::string& s = t.text;
        for (std::size_t j = 0; j < s.size();) {
            const bool wide = isLeadByte(static_cast<unsigned char>(s[j])) && j + 1 < s.size();
            const std::size_t n = wide ? 2 : 1;
            const std::string piece = s.substr(j, n);
            if (piece != " " && piece != "\x81\x40") {
                const std::int64_t x = (static_cast<std::int64_t>(t.column) + static_cast<std::int64_t>(j)) * (w + at.pitchX) + at.offsetX;
                const std::int64_t y = static_cast<std::int64_t>(t.row) * (h + at.pitchY) + at.offsetY;
                painter.drawText(QPointF(static_cast<double>(x), static_cast<double>(y + ascent)),
                                 QString::fromStdString(sjisToUtf8(piece)));
            }
            j += n;
        }
    }
    painter.restore();
}

QSize labelPreviewSize(const QPrinter& printer, int zoom) {
    const std::int64_t dpi = std::max(1, printer.resolution());
    const std::int64_t den = dpi * 10;
    return {static_cast<int>(printer.width() * std::int64_t{kPreviewDpi} * zoom / den),
            static_cast<int>(printer.height() * std::int64_t{kPreviewDpi} * zoom / den)};
}

QImage labelPreview(const std::vector<LabelText>& texts, const LabelLayout& layout, const FontSetting& font,
                    QSize size, int zoom, qreal pixelRatio) {
    QImage image(size.expandedTo(QSize(1, 1)) * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    image.setDotsPerMeterX(kDotsPerMeter96);
    image.setDotsPerMeterY(kDotsPerMeter96);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont f = fontOfSetting(font);
    f.setPointSize(previewPointSize(font.size, zoom));
    drawLabel(painter, texts, f, colourOfSetting(font.color), previewPlacement(layout, zoom));
    return image;
}

bool printLabel(QPrinter& printer, const std::vector<LabelText>& texts, const LabelLayout& layout,
                const FontSetting& font) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    drawLabel(painter, texts, fontOfSetting(font), colourOfSetting(font.color),
              printerPlacement(layout, printer.resolution()));
    // An aborted job is not ended again.
    if (printer.printerState() != QPrinter::Aborted) painter.end();
    return true;
}

}  // namespace zemo::ui
