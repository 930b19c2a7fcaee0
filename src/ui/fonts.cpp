// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fonts.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QStringList>

namespace zemo::ui {

void installFontSubstitutes() {
    const QStringList mincho{QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝"), QStringLiteral("Noto Serif CJK JP")};
    const QStringList pmincho{QStringLiteral("IPAPMincho"), QStringLiteral("IPA P明朝"), QStringLiteral("IPAMincho")};
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"), QStringLiteral("Noto Sans CJK JP")};
    const QStringList pgothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"), QStringLiteral("IPAGothic")};
    QFont::insertSubstitutions(kMinchoFamily, mincho);
    QFont::insertSubstitutions(QStringLiteral("MS Mincho"), mincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), pmincho);
    QFont::insertSubstitutions(QStringLiteral("MS PMincho"), pmincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pgothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), pgothic);
}

QFont minchoPixelFont(int pixelSize) {
    QFont f(kMinchoFamily);
    f.setPixelSize(pixelSize);
    f.setStyleHint(QFont::Serif);
    return f;
}

QFont fontOfSetting(const FontSetting& setting) {
    QFont f(QString::fromStdString(setting.name));
    f.setPointSize(setting.size > 0 ? setting.size : 1);
    f.setBold((setting.style & 1) != 0);
    f.setItalic((setting.style & 2) != 0);
    f.setUnderline((setting.style & 4) != 0);
    f.setStrikeOut((setting.style & 8) != 0);
    return f;
}

QColor colourOfSetting(int stored) {
    const auto v = static_cast<unsigned>(stored);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

FontSetting settingOfFont(const QFont& font, const QColor& colour) {
    FontSetting s;
    s.name = font.family().toStdString();
    s.size = font.pointSize() > 0 ? font.pointSize() : 1;
    s.style = (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) | (font.strikeOut() ? 8 : 0);
    s.color = colour.red() | (colour.green() << 8) | (colour.blue() << 16);
    return s;
}

bool chooseFontSetting(QWidget* parent, FontSetting& setting) {
    // The dialog cannot show everything a stored font holds: a name such as "ＭＳ 明朝" is only a
    // substitute that its list of families lacks, and a face without a bold cut is made bold when
    // drawn but listed as regular. It opens on the face that draws the stored name; when the user keeps
    // that face, the name and the bold and italic left as they opened keep their stored values, so
    // that OK without a change changes nothing.
    QFont shown = fontOfSetting(setting);
    shown.setFamily(QFontInfo(shown).family());
    QFontDialog fonts(shown, parent);
    fonts.setObjectName("FontDialog");
    fonts.setOption(QFontDialog::DontUseNativeDialog);
    const QFont opened = fonts.currentFont();
    if (fonts.exec() != QDialog::Accepted) return false;
    QColor colour = colourOfSetting(setting.color);
    QColorDialog colours(colour, parent);
    colours.setObjectName("ColorDialog");
    colours.setOption(QColorDialog::DontUseNativeDialog);
    if (colours.exec() == QDialog::Accepted) colour = colours.selectedColor();
    const QFont chosen = fonts.selectedFont();
    FontSetting result = settingOfFont(chosen, colour);
    if (chosen.family() == opened.family()) {
        result.name = setting.name;
        if (chosen.bold() == opened.bold() && chosen.italic() == opened.italic())
            result.style = (result.style & ~3) | (setting.style & 3);
    }
    setting = result;
    return true;
}

}  // namespace zemo::ui
