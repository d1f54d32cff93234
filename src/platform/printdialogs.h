// The printing dialogs behind one interface (the page set-up and the print
// preview, and whether any printer is installed), so tests never block. The
// colour question and the PDF file name go through Messages().
#pragma once
#include <QPageLayout>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace vm {

class IPrintDialogs {
public:
    virtual ~IPrintDialogs() = default;
    // True when the desktop has at least one printer.
    virtual bool printerInstalled() = 0;
    // The page set-up dialog on `printer`; false when cancelled.
    virtual bool pageSetup(QPrinter& printer, QWidget* parent) = 0;
    // The print preview of the pages `paint` draws, captioned `caption`;
    // printing from it calls `paint` on the printer, after the print dialog
    // the preview opens may have aimed the printer at another file (so
    // `paint` checks the printer's output file before it draws).
    virtual void preview(QPrinter& printer, const std::string& caption, const std::function<void(QPrinter*)>& paint,
                         QWidget* parent) = 0;
};

IPrintDialogs& PrintDialogs();
void SetPrintDialogs(IPrintDialogs* impl);  // nullptr restores the built-in fake

// Records what each dialog was shown; the set-up answers from a script (OK by
// default) and may apply a chosen layout; the preview "prints" (calls paint
// on the printer) unless told otherwise, to the file named in its print
// dialog when one is scripted.
class FakePrintDialogs : public IPrintDialogs {
public:
    bool printerInstalled() override { return installed; }
    bool pageSetup(QPrinter& printer, QWidget* parent) override;
    void preview(QPrinter& printer, const std::string& caption, const std::function<void(QPrinter*)>& paint,
                 QWidget* parent) override;

    bool installed = false;
    std::deque<bool> setupAnswers;           // next answers; empty gives OK
    std::optional<QPageLayout> setupChoice;  // the layout chosen in the next accepted set-up
    std::vector<QPageLayout> setupShown;     // the layout each set-up opened with
    std::vector<std::string> previewCaptions;
    bool previewPrints = true;
    std::string printDialogFile;  // the output file typed into the preview's print dialog; "" leaves it
};

// Asks (through Messages()) for the PDF file a printout goes to when there is
// no printer: a save dialog titled `title` in the data folder, offering
// `fileName`. "" when cancelled.
std::string AskPdfFile(const std::string& title, const std::string& fileName);

// The dialogs of Qt Print Support.
class QtPrintDialogs : public IPrintDialogs {
public:
    bool printerInstalled() override;
    bool pageSetup(QPrinter& printer, QWidget* parent) override;
    void preview(QPrinter& printer, const std::string& caption, const std::function<void(QPrinter*)>& paint,
                 QWidget* parent) override;
};

}  // namespace vm
