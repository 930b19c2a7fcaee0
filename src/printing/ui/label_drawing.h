// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drawing a composed label: each text character by character in its cell, with the label font, the
// pitch added to the cell size and the whole label moved by the offsets; on the preview image at
// its zoom, or on one printer page.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <vector>

#include "printing/label.h"
#include "records/window_settings.h"

class QPainter;
class QPrinter;

namespace zemo::ui {

// The preview is drawn at this resolution; pitch and offsets are stored in its pixels.
inline constexpr int kPreviewDpi = 96;
// Zoom in tenths.
inline constexpr int kZoomMin = 1;
inline constexpr int kZoomMax = 20;
inline constexpr int kZoomStart = 10;

// Pitch and offsets in device pixels.
struct LabelPlacement {
    int pitchX = 0, pitchY = 0, offsetX = 0, offsetY = 0;
    bool operator==(const LabelPlacement&) const = default;
};
// Preview: each value × zoom / 10; printer: each value × printer dpi / kPreviewDpi; both truncated.
LabelPlacement previewPlacement(const LabelLayout& layout, int zoom);
LabelPlacement printerPlacement(const LabelLayout& layout, int printerDpi);

// The label font's point size on the preview at a zoom (at least 1).
int previewPointSize(int pointSize, int zoom);

// Draws the texts with the painter's device metrics: the cell is the width of "a" in the font
// wide and twice that high. Blanks draw nothing; the background stays as it is.
void drawLabel(QPainter& painter, const std::vector<LabelText>& texts, const QFont& font, const QColor& colour,
               const LabelPlacement& placement);

// The preview's size: the printer's page at the preview resolution, times the zoom.
QSize labelPreviewSize(const QPrinter& printer, int zoom);
// The preview image: white, the label drawn at the zoom; size is in screen units, the image has
// pixelRatio times its pixels (the screen's density).
QImage labelPreview(const std::vector<LabelText>& texts, const LabelLayout& layout, const FontSetting& font,
                    QSize size, int zoom, qreal pixelRatio = 1.0);
// One print job of one page. False when the job could not be started (nothing printed).
bool printLabel(QPrinter& printer, const std::vector<LabelText>& texts, const LabelLayout& layout,
                const FontSetting& font);

}  // namespace zemo::ui
