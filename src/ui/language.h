// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The language of the windows. The program's texts are written in Japanese; another language is a
// Qt Linguist translation (translations/zemoplan_LANG.ts, built into zemoplan_LANG.qm). What is
// stored or printed never follows the language.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string_view>

class QCoreApplication;

namespace zemo::ui {

enum class UiLanguage { Japanese, English };

// "ja" or "en", as --lang takes them.
QString languageCode(UiLanguage language);
std::optional<UiLanguage> parseLanguage(std::string_view code);

// The language the environment asks for, read the way Qt's system locale reads it: the entries of
// LANGUAGE (colon-separated), then the first set one of LC_ALL, LC_MESSAGES and LANG. The first
// entry naming Japanese or English decides; the C and POSIX locales, and no match at all, mean
// Japanese: the program's users are Japanese shops first.
using EnvLookup = std::function<const char*(const char*)>;
UiLanguage languageFromEnvironment(const EnvLookup& env);

// Where the translations are looked for: beside the program (a build folder), then the installed
// share/zemoplan/translations beside its bin folder.
QStringList translationFolders(const QString& applicationDir);

// Switches the application's translators to the language: Japanese is the sources' own texts with
// Qt's Japanese dialogs; English loads zemoplan_en.qm (Qt's own dialogs are English by themselves).
// False when the translation was not found; the program then stays Japanese.
bool installLanguage(QCoreApplication& app, UiLanguage language, const QStringList& folders);

// The language installLanguage last switched to (Japanese before any call).
UiLanguage currentLanguage();

// A text from the core, as a box shows it, in the window language: each line on its own, keyed by
// its Japanese text in the context "Messages"; a line whose text has numbers is looked up with
// each run of digits as %1, %2, ... and the numbers put back into the translation. Lines without
// a translation (paths, names, codes) stay as they are.
// A line that has no translation of its own but ends, after a blank, in one that has (a path or a
// name, then the text) keeps its beginning.
QString translateCoreText(const QString& text);

// The core's box texts as the translations know them, one line each, null-terminated.
extern const char* const kCoreMessages[];

}  // namespace zemo::ui
