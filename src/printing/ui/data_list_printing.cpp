// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ui/data_list_printing.h"

#include <QCoreApplication>
#include <QPrinter>

#include "platform/prompter.h"
#include "printing/data_list.h"
#include "printing/ui/printer_text_device.h"
#include "printing/ui/run_lock.h"
#include "ui/printer.h"

namespace zemo::ui {

int printDataList(Workspace& ws, ProgramPrinter& printer, TFrmStop& stop, int kind, int capacity, int a, int b,
                  QWidget* parent) {
    if (!printer.ensureChosen(parent)) return -1;
    QPrinter& device = printer.printerFor(PrintJob::DataList);
    DataListOptions options;
    // The pause lets a printer's spooler catch up; a file needs none.
    options.pauses = !(device.outputFormat() == QPrinter::PdfFormat && !device.outputFileName().isEmpty());
    PrinterTextDevice text(device);
    int status = 0;
    {
        RunLock lock(parent);
        status = dataListPrint(ws, kind, capacity, a, b, text, stop, options);
    }
    if (status == kDataListDeviceFailed) {
        const QString where = device.outputFileName().isEmpty() ? device.printerName() : device.outputFileName();
        ws.prompter.message(BoxKind::Error, QCoreApplication::translate("DataListPrinting", "印刷を開始できません\n%1").arg(where).toStdString(), Buttons::Ok);
    }
    return status;
}

}  // namespace zemo::ui
