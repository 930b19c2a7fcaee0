// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fonts the windows and printouts name ("ＭＳ 明朝" and its kin) mapped to the Japanese faces
// installed here, so a stored font name keeps working on a machine without the original fonts.
#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

#include "records/window_settings.h"

namespace zemo::ui {

inline const QString kMinchoFamily = QStringLiteral("ＭＳ 明朝");

// Adds the substitutions once per application (the application object calls it).
void installFontSubstitutes();

// "ＭＳ 明朝" at a pixel size, as the record grids use it.
QFont minchoPixelFont(int pixelSize);

// A stored font (name, points, style bits 1 bold 2 italic 4 underline 8 strike-out) as a QFont,
// and back. The colour is kept as the original platform writes it: 0x00BBGGRR.
QFont fontOfSetting(const FontSetting& setting);
QColor colourOfSetting(int stored);
FontSetting settingOfFont(const QFont& font, const QColor& colour);

// The font dialog followed by a colour choice (the font dialog has none); cancelling the colour
// keeps the old one. False, and the setting unchanged, when the font dialog is cancelled.
bool chooseFontSetting(QWidget* parent, FontSetting& setting);

}  // namespace zemo::ui
