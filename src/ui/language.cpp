// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>

namespace zemo::ui {

namespace {

UiLanguage g_current = UiLanguage::Japanese;

// Whether one locale name (ja_JP.UTF-8, en, en_US@euro, C.UTF-8, POSIX) settles the choice.
std::optional<UiLanguage> fromLocaleName(std::string_view name) {
    const auto cut = name.find_first_of("_.@-");
    const std::string_view lang = name.substr(0, cut);
    if (lang == "ja") return UiLanguage::Japanese;
    if (lang == "en") return UiLanguage::English;
    if (lang == "C" || lang == "POSIX") return UiLanguage::Japanese;
    return std::nullopt;
}

QTranslator* g_programTexts = nullptr;
QTranslator* g_qtTexts = nullptr;

void dropTranslator(QCoreApplication& app, QTranslator*& t) {
    if (!t) return;
    app.removeTranslator(t);
    delete t;
    t = nullptr;
}

}  // namespace

QString languageCode(UiLanguage language) {
    return language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("ja");
}

std::optional<UiLanguage> parseLanguage(std::string_view code) {
    if (code == "ja") return UiLanguage::Japanese;
    if (code == "en") return UiLanguage::English;
    return std::nullopt;
}

UiLanguage languageFromEnvironment(const EnvLookup& env) {
    auto get = [&](const char* name) -> std::string_view {
        const char* v = env(name);
        return v ? std::string_view(v) : std::string_view();
    };
    std::string_view languages = get("LANGUAGE");
    while (!languages.empty()) {
        const auto colon = languages.find(':');
        const std::string_view entry = languages.substr(0, colon);
        if (!entry.empty())
            if (const auto found = fromLocaleName(entry)) return *found;
        languages = colon == std::string_view::npos ? std::string_view() : languages.substr(colon + 1);
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string_view value = get(name);
        if (value.empty()) continue;
        return fromLocaleName(value).value_or(UiLanguage::Japanese);
    }
    return UiLanguage::Japanese;
}

QStringList translationFolders(const QString& applicationDir) {
    return {QDir(applicationDir).filePath(QStringLiteral("translations")),
            QDir(applicationDir).filePath(QStringLiteral("../share/zemoplan/translations"))};
}

bool installLanguage(QCoreApplication& app, UiLanguage language, const QStringList& folders) {
    dropTranslator(app, g_programTexts);
    dropTranslator(app, g_qtTexts);
    bool found = true;
    if (language == UiLanguage::English) {
        auto* texts = new QTranslator(&app);
        found = false;
        for (const QString& folder : folders)
            if (texts->load(QStringLiteral("zemoplan_en"), folder)) {
                found = true;
                break;
            }
        if (found) {
            app.installTranslator(texts);
            g_programTexts = texts;
        } else {
            delete texts;
        }
    }
    const UiLanguage effective = found ? language : UiLanguage::Japanese;
    if (effective == UiLanguage::Japanese) {
        // Qt's own dialogs (printer, font, colour, file) in Japanese too; without Debian's Qt
        // translations installed they stay in English.
        auto* qt = new QTranslator(&app);
        if (qt->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            app.installTranslator(qt);
            g_qtTexts = qt;
        } else {
            delete qt;
        }
    }
    g_current = effective;
    return found;
}

UiLanguage currentLanguage() { return g_current; }

namespace {

// One line, or nothing when it has no translation: as it stands, then with its numbers as %1...
std::optional<QString> translatedLine(const QString& line) {
    const QByteArray key = line.toUtf8();
    const QString whole = QCoreApplication::translate("Messages", key.constData());
    if (whole != line) return whole;
    static const QRegularExpression digits(QStringLiteral("[0-9]+"));
    QStringList numbers;
    QString pattern;
    qsizetype at = 0;
    for (auto it = digits.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        pattern += line.mid(at, m.capturedStart() - at);
        numbers << m.captured();
        pattern += QLatin1Char('%') + QString::number(numbers.size());
        at = m.capturedEnd();
    }
    if (numbers.isEmpty()) return std::nullopt;
    pattern += line.mid(at);
    const QByteArray patternKey = pattern.toUtf8();
    QString translated = QCoreApplication::translate("Messages", patternKey.constData());
    if (translated == pattern) return std::nullopt;
    for (const QString& n : numbers) translated = translated.arg(n);
    return translated;
}

}  // namespace

QString translateCoreText(const QString& text) {
    if (g_current == UiLanguage::Japanese) return text;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.isEmpty()) continue;
        if (const auto t = translatedLine(line)) {
            line = *t;
            continue;
        }
        // "PATH text" and "[kind] text": the longest end after a blank that has a translation.
        for (qsizetype blank = line.indexOf(QLatin1Char(' ')); blank >= 0;
             blank = line.indexOf(QLatin1Char(' '), blank + 1)) {
            if (const auto t = translatedLine(line.mid(blank + 1))) {
                line = line.left(blank + 1) + *t;
                break;
            }
        }
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace zemo::ui
