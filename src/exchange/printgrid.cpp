#include "exchange/printgrid.h"

#include <QPageSize>
#include <QPrinter>
#include <QTableView>

#include "core/dates.h"
#include "core/module1.h"
#include "core/printsetup.h"
#include "core/writeguard.h"
#include "exchange/gridpages.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/printdialogs.h"
#include "platform/progress.h"
#include "platform/steps.h"

namespace vm {
namespace {

constexpr int16_t kAnswerYes = 6, kAnswerNo = 7;
const char* const kPdfTitle = "Print Grid to PDF";

// Every failure shows "number - description @ Error Point: step" with OK
// only, and the printout goes on with its next step.
template <class F>
void Step(int point, F&& fn) {
    try {
        fn();
    } catch (...) {
        const auto [number, description] = DescribeError(std::current_exception());
        Messages().message(std::to_string(number) + " - " + description + " @ Error Point: " + std::to_string(point),
                           MsgButtons::Ok, MsgIcon::None, "Print_Grid Error");
    }
}

void ApplySetup(QPrinter& printer, const PrintSetup& s, int16_t orientation) {
    if (s.paperWidthPt > 0)
        printer.setPageSize(QPageSize(QSize(s.paperWidthPt, s.paperHeightPt), QString::fromStdString(s.paperName),
                                      QPageSize::FuzzyMatch));
    const int o = orientation == 1 || orientation == 2 ? orientation : s.orientation;
    printer.setPageOrientation(o == 1 ? QPageLayout::Portrait : QPageLayout::Landscape);
    printer.setPageMargins(QMarginsF(s.marginLeft / 20.0, s.marginTop / 20.0, s.marginRight / 20.0, s.marginBottom / 20.0),
                           QPageLayout::Point);
}

PrintSetup SetupOf(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    PrintSetup s;
    s.paperName = layout.pageSize().name().toStdString();
    const QSize points = layout.pageSize().sizePoints();
    s.paperWidthPt = points.width();
    s.paperHeightPt = points.height();
    s.orientation = layout.orientation() == QPageLayout::Portrait ? 1 : 2;
    const QMarginsF m = layout.margins(QPageLayout::Point);
    s.marginLeft = qRound(m.left() * 20);
    s.marginTop = qRound(m.top() * 20);
    s.marginRight = qRound(m.right() * 20);
    s.marginBottom = qRound(m.bottom() * 20);
    return s;
}

// Without a printer the printout goes to a PDF file the user names.
bool ChoosePdfFile(QPrinter& printer) {
    const std::string pdf = AskPdfFile(kPdfTitle, "Velmora Grid.pdf");
    if (pdf.empty() || !MayWriteFile(pdf, kPdfTitle)) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    return true;
}

}  // namespace

bool MayPrintTo(const QPrinter& printer, const std::string& title) {
    const std::string file = printer.outputFileName().toStdString();
    return file.empty() || MayWriteFile(file, title);
}

void Print_Grid(QTableView* grid, int16_t orientation, const std::string& pageHeader) {
    bool haveGrid = false;
    Step(1, [&] {
        if (!grid) throw OpError(91, "There is no grid to print.");
        haveGrid = true;
    });
    if (!haveGrid) return;

    // The colour question, once a run.
    Step(3, [&] {
        if (Module1.ColorPrintAnswer != 0) return;
        const MsgResult r = Messages().message("Print Document in Color?", MsgButtons::YesNo, MsgIcon::Exclamation,
                                               "Color Printer?");
        Module1.ColorPrintAnswer = r == MsgResult::Yes ? kAnswerYes : kAnswerNo;
    });
    const bool colour = Module1.ColorPrintAnswer != kAnswerNo;

    QPrinter printer(QPrinter::HighResolution);
    const std::string setupPath = PrintSetupPath();
    bool target = true;
    Step(5, [&] {
        ApplySetup(printer, ReadPrintSetup(setupPath), orientation);
        printer.setDocName(QString::fromStdString(pageHeader));
        if (!PrintDialogs().printerInstalled()) target = ChoosePdfFile(printer);
    });
    if (!target) return;

    // Page set-up, then the preview, from which the user prints.
    Step(7, [&] {
        if (!PrintDialogs().pageSetup(printer, grid->window())) return;
        const GridPrintout rows = TakeGrid(*grid, colour);
        const QString header = QString::fromStdString(pageHeader);
        const QString date = QString::fromStdString(FormatMDY(Today()));
        PrintDialogs().preview(
            printer, pageHeader,
            [&](QPrinter* device) {
                if (!MayPrintTo(*device, kPdfTitle)) return;  // not a byte written
                ProgressScope progress("Print", "Printing " + pageHeader);
                PaintGridPages(*device, rows, header, date,
                               [&](int64_t done, int64_t total) { return progress.step(done, total); });
            },
            grid->window());
    });

    // The page set-up is kept for the next printout, whichever grid it is.
    Step(8, [&] {
        if (!WritePrintSetup(setupPath, SetupOf(printer)))
            Messages().message("User Print & Margin Settings Cannot be saved\r\n" + setupPath, MsgButtons::Ok,
                               MsgIcon::Information, "Print_Grid Error");
    });
}

}  // namespace vm
