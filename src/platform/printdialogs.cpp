#include "platform/printdialogs.h"

#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <malloc.h>

#include "platform/messages.h"
#include "platform/places.h"

namespace vm {
namespace {
IPrintDialogs* g_dialogs = nullptr;
FakePrintDialogs& BuiltIn() {
    static FakePrintDialogs fake;
    return fake;
}
}  // namespace

std::string AskPdfFile(const std::string& title, const std::string& fileName) {
    FileDialogRequest req;
    req.save = true;
    req.title = title;
    req.filter = "PDF Files|*.pdf";
    req.initialDir = DataFolder();
    req.fileName = fileName;
    req.defaultSuffix = "pdf";
    return Messages().fileDialog(req);
}

IPrintDialogs& PrintDialogs() { return g_dialogs ? *g_dialogs : BuiltIn(); }
void SetPrintDialogs(IPrintDialogs* impl) { g_dialogs = impl; }

bool FakePrintDialogs::pageSetup(QPrinter& printer, QWidget*) {
    setupShown.push_back(printer.pageLayout());
    bool ok = true;
    if (!setupAnswers.empty()) {
        ok = setupAnswers.front();
        setupAnswers.pop_front();
    }
    if (ok && setupChoice) printer.setPageLayout(*setupChoice);
    setupChoice.reset();
    return ok;
}

void FakePrintDialogs::preview(QPrinter& printer, const std::string& caption,
                               const std::function<void(QPrinter*)>& paint, QWidget*) {
    previewCaptions.push_back(caption);
    if (!previewPrints) return;
    if (!printDialogFile.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printDialogFile));
    }
    paint(&printer);
}

bool QtPrintDialogs::printerInstalled() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

bool QtPrintDialogs::pageSetup(QPrinter& printer, QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    dialog.setWindowTitle("Page Setup");
    return dialog.exec() == QDialog::Accepted;
}

void QtPrintDialogs::preview(QPrinter& printer, const std::string& caption,
                             const std::function<void(QPrinter*)>& paint, QWidget* parent) {
    {
        QPrintPreviewDialog dialog(&printer, parent);
        dialog.setWindowTitle(QString::fromStdString(caption));
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* p) { paint(p); });
        dialog.exec();
    }
    // The preview holds every page drawn, a gigabyte and more for a long
    // grid: what it freed goes back to the system, not kept for later.
    malloc_trim(0);
}

}  // namespace vm
