// SPDX-License-Identifier: GPL-3.0-or-later
// A probe preloaded into the real program (LD_PRELOAD) by the tests that start it: it looks at the
// program's windows as a user would and writes what it saw to $ZEMO_PROBE_OUT, so that a test can
// check a real start without any hook in the program itself.
//
// It waits for the main window, chooses "データ登録(&E)" as a user would and, once the catalogue
// window shows, writes its row count and the records it shows (rows whose barcode cell is filled):
//   rows<TAB>N
//   record<TAB>ROW<TAB>BARCODE<TAB>TITLE      one per record, in row order
//   records<TAB>N
// A message box that comes up on the way is written instead, as
//   box<TAB>TEXT
// and the probe stops there. Nothing is clicked away; the test ends the program.
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>
#include <QWidget>

namespace {

void writeOut(const QString& text) {
    const QString path = qEnvironmentVariable("ZEMO_PROBE_OUT");
    QFile part(path + ".part");
    if (!part.open(QIODevice::WriteOnly)) return;
    part.write(text.toUtf8());
    part.close();
    QFile::rename(path + ".part", path);  // the test sees the whole text or nothing
}

QWidget* shownTopLevel(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
}

enum class Phase { WaitForMain, WaitForCatalogue, Done };
Phase phase = Phase::WaitForMain;

void poll() {
    if (phase == Phase::Done) return;
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        writeOut("box\t" + box->text().replace('\n', ' ') + "\n");
        phase = Phase::Done;
        return;
    }
    if (phase == Phase::WaitForMain) {
        QWidget* main = shownTopLevel("FrmMain");
        auto* edit = main ? main->findChild<QAction*>("MEditEdit") : nullptr;
        if (!edit || !edit->isEnabled()) return;
        phase = Phase::WaitForCatalogue;
        // The window opens modally; this poll goes on inside its loop.
        QTimer::singleShot(0, edit, &QAction::trigger);
        return;
    }
    QWidget* catalogue = shownTopLevel("FrmCd_data");
    auto* grid = catalogue ? catalogue->findChild<QTableView*>("StringGrid1") : nullptr;
    if (!grid || !grid->model()) return;
    const QAbstractItemModel* m = grid->model();
    QString out = QString("rows\t%1\n").arg(m->rowCount());
    int records = 0;
    for (int row = 0; row < m->rowCount(); ++row) {
        const QString barcode = m->index(row, 1).data().toString();
        if (barcode.isEmpty()) continue;
        ++records;
        out += QString("record\t%1\t%2\t%3\n").arg(row).arg(barcode, m->index(row, 4).data().toString());
    }
    out += QString("records\t%1\n").arg(records);
    writeOut(out);
    phase = Phase::Done;
}

void startProbe() {
    if (qEnvironmentVariableIsEmpty("ZEMO_PROBE_OUT")) return;
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, &poll);
    timer->start(100);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(startProbe)
