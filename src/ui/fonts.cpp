#include "ui/fonts.h"

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

}  // namespace zemo::ui
