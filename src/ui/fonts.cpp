#include "ui/fonts.h"

#include <QColorDialog>
#include <QFontDialog>
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
    QFontDialog fonts(fontOfSetting(setting), parent);
    fonts.setObjectName("FontDialog");
    fonts.setOption(QFontDialog::DontUseNativeDialog);
    if (fonts.exec() != QDialog::Accepted) return false;
    QColor colour = colourOfSetting(setting.color);
    QColorDialog colours(colour, parent);
    colours.setObjectName("ColorDialog");
    colours.setOption(QColorDialog::DontUseNativeDialog);
    if (colours.exec() == QDialog::Accepted) colour = colours.selectedColor();
    setting = settingOfFont(fonts.selectedFont(), colour);
    return true;
}

}  // namespace zemo::ui
