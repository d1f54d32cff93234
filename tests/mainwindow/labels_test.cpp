// What a newcomer reads first shows whole: on a 1280 x 1024 screen, at the
// window's first size and split, every heading of the date grid and every
// label of its search bar holds its text, also after a search has listed
// records (measured with the fonts the widgets draw with).
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QTest>

#include "platform/recordgrid.h"
#include "platform/sqlstore.h"
#include "records/dategrid.h"
#include "startedwindow.h"

namespace db = vm::db;

namespace {

// The room a widget gives its text: its width less the frame and margins its
// style draws around the text.
int TextRoom(QLineEdit* box) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QRect inside = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QMargins m = box->textMargins();
    return inside.width() - m.left() - m.right() - 4;  // the line edit's own 2-pixel side margins
}

int TextRoom(QComboBox* box) {
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    return box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box).width() - 4;
}

int TextRoom(QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
    return button->width() - margin - 2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
}

struct Shown {
    std::string what, text;
    int room, needs;
};

class DefaultScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), QSize(1280, 1024))
            << "run through ctest, which gives this test its 1280 x 1024 screen";
    }
    std::vector<Shown> CutShort(vm::frmVelmora& w) {
        std::vector<Shown> cut;
        auto check = [&](const std::string& what, const QString& text, const QFont& font, int room) {
            const int needs = QFontMetrics(font).horizontalAdvance(text);
            if (needs > room) cut.push_back({what, text.toStdString(), room, needs});
        };
        vm::DateGrid& grid = *w.dateGrid;
        QHeaderView* header = w.TDBGridDates->horizontalHeader();
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c)) continue;
            QFont bold = header->font();
            const QString text = w.DataDatesModel->headerData(c, Qt::Horizontal).toString();
            check("heading " + text.toStdString(), text, header->font(), header->sectionSize(c) - 2 * margin);
            bold.setBold(true);  // the heading of the current column is drawn bold
            check("bold heading " + text.toStdString(), text, bold, header->sectionSize(c) - 2 * margin);
        }
        check("search box", grid.txtSearch->text(), grid.txtSearch->font(), TextRoom(grid.txtSearch));
        check("record count", grid.lblRecCnt->text(), grid.lblRecCnt->font(), grid.lblRecCnt->contentsRect().width());
        check("Repeat button", grid.sscmdRepeat->text(), grid.sscmdRepeat->font(), TextRoom(grid.sscmdRepeat));
        check("filter list", w.Combo3->currentText(), w.Combo3->font(), TextRoom(w.Combo3));
        // Nothing of the search bar lies beyond its edge, and the filter list beside it.
        const QRect bar = grid.sscmdRepeat->parentWidget()->rect();
        for (QWidget* part : {static_cast<QWidget*>(grid.txtSearch), static_cast<QWidget*>(grid.lblRecCnt),
                              static_cast<QWidget*>(grid.sscmdRepeat)})
            if (part->isVisible() && !bar.contains(part->geometry()))
                cut.push_back({part->objectName().toStdString() + " past the bar's edge", "", bar.width(),
                               part->geometry().right()});
        return cut;
    }
};

std::string Describe(const std::vector<Shown>& cut) {
    std::string out;
    for (const Shown& s : cut)
        out += s.what + " \"" + s.text + "\": room " + std::to_string(s.room) + ", needs " + std::to_string(s.needs) +
               "\n";
    return out;
}

TEST_F(DefaultScreen, GridHeadingsAndSearchBarShowWholeBeforeAndAfterASearch) {
    vmtest::StartedWindow f;
    vm::frmVelmora& w = f.Start();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    {
        auto cal = db::Database::Open(vm::Module1.CalendarFilePath);
        db::Transaction batch(*cal);
        auto add = cal->prepare("INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[DateText],[DateType],[WorkDay]) "
                                "VALUES (0,?,?,'Birthday of a friend','Birthday',-1)");
        for (int i = 0; i < 48; ++i) {
            const vm::CivilDate d{2026, 1 + i % 12, 1 + i % 28};
            add.bindAll({db::Text(vm::FormatIso(d)), db::Int(vm::Date2Julian(d))}).step();
            add.reset();
        }
        batch.commit();
    }
    w.cmbmonth_Click();
    QApplication::processEvents();
    EXPECT_EQ(Describe(CutShort(w)), "") << "at first";

    w.dateGrid->txtSearch->setText("Birthday");
    QTest::keyClick(w.dateGrid->txtSearch, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(w.dateGrid->lblRecCnt->text(), "48 Recs");
    EXPECT_EQ(Describe(CutShort(w)), "") << "after a search";
}

}  // namespace
