#include "mainwindow/mainwindowdoor.h"

#include <QFrame>
#include <QLabel>
#include <QTableView>

#include "core/monthlayout.h"
#include "mainwindow/frmvelmora.h"
#include "records/dategrid.h"
#include "tools/frmredgreenblue.h"

namespace vm {

MainWindowDoor* MainDoor() { return MainWindow(); }

QWidget* MainParent() { return MainWindow(); }

void PlaceBesideMain(QWidget* w, int twips, const QString& besideChild) {
    const QWidget* main = MainWindow();
    if (!w || !main) return;
    QPoint at = main->pos();
    if (!besideChild.isEmpty())
        if (const auto* child = main->findChild<QWidget*>(besideChild)) at += child->pos();
    const int offset = layout::PixelsFromTwips(twips);
    w->move(at + QPoint(offset, offset));
}

void CentreOnMain(QWidget* w) {
    const QWidget* main = MainWindow();
    if (!w || !main) return;
    const QRect m = main->frameGeometry(), f = w->frameGeometry();
    w->move(m.x() + m.width() / 2 - f.width() / 2, m.y() + m.height() / 2 - f.height() / 2);
}

void ShowColorConverter() { ShowRedGreenBlue(); }

// ---- the door's calls on the main window itself

QWidget* frmVelmora::Window() { return this; }

db::RecordSource& frmVelmora::Dates() { return DataDates; }

void frmVelmora::ReadDatesAgain() { dateGrid->ReadListedAgain(); }

QWidget* frmVelmora::ClientPanel() { return SSPanel1; }

void frmVelmora::PlaceOverPicture(QWidget* panel, double widthTwips, double heightTwips) {
    PlaceFloatingPanel(panel, {TwipsOf(TDBGridDates).left, TwipsOf(Image1).top, widthTwips, heightTwips});
}

}  // namespace vm
