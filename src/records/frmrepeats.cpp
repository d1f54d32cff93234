#include "records/frmrepeats.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QWindow>

#include "core/module1.h"
#include "mainwindow/mainwindowdoor.h"

namespace vm {
namespace {

QPointer<frmRepeats> g_window;

constexpr int kPictureWidth = 831, kPictureHeight = 468;

// The examples the picture explains: repeat type, periods (the record's
// Duration), the Repeat text to enter, and what it does.
struct Example {
    const char* type;
    const char* periods;
    const char* repeat;
    const char* explanation;
};
const Example kExamples[] = {
    {"Daily", "3", "Daily", "Starting on the date, repeat for 3 days"},
    {"Weekly", "10", "Weekly", "Starting on the date, repeat for 10 weeks"},
    {"Monthly", "2", "Monthly", "Starting on the date, repeat for 2 months"},
    {"Yearly", "15", "Yearly", "Starting on the date, repeat for 15 years"},
    {"WeekMask", "3", "WeekMask-TFTTFFT",
     "Date needs to be a Sunday; starting on the date, repeats Sun, Tue, Wed and Sat for 3 weeks "
     "(T, F, Y and N can be used)"},
    {"YearWeek", "3", "YearWeek-3-Mon-Jan\n(week number can be Last)",
     "Starting on the date (a third Monday of January), repeat on the third Monday of January for 3 years"},
    {"MonthWeek", "3", "MonthWeek-3-Wed\n(week number can be last)",
     "Starting on the date (a third Wednesday), for the next 3 months"},
    {"MonthLastDay", "4", "MonthLastDay\n(uses the month number of the date)",
     "Starting on the date (the last day of a month), repeat for the next 4 months"},
    {"Every", "10", "Every-20", "Starting on the date, repeat every 20 days for 10 periods"},
    {"EveryMonth", "10", "EveryMonth-3", "Starting on the date, repeat every 3 months"},
};

}  // namespace

QImage RepeatPatternPicture(qreal pixelRatio) {
    // Drawn in the picture's own units; the painter scales to the ratio.
    QImage image(QSize(kPictureWidth, kPictureHeight) * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::white);
    QPainter p(&image);
    const int cols[5] = {4, 124, 184, 404, 827};  // column edges
    const int groupTop = 4, headTop = 26, bodyTop = 48, bottom = kPictureHeight - 4;
    const int rowHeight = (bottom - bodyTop) / int(std::size(kExamples));
    QFont head = p.font();
    head.setPixelSize(13);
    head.setBold(true);
    QFont body = head;
    body.setBold(false);
    body.setPixelSize(11);

    p.fillRect(QRect(cols[0], groupTop, cols[4] - cols[0], bodyTop - groupTop), QColor(220, 230, 245));
    p.setFont(head);
    p.drawText(QRect(cols[1], groupTop, cols[3] - cols[1], headTop - groupTop), Qt::AlignCenter,
               "Examples: (Dash Important)");
    const char* heads[4] = {"Repeat Type", "Periods", "Repeat Type", "Example Explanation"};
    for (int c = 0; c < 4; ++c)
        p.drawText(QRect(cols[c], headTop, cols[c + 1] - cols[c], bodyTop - headTop), Qt::AlignCenter, heads[c]);
    p.setFont(body);
    for (size_t r = 0; r < std::size(kExamples); ++r) {
        const Example& e = kExamples[r];
        const int top = bodyTop + int(r) * rowHeight;
        if (r % 2) p.fillRect(QRect(cols[0], top, cols[4] - cols[0], rowHeight), QColor(245, 245, 245));
        const char* cells[4] = {e.type, e.periods, e.repeat, e.explanation};
        for (int c = 0; c < 4; ++c)
            p.drawText(QRect(cols[c] + 4, top, cols[c + 1] - cols[c] - 8, rowHeight),
                       (c == 1 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter) | Qt::TextWordWrap, cells[c]);
    }
    p.setPen(Qt::black);
    for (int x : cols) p.drawLine(x, headTop, x, bodyTop + int(std::size(kExamples)) * rowHeight);
    p.drawLine(cols[1], groupTop, cols[1], headTop);
    p.drawLine(cols[3], groupTop, cols[3], headTop);
    p.drawLine(cols[1], groupTop, cols[3], groupTop);
    for (size_t r = 0; r <= std::size(kExamples); ++r) {
        const int y = bodyTop + int(r) * rowHeight;
        p.drawLine(cols[0], y, cols[4], y);
    }
    p.drawLine(cols[0], headTop, cols[4], headTop);
    return image;
}

frmRepeats::frmRepeats(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName("frmRepeats");
    setWindowTitle("Repeating Settings");
    setAttribute(Qt::WA_DeleteOnClose);
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setScaledContents(true);
    DrawPicture();
    resize(kPictureWidth + 8, kPictureHeight + 8);
}

// The picture in as many pixels as the label's screen shows for its size.
void frmRepeats::DrawPicture() {
    const qreal ratio = Image1->devicePixelRatioF();
    if (!Image1->pixmap().isNull() && Image1->pixmap().devicePixelRatio() == ratio) return;
    Image1->setPixmap(QPixmap::fromImage(RepeatPatternPicture(ratio)));
}

void frmRepeats::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Image1->setGeometry(4, 4, std::max(0, width() - 8), std::max(0, height() - 8));
}

void frmRepeats::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The screen it shows on, or is moved to, may have another ratio.
    DrawPicture();
    if (QWindow* shown = windowHandle())
        connect(shown, &QWindow::screenChanged, this, &frmRepeats::DrawPicture, Qt::UniqueConnection);
}

void frmRepeats::closeEvent(QCloseEvent* event) {
    Module1.RepeatsOpen = false;
    event->accept();
}

void ShowRepeats() {
    if (!g_window) {
        g_window = new frmRepeats(nullptr);
        PlaceBesideMain(g_window, 1300);
    }
    Module1.RepeatsOpen = true;  // also when it comes back after its close
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
}

void UnloadRepeats() {
    if (g_window) {
        g_window->close();
        delete g_window.data();
    }
    Module1.RepeatsOpen = false;
}

frmRepeats* RepeatsWindow() { return g_window.data(); }

}  // namespace vm
