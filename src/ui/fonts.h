#pragma once
// The fonts the windows and printouts name ("ＭＳ 明朝" and its kin) mapped to the Japanese faces
// installed here, so a stored font name keeps working on a machine without the original fonts.
#include <QFont>
#include <QString>

namespace zemo::ui {

inline const QString kMinchoFamily = QStringLiteral("ＭＳ 明朝");

// Adds the substitutions once per application (the application object calls it).
void installFontSubstitutes();

// "ＭＳ 明朝" at a pixel size, as the record grids use it.
QFont minchoPixelFont(int pixelSize);

}  // namespace zemo::ui
