// SPDX-License-Identifier: GPL-3.0-or-later
// The main window, its small boxes and the shared window parts in English: no window text left in
// Japanese, no button or label cut at the window's own size; and the Japanese program unchanged.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <csignal>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <signal.h>

#include "gui/dialogs_support.h"
#include "gui/english_texts.h"
#include "gui/widget_driver.h"
#include "platform/clock.h"
#include "records/control_file.h"
#include "records/file_services.h"
#include "records/window_settings.h"
#include "records/workspace.h"
#include "settings/ui/frm_file_sel.h"
#include "settings/ui/frm_get_dir.h"
#include "settings/ui/frm_share.h"
#include "settings/ui/frm_sys_mode.h"
#include "settings/ui/frm_sys_pass.h"
#include "shell/program_lock.h"
#include "shell/startup.h"
#include "shell/ui/about_box.h"
#include "shell/ui/frm_frdwt.h"
#include "shell/ui/frm_pass_inp.h"
#include "shell/ui/main_window.h"
#include "shell/ui/single_instance.h"
#include "shell/ui/win_crt.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "ui/language.h"
#include "ui/window_parts.h"

namespace zemo::ui {
namespace {

namespace fs = std::filesystem;
using guitest::child;
using guitest::hasJapanese;
using guitest::japaneseTextsIn;

// "name: text" for every shown button and single-line label under w whose text is wider than the
// room the widget has for it.
QStringList cutTextsIn(QWidget* w) {
    QStringList cut;
    auto check = [&](QWidget* c, QString text) {
        text.remove('&');
        if (text.isEmpty() || text.contains('\n') || !c->isVisibleTo(w)) return;
        const int need = c->fontMetrics().horizontalAdvance(text);
        const int room = c->contentsRect().width();
        if (need > room) cut << QStringLiteral("%1: %2 (%3 > %4)").arg(c->objectName(), text).arg(need).arg(room);
    };
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (auto* b = qobject_cast<QAbstractButton*>(c)) check(b, b->text());
        if (auto* l = qobject_cast<QLabel*>(c); l && !l->wordWrap()) check(l, l->text());
    }
    return cut;
}

// A program folder with a control file, the main window made over it, and a workspace of its
// own for the settings dialogs.
class ShellWindows {
public:
    ShellWindows() : dir_(testsupport::makeTempDir("zemo-en-shell")) {
        ScriptedPrompter p;
        Workspace ws(p, clock_, dir_);
        initControlDefaults(ws);
        ws.control.dbSize = 1;
        saveControl(ws);
        initControlDefaults(ws_);
        ws_.executablePath = dir_ / "zemoplan";
        ws_.createArrays(1);
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(dir_ / d);
    }
    ~ShellWindows() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::unique_ptr<TFrmMain> mainWindow() {
        StartOptions o;
        o.programDir = dir_;
        o.executablePath = dir_ / "zemoplan";
        return std::make_unique<TFrmMain>(prompter_, clock_, o);
    }
    std::unique_ptr<QWidget> chooser(int mode) {
        auto w = std::make_unique<TFrmFileSel>(ws_, settings_);
        w->setMode(mode);
        w->setFolder(QString::fromStdString((dir_ / "CD_SYS").string()));
        return w;
    }
    const fs::path& dir() const { return dir_; }
    Workspace& ws() { return ws_; }
    ScriptedPrompter& dialogPrompter() { return dialogPrompter_; }
    TFrmGetDir& getDir() { return getDir_; }

private:
    fs::path dir_;
    ScriptedPrompter prompter_;
    FixedClock clock_{LocalTime{2024, 3, 2, 12, 5, 9}};
    ScriptedPrompter dialogPrompter_;
    Workspace ws_{dialogPrompter_, clock_, dir_};
    WindowSettings settings_;
    TFrmGetDir getDir_;
};

struct WindowCase {
    const char* name;
    std::function<std::unique_ptr<QWidget>(ShellWindows&)> make;
};

const std::vector<WindowCase>& windowCases() {
    static const std::vector<WindowCase> cases = {
        {"TFrmMain", [](ShellWindows& s) -> std::unique_ptr<QWidget> { return s.mainWindow(); }},
        {"TAboutBox", [](ShellWindows&) -> std::unique_ptr<QWidget> { return std::make_unique<TAboutBox>(); }},
        {"TFrmPassInp", [](ShellWindows&) -> std::unique_ptr<QWidget> { return std::make_unique<TFrmPassInp>(); }},
        {"TFrmFrdwt", [](ShellWindows&) -> std::unique_ptr<QWidget> { return std::make_unique<TFrmFrdwt>(); }},
        {"TWinCrt", [](ShellWindows&) -> std::unique_ptr<QWidget> { return std::make_unique<TWinCrt>(); }},
        {"PupMnSort",
         [](ShellWindows&) -> std::unique_ptr<QWidget> {
             auto owner = std::make_unique<QWidget>();
             owner->setObjectName("SortOwner");
             owner->addActions(parts::sortMenu(owner.get(), [](int) {})->actions());
             return owner;
         }},
        {"TFrmSysMode", [](ShellWindows& s) -> std::unique_ptr<QWidget> { return std::make_unique<TFrmSysMode>(s.ws()); }},
        {"TFrmSysPass",
         [](ShellWindows& s) -> std::unique_ptr<QWidget> { return std::make_unique<TFrmSysPass>(s.ws(), s.getDir()); }},
        {"TFrmShare", [](ShellWindows& s) -> std::unique_ptr<QWidget> { return std::make_unique<TFrmShare>(s.ws()); }},
        {"TFrmGetDir", [](ShellWindows&) -> std::unique_ptr<QWidget> { return std::make_unique<TFrmGetDir>(); }},
        {"TFrmFileSel read", [](ShellWindows& s) { return s.chooser(kChoiceRead); }},
        {"TFrmFileSel write", [](ShellWindows& s) { return s.chooser(kChoiceWrite); }},
    };
    return cases;
}

class EnglishShell : public guitest::EnglishProgram {};

TEST_F(EnglishShell, EveryWindowShowsOnlyEnglishAndNothingIsCut) {
    for (const WindowCase& c : windowCases()) {
        SCOPED_TRACE(c.name);
        ShellWindows s;
        std::unique_ptr<QWidget> w = c.make(s);
        w->show();
        QCoreApplication::processEvents();
        const QStringList japanese = japaneseTextsIn(w.get());
        EXPECT_TRUE(japanese.isEmpty()) << japanese.join('\n').toStdString();
        const QStringList cut = cutTextsIn(w.get());
        EXPECT_TRUE(cut.isEmpty()) << cut.join('\n').toStdString();
        // The settings dialogs ask on closing; the question is answered in the next test.
        s.dialogPrompter().answers.assign(4, Answer::No);
        w->close();
    }
}

// The boxes of the settings dialogs as the Qt prompter shows them: a refused path and the close
// question with its note about the refused value.
TEST_F(EnglishShell, TheSettingsBoxesAreEnglish) {
    ShellWindows s;
    TFrmSysPass dlg(s.ws(), s.getDir());
    guitest::showActive(dlg);
    auto* sys = child<QLineEdit>(dlg, "Edit_sys");
    sys->setFocus();
    sys->setText(QString(41, 'b'));
    guitest::leave(sys);
    s.dialogPrompter().answers.push_back(Answer::No);
    dlg.close();
    const std::vector<std::string> texts = s.dialogPrompter().texts();
    // refused on leaving the field, refused again on closing, then the question
    ASSERT_EQ(texts.size(), 3u) << (texts.empty() ? std::string() : texts.front());
    for (const std::string& text : texts) {
        const QString shown = translateCoreText(QString::fromStdString(text));
        EXPECT_FALSE(hasJapanese(shown)) << shown.toStdString();
    }
    EXPECT_NE(texts.back().find("\n"), std::string::npos) << texts.back();  // the note came with it
}

TEST_F(EnglishShell, MainMenusHaveNoSharedShortcutLetter) {
    ShellWindows s;
    auto w = s.mainWindow();
    auto letterOf = [](const QString& text) {
        const qsizetype at = text.indexOf('&');
        return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toUpper() : QChar();
    };
    auto checkUnique = [&](const QList<QAction*>& actions, const QString& where) {
        QList<QChar> seen;
        for (QAction* a : actions) {
            if (a->isSeparator() || !a->isVisible()) continue;
            const QChar letter = letterOf(a->text());
            EXPECT_FALSE(letter.isNull()) << where.toStdString() << ": " << a->text().toStdString();
            EXPECT_FALSE(seen.contains(letter)) << where.toStdString() << ": " << a->text().toStdString();
            seen << letter;
        }
    };
    QMenuBar* bar = w->menuBar();
    checkUnique(bar->actions(), "menu bar");
    for (QAction* top : bar->actions())
        if (top->menu()) checkUnique(top->menu()->actions(), top->text());
}

TEST_F(EnglishShell, ClockCaptionsAndFolderLockBoxesAreEnglish) {
    ShellWindows s;
    auto w = s.mainWindow();
    const QString prefixes[] = {kShufCaptionPrefix, kCatalogueCaptionPrefix, kEditorCaptionPrefix};
    for (const QString& prefix : prefixes) {
        QWidget window;
        w->addClockCaption(&window, prefix);
        w->Timer1Timer();
        EXPECT_FALSE(hasJapanese(window.windowTitle())) << window.windowTitle().toStdString();
        EXPECT_TRUE(window.windowTitle().endsWith(" 2024/03/02 12:05:09")) << window.windowTitle().toStdString();
    }

    ProgramFolderLock lock(s.dir());
    LockHolder h;
    h.user = "shop";
    const std::string texts[] = {lock.refusalText(h), lock.takeOverQuestion(h), lock.notTakenOverText()};
    for (const std::string& text : texts) {
        const QString t = QString::fromStdString(text);
        // The folder path is data and may hold anything; the rest is the box's own text.
        EXPECT_FALSE(hasJapanese(QString(t).remove(QFile::decodeName(s.dir().c_str())))) << text;
    }
}

// The real program picks its language from the locale and --lang: a start refused because this
// test holds the program folder says so on stderr in the language chosen.
TEST(ProgramLanguage, TheLocaleAndTheOptionChooseTheLanguageOfTheRealProgram) {
    const QString program = QCoreApplication::applicationDirPath() + "/zemoplan";
    ASSERT_TRUE(QFile::exists(program)) << "build the zemoplan target first";
    testsupport::TempDir tmp("zemo-en-program");
    const fs::path home = tmp.path() / "home";
    fs::create_directory(home);
    fs::create_directory(tmp.path() / "run");
    fs::permissions(tmp.path() / "run", fs::perms::owner_all);
    ScriptedPrompter prompter;
    ProgramFolderLock held(home);
    ASSERT_EQ(held.acquire(prompter), ProgramFolderLock::Outcome::Held);

    const std::string english = "The program folder is in use by another Zemoplan!";
    const std::string japanese = "ﾌﾟﾛｸﾞﾗﾑﾌｫﾙﾀﾞは他のZemoplanが使用中です！";
    struct Case {
        const char* lang;
        QStringList options;
        const std::string& expected;
    };
    const Case cases[] = {
        {"en_US.UTF-8", {}, english},
        {"ja_JP.UTF-8", {}, japanese},
        {"C", {}, japanese},
        {"ja_JP.UTF-8", {"--lang", "en"}, english},
        {"en_US.UTF-8", {"--lang", "ja"}, japanese},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lang) + " " + c.options.join(' ').toStdString());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "ZEMOPLAN_HOME"}) env.remove(name);
        env.insert("LANG", c.lang);
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString((tmp.path() / "run").string()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess run;
        run.setProcessEnvironment(env);
        run.start(program, c.options + QStringList{"--home", QString::fromStdString(home.string())});
        ASSERT_TRUE(run.waitForStarted(30000));
        std::string err;
        for (int i = 0; i < 600 && err.find("zemoplan: ") == std::string::npos; ++i) {
            run.waitForReadyRead(100);
            err += run.readAllStandardError().toStdString();
            if (run.state() == QProcess::NotRunning) break;
        }
        QTest::qWait(200);  // the rest of the box's lines
        err += run.readAllStandardError().toStdString();
        EXPECT_NE(err.find("zemoplan: " + c.expected), std::string::npos) << err;
        if (run.state() != QProcess::NotRunning) ::kill(static_cast<pid_t>(run.processId()), SIGTERM);
        EXPECT_TRUE(run.waitForFinished(60000));
    }
}

// The Japanese program keeps today's texts exactly.
TEST(JapaneseShell, MainWindowMenusAndBoxesKeepTheirTexts) {
    ShellWindows s;
    auto w = s.mainWindow();
    const std::pair<const char*, const char*> items[] = {
        {"MFileExit", "終了(&X)"},        {"MEditOptimum", "最適化処理(&S)"}, {"MEditEdit", "データ登録(&E)"},
        {"MDataAdd", "追加  ﾌｧｲﾙ(&A)"},  {"SysMode", "ｼｽﾃﾑﾓｰﾄﾞ(&M)"},     {"Revise", "誤差補正(&R)"},
        {"SysPass", "ｼｽﾃﾑﾊﾟｽ(&P)"},       {"Shuffle", "振り分け(&S)"},      {"PrnLabel", "ﾗﾍﾞﾙ 印刷(&L)"},
        {"ShareSet", "SHARE 設定(&S)"},   {"MHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)"},
    };
    for (const auto& [name, text] : items) EXPECT_EQ(child<QAction>(w.get(), name)->text(), QString::fromUtf8(text)) << name;
    QStringList titles;
    for (QAction* a : w->menuBar()->actions()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "設定(&S)", "ヘルプ(&H)"}));
    EXPECT_EQ(child<QToolButton>(w.get(), "SpdBtnShuf")->toolTip(), QStringLiteral("振り分け"));

    QWidget window;
    w->addClockCaption(&window, kShufCaptionPrefix);
    w->Timer1Timer();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("振り分け 2024/03/02 12:05:09"));

    EXPECT_EQ(w->aboutBox()->windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(child<QLabel>(w->aboutBox(), "ProductName")->text(), QStringLiteral("Zemoplan ｼｽﾃﾑ"));

    QWidget owner;
    QStringList sortItems;
    for (QAction* a : parts::sortMenu(&owner, [](int) {})->actions()) sortItems << a->text();
    EXPECT_EQ(sortItems, (QStringList{"ﾊﾞｰｺｰﾄﾞ", "ﾕｰｻﾞｰｺｰﾄﾞ", "ｱｰﾁｽﾄｺｰﾄﾞ", "登録日", "発売日", "ﾚﾝﾀﾙ開始日", "登録位置"}));

    ProgramFolderLock lock(s.dir());
    EXPECT_EQ(QString::fromStdString(lock.notTakenOverText()).section('\n', 0, 0),
              QStringLiteral("ﾌﾟﾛｸﾞﾗﾑﾌｫﾙﾀﾞの使用中を解除できません！"));
}

}  // namespace
}  // namespace zemo::ui
