// SPDX-License-Identifier: GPL-3.0-or-later
// The language of the windows: chosen by --lang or the locale, loaded from the translations, and
// applied at the window edge to the core's texts line by line.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "gui/dialogs_support.h"
#include "support/temp_dir.h"
#include "ui/language.h"
#include "ui/qt_prompter.h"

namespace zemo::ui {
namespace {

using Env = std::map<std::string, std::string>;

UiLanguage chosen(const Env& env) {
    return languageFromEnvironment([&](const char* name) -> const char* {
        const auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    });
}

TEST(LanguageChoice, FollowsTheLocaleVariablesInQtsOrder) {
    const struct {
        Env env;
        UiLanguage expected;
    } cases[] = {
        {{}, UiLanguage::Japanese},
        {{{"LANG", "en_US.UTF-8"}}, UiLanguage::English},
        {{{"LANG", "ja_JP.UTF-8"}}, UiLanguage::Japanese},
        {{{"LANG", "C"}}, UiLanguage::Japanese},
        {{{"LANG", "C.UTF-8"}}, UiLanguage::Japanese},
        {{{"LANG", "POSIX"}}, UiLanguage::Japanese},
        {{{"LANG", "de_DE.UTF-8"}}, UiLanguage::Japanese},  // no translation: the program's own
        {{{"LANG", "en"}}, UiLanguage::English},
        {{{"LANG", "en_GB@euro"}}, UiLanguage::English},
        {{{"LANG", ""}, {"LC_MESSAGES", ""}}, UiLanguage::Japanese},
        // LC_MESSAGES before LANG, LC_ALL before both; the first set one decides
        {{{"LANG", "ja_JP.UTF-8"}, {"LC_MESSAGES", "en_US.UTF-8"}}, UiLanguage::English},
        {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, UiLanguage::Japanese},
        {{{"LC_MESSAGES", "ja_JP.UTF-8"}, {"LC_ALL", "en_US.UTF-8"}}, UiLanguage::English},
        {{{"LC_ALL", "C"}, {"LANG", "en_US.UTF-8"}}, UiLanguage::Japanese},
        // LANGUAGE first, its first entry that names a language the program has
        {{{"LANGUAGE", "en"}, {"LANG", "ja_JP.UTF-8"}}, UiLanguage::English},
        {{{"LANGUAGE", "fr:en:ja"}, {"LANG", "ja_JP.UTF-8"}}, UiLanguage::English},
        {{{"LANGUAGE", "fr:de"}, {"LANG", "en_US.UTF-8"}}, UiLanguage::English},
        {{{"LANGUAGE", "ja"}, {"LC_ALL", "en_US.UTF-8"}}, UiLanguage::Japanese},
        {{{"LANGUAGE", ""}, {"LANG", "en_US.UTF-8"}}, UiLanguage::English},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& [k, v] : c.env) shown += k + "=" + v + " ";
        EXPECT_EQ(chosen(c.env), c.expected) << shown;
    }
}

TEST(LanguageChoice, TheOptionTakesJaAndEnOnly) {
    EXPECT_EQ(parseLanguage("ja"), UiLanguage::Japanese);
    EXPECT_EQ(parseLanguage("en"), UiLanguage::English);
    for (const char* bad : {"", "EN", "en_US", "fr", "japanese"}) EXPECT_FALSE(parseLanguage(bad)) << bad;
    EXPECT_EQ(languageCode(UiLanguage::English), "en");
    EXPECT_EQ(languageCode(UiLanguage::Japanese), "ja");
}

// A small English translation made with lrelease, in a folder of its own.
class CoreTextTranslation : public ::testing::Test {
protected:
    void SetUp() override {
        const QString ts = QDir(folder()).filePath("zemoplan_en.ts");
        QFile f(ts);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context><name>Messages</name>
<message><source>ファイルが見つかりません！</source><translation>File not found!</translation></message>
<message><source>ﾌｧｲﾙ内 %1 件 / ｼｽﾃﾑ制御数 %2 件</source><translation>%2 allowed by the system, %1 in the file</translation></message>
</context>
<context><name>QtPrompter</name>
<message><source>エラー</source><translation>Error</translation></message>
<message><source>はい</source><translation>Yes</translation></message>
<message><source>いいえ</source><translation>No</translation></message>
</context>
</TS>
)");
        f.close();
        QProcess lrelease;
        lrelease.start(ZEMO_LRELEASE, {ts, "-qm", QDir(folder()).filePath("zemoplan_en.qm")});
        ASSERT_TRUE(lrelease.waitForFinished(30000));
        ASSERT_EQ(lrelease.exitCode(), 0) << lrelease.readAllStandardError().toStdString();
    }
    void TearDown() override { installLanguage(*QCoreApplication::instance(), UiLanguage::Japanese, {}); }
    QString folder() const { return QString::fromStdString(dir_.path().string()); }
    testsupport::TempDir dir_{"zemo-lang"};
};

TEST_F(CoreTextTranslation, EachLineIsLookedUpWithItsNumbersAsPlaceholders) {
    ASSERT_TRUE(installLanguage(*QCoreApplication::instance(), UiLanguage::English, {"/nonexistent", folder()}));
    EXPECT_EQ(currentLanguage(), UiLanguage::English);
    const struct {
        const char* japanese;
        const char* english;
    } cases[] = {
        {"ファイルが見つかりません！", "File not found!"},
        {"/media/My Stick/A01.ZMO\nファイルが見つかりません！", "/media/My Stick/A01.ZMO\nFile not found!"},
        {"ﾌｧｲﾙ内 1200 件 / ｼｽﾃﾑ制御数 500 件", "500 allowed by the system, 1200 in the file"},
        {"ﾌｧｲﾙ内 7 件 / ｼｽﾃﾑ制御数 0 件\n", "0 allowed by the system, 7 in the file\n"},
        {"dno=[   26]", "dno=[   26]"},                // codes stay as they are
        {"まだ訳のない文です", "まだ訳のない文です"},  // no translation: the Japanese text
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(translateCoreText(QString::fromUtf8(c.japanese)).toStdString(), c.english);

    // Japanese again: the core's texts pass through untouched.
    ASSERT_TRUE(installLanguage(*QCoreApplication::instance(), UiLanguage::Japanese, {folder()}));
    EXPECT_EQ(translateCoreText(QString::fromUtf8("ファイルが見つかりません！")).toStdString(), "ファイルが見つかりません！");
}

TEST_F(CoreTextTranslation, TheBoxesOfTheCoreShowTheirTitleButtonsAndTextInTheLanguage) {
    ASSERT_TRUE(installLanguage(*QCoreApplication::instance(), UiLanguage::English, {folder()}));
    QString title, text;
    QStringList buttons;
    guitest::whenModal<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        for (QAbstractButton* b : box->buttons()) buttons << b->text();
        buttons.sort();
        box->reject();
    });
    QtPrompter prompter;
    EXPECT_EQ(prompter.message(BoxKind::Error, "X.ZMO\nファイルが見つかりません！", Buttons::YesNo), Answer::No);
    EXPECT_EQ(title.toStdString(), "Error");
    EXPECT_EQ(text.toStdString(), "X.ZMO\nFile not found!");
    EXPECT_EQ(buttons, QStringList({"No", "Yes"}));
}

TEST_F(CoreTextTranslation, AMissingTranslationLeavesTheProgramJapanese) {
    EXPECT_FALSE(installLanguage(*QCoreApplication::instance(), UiLanguage::English, {"/nonexistent"}));
    EXPECT_EQ(currentLanguage(), UiLanguage::Japanese);
    EXPECT_EQ(translateCoreText(QString::fromUtf8("ファイルが見つかりません！")).toStdString(), "ファイルが見つかりません！");
}

// The texts of the core's sources that reach the user only in stored or printed form (file
// kinds, the plan text and list headings, the record kinds, font names): never translated.
const std::set<std::string> kNotBoxTexts = {
    "< ZEMO ｼｽﾃﾑﾌｧｲﾙ >", "1:通常", "2:ﾀｲﾄﾙ", "3:両方", "1:ｼﾝｸﾞﾙ", "2:ｱﾙﾊﾞﾑ", "3:ﾋﾞﾃﾞｵ", "4:ﾚｰｻﾞｰ",
    "5:その他", "ABの差", "A面", "B面", "Ａ面", "Ｂ面", "合計=[", "有効=[", "目標=[", "総時間", "未収録",
    "CDﾃﾞｰﾀﾍﾞｰｽ", "Libraryﾃﾞｰﾀ", "ｼｽﾃﾑ制御", "振分け", "ﾊﾞｰｺｰﾄﾞ一致", "削除", "追加", "新規", "検出一致",
    "ﾌｧｲﾙ検索", "システムコントロール", "ＭＳ 明朝", "アーチスト", "タイトル", "バーコード", "メモ", "時間",
    "発売日", "登録日", "ﾕｰｻﾞｰｺｰﾄﾞ",
};

// Every line of a Japanese text in the core's sources (comments left out), as the catalogue of
// box texts writes it: printf numbers as %1, %2, ..., blanks and a closing "]" of a prefix trimmed.
std::set<std::string> coreSourceTexts() {
    namespace fs = std::filesystem;
    const fs::path src = fs::path(ZEMO_SOURCE_DIR) / "src";
    std::set<std::string> texts;
    const QRegularExpression literal(QStringLiteral(R"re("((?:[^"\\]|\\.)*)")re"));
    const QRegularExpression printfNumber(QStringLiteral("%[0-9]*d"));
    for (const char* room : {"platform", "records", "catalogue", "planning", "printing", "shell"})
        for (const auto& entry : fs::directory_iterator(src / room)) {
            if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") continue;
            std::ifstream in(entry.path());
            std::string line;
            while (std::getline(in, line)) {
                QString code = QString::fromStdString(line);
                if (code.trimmed().startsWith("//")) continue;
                code.remove(QRegularExpression(QStringLiteral("\\s+//\\s.*$")));  // a comment after the code
                for (auto it = literal.globalMatch(code); it.hasNext();) {
                    QString text = it.next().captured(1).replace("\\n", "\n");
                    if (!text.contains(QRegularExpression("[^\\x00-\\x7F]"))) continue;
                    for (QString piece : text.split('\n')) {
                        int n = 0;
                        while (piece.contains(printfNumber))
                            piece.replace(piece.indexOf(printfNumber), printfNumber.match(piece).capturedLength(),
                                          QString("%%1").arg(++n));
                        piece = piece.trimmed();
                        if (piece.startsWith(']')) piece = piece.mid(1).trimmed();
                        if (!piece.isEmpty() && piece.contains(QRegularExpression("[^\\x00-\\x7F]")))
                            texts.insert(piece.toStdString());
                    }
                }
            }
        }
    return texts;
}

TEST(CoreMessages, EveryBoxTextOfTheCoreIsInTheCatalogueAndTranslated) {
    std::set<std::string> catalogue;
    for (const char* const* m = kCoreMessages; *m; ++m) catalogue.insert(*m);
    for (const std::string& text : coreSourceTexts()) {
        if (!kNotBoxTexts.count(text)) {
            EXPECT_TRUE(catalogue.count(text)) << "not in core_messages.cpp: " << text;
        }
    }

    ASSERT_TRUE(installLanguage(*QCoreApplication::instance(), UiLanguage::English,
                                translationFolders(QCoreApplication::applicationDirPath())));
    for (const std::string& text : catalogue)
        EXPECT_NE(QCoreApplication::translate("Messages", text.c_str()).toStdString(), text)
            << "no English in translations/zemoplan_en.ts: " << text;
    installLanguage(*QCoreApplication::instance(), UiLanguage::Japanese, {});
}

// The committed translation against the sources as they are now: lupdate over src/ into a copy,
// so that a window text added without its English (or one removed) fails here.
TEST(Translations, EveryTextOfTheSourcesHasItsEnglishAndNoneIsLeftOver) {
    const testsupport::TempDir dir("zemo-ts");
    const QString copy = QString::fromStdString((dir.path() / "zemoplan_en.ts").string());
    ASSERT_TRUE(QFile::copy(ZEMO_SOURCE_DIR "/translations/zemoplan_en.ts", copy));
    QProcess lupdate;
    lupdate.start(ZEMO_LUPDATE, {"-silent", "-locations", "none", "-extensions", "cpp,h,ui", ZEMO_SOURCE_DIR "/src", "-ts", copy});
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    QFile ts(copy);
    ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ts.readAll());
    const QRegularExpression message(QStringLiteral("<message>.*?</message>"),
                                     QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression source(QStringLiteral("<source>(.*?)</source>"),
                                    QRegularExpression::DotMatchesEverythingOption);
    int messages = 0;
    for (auto it = message.globalMatch(text); it.hasNext();) {
        const QString m = it.next().captured();
        ++messages;
        const bool open = m.contains(QLatin1String("type=\"unfinished\"")) ||
                          m.contains(QLatin1String("type=\"vanished\"")) || m.contains(QLatin1String("type=\"obsolete\""));
        EXPECT_FALSE(open) << "translations/zemoplan_en.ts: " << source.match(m).captured(1).toStdString()
                           << " (refresh with the update_translations target and translate it)";
    }
    EXPECT_GT(messages, 500);
}

TEST(LanguageOption, TheProgramRefusesAnUnknownLanguageAndItsHelpNamesTheOption) {
    const QString program = QCoreApplication::applicationDirPath() + "/zemoplan";
    ASSERT_TRUE(QFile::exists(program)) << "build the zemoplan target first";
    for (const QStringList& args : {QStringList{"--lang", "fr"}, QStringList{"--lang"}, QStringList{"--lang=EN"}}) {
        QProcess p;
        p.start(program, args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardError().contains("usage: zemoplan")) << args.join(' ').toStdString();
    }
    QProcess help;
    help.start(program, {"--help"});
    ASSERT_TRUE(help.waitForFinished(30000));
    const QByteArray out = help.readAllStandardOutput();
    EXPECT_TRUE(out.contains("--lang L")) << out.toStdString();
    EXPECT_TRUE(out.contains("LANGUAGE, LC_ALL, LC_MESSAGES, LANG")) << out.toStdString();
}

}  // namespace
}  // namespace zemo::ui
