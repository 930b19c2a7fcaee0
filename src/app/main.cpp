// SPDX-License-Identifier: GPL-3.0-or-later
// zemoplan: the desktop program.
//   zemoplan [--home DIR] [--lang ja|en] [-Dn|/Dn ...]
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QFile>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "records/data_file.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_edit.h"
#include "catalogue/ui/record_grid.h"
#include "records/shuf_tape.h"
#include "printing/ui/frm_prn_label.h"
#include "records/record_access.h"
#include "shell/program_folder.h"
#include "planning/ui/frm_shuf_disp.h"
#include "planning/ui/frm_shuf_main.h"
#include "settings/ui/frm_file_sel.h"
#include "ui/application.h"
#include "ui/language.h"
#include "shell/ui/main_window.h"
#include "ui/qt_prompter.h"
#include "shell/ui/shell_windows.h"
#include "shell/ui/single_instance.h"

namespace {

namespace fs = std::filesystem;

const char kUsage[] =
    "usage: zemoplan [--home DIR] [--lang ja|en] [-Dn|/Dn ...]\n"
    "       zemoplan --help | --version\n"
    "  --home DIR  the program folder (control file ZEMOCTRL.DAT, settings WZEMO.INI, work\n"
    "              directories). Without it: $ZEMOPLAN_HOME; else the folder of the executable\n"
    "              when it holds ZEMOCTRL.DAT; else $XDG_DATA_HOME/zemoplan\n"
    "              (~/.local/share/zemoplan), made when missing\n"
    "  --lang L    the language of the windows, ja (Japanese) or en (English). Without it the\n"
    "              locale decides (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, in that order): English\n"
    "              for en, else Japanese. Files, printouts and labels are the same in both\n"
    "  -Dn, /Dn    database size 1..20 for this run (catalogue of 500 x n records)\n"
    "  --help      show this help\n"
    "  --version   show the version\n";

struct Options {
    std::string home;
    std::string lang;
    std::vector<std::string> params;
};

// Splits off the program's own options; everything else is a parameter of the run.
bool parseOptions(int argc, char** argv, Options& out) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--home") {
            if (i + 1 >= argc) return false;
            out.home = argv[++i];
        } else if (a.rfind("--home=", 0) == 0) {
            out.home = a.substr(7);
        } else if (a == "--lang") {
            if (i + 1 >= argc) return false;
            out.lang = argv[++i];
            if (!zemo::ui::parseLanguage(out.lang)) return false;
        } else if (a.rfind("--lang=", 0) == 0) {
            out.lang = a.substr(7);
            if (!zemo::ui::parseLanguage(out.lang)) return false;
        } else {
            out.params.push_back(a);
        }
    }
    return true;
}

// --lang when given, else the locale's language; a missing translation leaves the windows Japanese.
void chooseLanguage(QCoreApplication& app, const std::string& flag) {
    const zemo::ui::UiLanguage wanted = flag.empty() ? zemo::ui::languageFromEnvironment(&std::getenv)
                                                     : *zemo::ui::parseLanguage(flag);
    if (!zemo::ui::installLanguage(app, wanted, zemo::ui::translationFolders(QCoreApplication::applicationDirPath())))
        std::fprintf(stderr, "zemoplan: no translation for \"%s\" found; the windows stay Japanese\n",
                     zemo::ui::languageCode(wanted).toUtf8().constData());
}

// With ZEMOPLAN_SCREENSHOT_DIR set, the program saves pictures of its main window, of the file
// chooser, of the catalogue window and of the editor beside it there and ends (used to make the README's screenshots under
// Xvfb).
// A plan for the label picture: the catalogue's first six CDs, three on each side.
const zemo::ShufTape& screenshotPlan(zemo::Workspace& ws) {
    static zemo::ShufTape plan{};
    plan = {};
    for (int i = 0; i < 6; ++i) {
        zemo::CdRecord r;
        if (zemo::getRecord(ws, r, i, zemo::kKindCatalogue, ws.capacity(zemo::kKindCatalogue)) != 0 || !zemo::isInUse(r)) break;
        plan.cds[plan.count++] = r;
    }
    for (int k = 1; k <= plan.count; ++k) {
        if (k <= (plan.count + 1) / 2) plan.sideA[plan.countA++] = static_cast<std::int16_t>(k);
        else plan.sideB[plan.countB++] = static_cast<std::int16_t>(k);
    }
    return plan;
}

void takeScreenshots(const QString& dir, zemo::ui::TFrmMain& main, const zemo::ui::ShellWindows& shell) {
    const std::string folder = zemo::kindDir(main.workspace(), zemo::kKindCatalogue);
    zemo::ui::TFrmFileSel& chooser = *shell.chooser;
    zemo::ui::TFrmCd_data& catalogue = *shell.catalogue;
    zemo::ui::TFrmCdEdit* editor = shell.editor;
    zemo::ui::TFrmPrnLabel* label = shell.labelPrint;
    zemo::Workspace* ws = &main.workspace();
    zemo::ui::TFrmShufMain* shufMain = shell.shufMain;
    zemo::ui::TFrmShufDisp* shufDisp = shell.shufDisp;
    // Last the planning list with the results window over it; the program ends after it.
    auto planningShot = [shufMain, shufDisp, dir] {
        if (!shufMain || !shufDisp || shufMain->openShuffleList() != 0) {
            QCoreApplication::exit(0);
            return;
        }
        shufMain->move(0, 0);
        shufMain->show();
        shufDisp->move(300, 140);
        shufDisp->resize(700, 600);
        // A plan that misses its target says so in a box; the picture is of the windows behind it.
        QTimer::singleShot(500, shufMain, [shufMain, dir] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
            QTimer::singleShot(400, shufMain, [dir] {
                if (QScreen* screen = QGuiApplication::primaryScreen())
                    screen->grabWindow(0).save(QDir(dir).filePath("planning-windows.png"));
                QCoreApplication::exit(0);
            });
        });
        shufDisp->openFor();
    };
    // The label window, then the planning windows.
    auto labelShot = [label, ws, dir, planningShot] {
        if (!label) {
            planningShot();
            return;
        }
        label->setPlan(&screenshotPlan(*ws));
        label->resize(760, 560);
        label->show();
        QTimer::singleShot(300, label, [label, dir, planningShot] {
            label->grab().save(QDir(dir).filePath("label-preview.png"));
            label->hide();
            planningShot();
        });
    };
    QTimer::singleShot(300, &main, [&main, &chooser, &catalogue, editor, labelShot, dir, folder] {
        main.grab().save(QDir(dir).filePath("main-window.png"));
        chooser.setMode(1);
        chooser.setFolder(QString::fromStdString(folder));
        chooser.show();
        QTimer::singleShot(300, &chooser, [&chooser, &catalogue, editor, labelShot, dir] {
            chooser.grab().save(QDir(dir).filePath("file-chooser.png"));
            chooser.hide();
            catalogue.loadCatalogueGrid();
            catalogue.grid()->selectSlot(2);
            catalogue.show();
            QTimer::singleShot(300, &catalogue, [&catalogue, editor, labelShot, dir] {
                catalogue.grab().save(QDir(dir).filePath("catalogue-window.png"));
                // The editor stands beside the list it opened with; the picture shows both.
                editor->move(catalogue.x() + 360, catalogue.y() + 90);
                editor->showBeside();
                QTimer::singleShot(300, &catalogue, [&catalogue, editor, labelShot, dir] {
                    if (QScreen* screen = QGuiApplication::primaryScreen())
                        screen->grabWindow(0).save(QDir(dir).filePath("editor-window.png"));
                    editor->hide();
                    catalogue.hide();
                    labelShot();
                });
            });
        });
    });
}

// Runs a start-up step whose boxes a SIGTERM or SIGINT closes (as their OK or No), so that a
// refused start ends with the session instead of waiting for a click.
template <typename F>
auto closingOnTermination(zemo::ui::ZemoApplication& app, F&& step) {
    const QMetaObject::Connection closing =
        QObject::connect(&app, &zemo::ui::ZemoApplication::terminationRequested, [] {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
    auto result = step();
    QObject::disconnect(closing);
    return result;
}

// --help and --version answer before any window is made; -1 when neither was given.
int answerInformationOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("zemoplan %s\n", ZEMO_VERSION);
            return 0;
        }
    }
    return -1;
}

void setUpApplication(zemo::ui::ZemoApplication& app) {
    // From here on a SIGTERM or SIGINT waits in the event loop for the main window to handle it,
    // also one that comes while a start-up box is on screen.
    app.watchTerminationSignals();
    QCoreApplication::setApplicationName("Zemoplan");
    QGuiApplication::setDesktopFileName("zemoplan");
    // The installed icon; beside an uninstalled build there is none.
    const QString icon = QCoreApplication::applicationDirPath() + "/../share/icons/hicolor/scalable/apps/zemoplan.svg";
    if (QFile::exists(icon)) QGuiApplication::setWindowIcon(QIcon(icon));
}

// Started from the desktop menu there is no terminal to read stderr: with a screen the failure is
// shown in a box as well.
bool hasScreen() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

int setupFailed(zemo::ui::ZemoApplication& app, zemo::Prompter& prompter, const std::string& logLine,
                const QString& boxText, int status) {
    std::fprintf(stderr, "zemoplan: %s\n", logLine.c_str());
    std::fflush(stderr);
    if (hasScreen())
        closingOnTermination(app, [&] {
            return prompter.message(zemo::BoxKind::Error, boxText.toStdString(), zemo::Buttons::Ok);
        });
    return status;
}

QString tr(const char* text) { return QCoreApplication::translate("zemoplan", text); }

// The program folder from --home, the environment or the executable's place, made when it is the
// user's data folder; on failure the exit status is set and nothing is returned.
std::optional<zemo::ui::StartOptions> prepareProgramFolder(zemo::ui::ZemoApplication& app, zemo::Prompter& prompter,
                                                           const Options& options, int& status) {
    const zemo::ProgramFolder folder = zemo::chooseProgramFolder(
        zemo::programFolderSources(options.home, QCoreApplication::applicationDirPath().toStdString()));
    if (folder.path.empty()) {
        status = setupFailed(app, prompter, "no program folder: give --home DIR, or set ZEMOPLAN_HOME or HOME",
                             tr("プログラムフォルダがありません！\n--home でフォルダを指定してください。"), 2);
        return std::nullopt;
    }
    zemo::ui::StartOptions start;
    start.programDir = folder.path;
    start.executablePath = QCoreApplication::applicationFilePath().toStdString();
    start.args = options.params;
    const QString where = QString::fromStdString(start.programDir.string());
    std::error_code ec;
    if (folder.createWhenMissing && !fs::is_directory(start.programDir, ec)) {
        zemo::makeProgramFolder(start.programDir, ec);
        if (ec) {
            status = setupFailed(app, prompter, "cannot make the program folder " + start.programDir.string() + ": " + ec.message(),
                                 tr("プログラムフォルダを作成できません！\n%1\n%2").arg(where, QString::fromStdString(ec.message())), 1);
            return std::nullopt;
        }
    }
    if (!fs::is_directory(start.programDir, ec)) {
        status = setupFailed(app, prompter, "the program folder " + start.programDir.string() + " does not exist",
                             tr("プログラムフォルダがありません！\n%1").arg(where), 2);
        return std::nullopt;
    }
    return start;
}

// The main window and every window it opens; false (after its box) when they cannot be made.
bool createWindows(zemo::ui::QtPrompter& prompter, const zemo::ui::StartOptions& start,
                   zemo::ui::ShellPromptDialogs& dialogs, std::unique_ptr<zemo::ui::TFrmMain>& main,
                   zemo::ui::ShellWindows& shell) {
    try {
        main = std::make_unique<zemo::ui::TFrmMain>(prompter, zemo::systemClock(), start);
        shell = zemo::ui::createShellWindows(*main, dialogs);
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zemoplan: start-up failed: %s\n", zemo::ui::describeException(e).c_str());
        prompter.message(zemo::BoxKind::Error, "システムリソースが足りません！", zemo::Buttons::Ok);
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = answerInformationOptions(argc, argv); status >= 0) return status;
    zemo::ui::ZemoApplication app(argc, argv);
    Options options;  // after Qt has taken its own options out of argv
    if (!parseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    chooseLanguage(app, options.lang);
    setUpApplication(app);

    zemo::ui::QtPrompter prompter;
    // A second start only calls the first copy forward; any other end of it is told.
    zemo::ui::SingleInstance instance;
    const zemo::ui::SingleInstance::Outcome guard = instance.acquire();
    if (const int status = closingOnTermination(app, [&] { return instance.report(guard, prompter); }); status >= 0)
        return status;
    // Until the main window is there, a second start brings the start-up's question forward.
    const QMetaObject::Connection startBoxes = instance.raiseStartBoxOnRequest();

    int status = 0;
    const std::optional<zemo::ui::StartOptions> start = prepareProgramFolder(app, prompter, options, status);
    if (!start) return status;

    // One copy per program folder, whoever and wherever runs it: taken before the control file is
    // read, held until the program ends.
    zemo::ui::ProgramFolderLock folderLock(start->programDir);
    if (closingOnTermination(app, [&] { return folderLock.acquire(prompter); }) ==
        zemo::ui::ProgramFolderLock::Outcome::Refused)
        return 1;

    zemo::ui::ShellPromptDialogs dialogs;
    prompter.setDialogs(&dialogs);
    app.setPrompter(&prompter);
    std::unique_ptr<zemo::ui::TFrmMain> main;
    zemo::ui::ShellWindows shell;
    if (!createWindows(prompter, *start, dialogs, main, shell)) return 1;
    QObject::disconnect(startBoxes);
    QObject::connect(&instance, &zemo::ui::SingleInstance::activationRequested, main.get(),
                     &zemo::ui::TFrmMain::bringToFront);
    QObject::connect(&app, &zemo::ui::ZemoApplication::terminationRequested, main.get(),
                     &zemo::ui::TFrmMain::closeOnRequest);

    main->show();
    if (const char* dir = std::getenv("ZEMOPLAN_SCREENSHOT_DIR"); dir && *dir && !main->fatal())
        takeScreenshots(QString::fromLocal8Bit(dir), *main, shell);
    status = app.exec();
    app.setPrompter(nullptr);
    prompter.setDialogs(nullptr);
    return status;
}
