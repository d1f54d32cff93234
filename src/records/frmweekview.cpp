#include "records/frmweekview.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QToolBar>

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/calendardocument.h"
#include "core/datewords.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/monthlayout.h"
#include "mainwindow/mainwindowdoor.h"
#include "mainwindow/windowhelpers.h"  // WholePicture
#include "platform/controls.h"
#include "platform/keyedbutton.h"
#include "platform/onewindow.h"
#include "platform/places.h"
#include "platform/qtpickers.h"
#include "platform/steps.h"

namespace vm {
namespace {

OneWindow<frmWeekView> g_weekView;

constexpr int32_t kDesignHeight = 6192;
constexpr int32_t kDesignWidth = 10704;
const QColor kLabelBack(0xF0, 0xF7, 0xFF);  // &HFFF7F0

int Px(double twips) { return layout::PixelsFromTwips(twips); }
int32_t Twips(int pixels) { return layout::TwipsFromPixels(pixels); }

}  // namespace

frmWeekView::frmWeekView(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName("frmWeekView");
    setWindowTitle("Calendar Week View");

    mnuFile = menuBar()->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    mnuFile_Picture = mnuFile->addAction("Display Picture");
    mnuFile_Picture->setObjectName("mnuFile_Picture");
    mnuFile_Picture->setCheckable(true);
    mnuFile_Exit = mnuFile->addAction("&Exit");
    mnuFile_Exit->setObjectName("mnuFile_Exit");
    connect(mnuFile_Picture, &QAction::triggered, this, &frmWeekView::mnuFile_Picture_Click);
    connect(mnuFile_Exit, &QAction::triggered, this, &frmWeekView::mnuFile_Exit_Click);
    // Records written anywhere, a pass, another calendar: the shown week again.
    for (auto signal : {&CalendarDocument::calendarChanged, &CalendarDocument::calendarOpened})
        connect(&Document(), signal, this, [this] {
            if (!loaded_) return;
            KeepShownWeek();
            GetWeeksMsg(pWeek);
        });

    Toolbar1 = addToolBar("Toolbar1");
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setMovable(false);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const struct {
        const char *caption, *key, *tip;
    } buttons[] = {{"Prev Wk", "LeftArrow", " Show  Previous Week "}, {"Nxt Wk", "RightArrow", "  Show Next Week "}};
    for (const auto& b : buttons) {
        AddKeyedButton(Toolbar1, b.caption, b.key, b.tip);
    }
    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction* a) { Toolbar1_ButtonClick(a->data().toString()); });

    auto* central = new QWidget(this);
    central->setObjectName("central");
    setCentralWidget(central);
    txtMonYr = new QLineEdit("Month Year", central);
    txtMonYr->setObjectName("txtMonYr");
    txtMonYr->setAlignment(Qt::AlignCenter);
    txtMonYr->resize(Px(3000), txtMonYr->sizeHint().height());

    SSPanel1 = new QFrame(central);
    SSPanel1->setObjectName("SSPanel1");
    SSPanel1->setFrameShape(QFrame::StyledPanel);
    Image1 = new QLabel(SSPanel1);
    Image1->setObjectName("Image1");
    Image1->setScaledContents(true);
    Image1->hide();

    static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    for (int i = 0; i < 7; ++i) {
        auto* dow = new QLabel(kDays[i], central);
        dow->setObjectName(QString("lblDOW_%1").arg(i));
        dow->setAlignment(Qt::AlignCenter);
        lblDOW[size_t(i)] = dow;
        auto* day = new QLabel(central);
        day->setObjectName(QString("lbl1_%1").arg(i));
        day->setAutoFillBackground(true);
        lbl1[size_t(i)] = day;
        MarkDayLabel(i, false);
        auto* box = new QPlainTextEdit(SSPanel1);
        WrapInside(box);
        box->setObjectName(QString("RichTextBox1_%1").arg(i));
        box->setUndoRedoEnabled(false);
        box->setTabChangesFocus(true);
        box->document()->setDefaultFont(QFont("Arial", 11));
        // The picture behind shows through the boxes.
        box->setFrameShape(QFrame::NoFrame);
        box->viewport()->setAutoFillBackground(false);
        box->setStyleSheet("QPlainTextEdit { background: transparent; }");
        RichTextBox1[size_t(i)] = box;
    }

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    setStatusBar(StatusBar1);
    txtMonYr->setFocus();  // not the first toolbar button
}

frmWeekView::~frmWeekView() { Form_Unload(); }

void frmWeekView::MarkDayLabel(int column, bool today) {
    QLabel* label = lbl1[size_t(column)];
    QPalette p = label->palette();
    const QColor windowText = palette().color(QPalette::WindowText);
    p.setColor(QPalette::Window, today ? windowText : kLabelBack);
    p.setColor(QPalette::WindowText, today ? QColor(Qt::white) : windowText);
    label->setPalette(p);
}

void frmWeekView::Form_Load() {
    OptionalStep([&] {
        PlaceBesideMain(this, 750);
    });
    mnuFile_Picture->setChecked(Module1.WeekViewPicture);
    resize(Px(Module1.WeekViewWidth != 0 ? Module1.WeekViewWidth : kDesignWidth),
           Px(Module1.WeekViewHeight != 0 ? Module1.WeekViewHeight : kDesignHeight));
    Module1.WeekViewOpen = true;
    loaded_ = true;
    Image1->setVisible(Module1.WeekViewPicture);
    pWeek = 0;
    weekOfToday_ = AddDays(Today(), -Weekday(Today()));
    Form_Resize();
    GetWeeksMsg(0);
}

// The weeks are counted from today's: once today is in another week (the
// window stayed open over a Saturday midnight), the count is made from that
// week, so the shown week stays shown and the steps go on from it.
void frmWeekView::KeepShownWeek() {
    const CivilDate sunday = AddDays(Today(), -Weekday(Today()));
    if (weekOfToday_.valid() && sunday != weekOfToday_)
        pWeek -= static_cast<int>((DaysFromCivil(sunday) - DaysFromCivil(weekOfToday_)) / 7);
    weekOfToday_ = sunday;
}

void frmWeekView::ShowPicture(int month) {
    const std::string stored = Module1.MonthImageFile.at(size_t(month));
    if (stored.empty()) {
        Image1->clear();
        picturePath_.clear();
        return;
    }
    const std::string path = ResolveDataPath(stored);
    if (!FileExists(path)) throw OpError(53, "File not found: " + path);
    // The same unchanged file is not read again.
    const qint64 stamp = QFileInfo(QString::fromStdString(path)).lastModified().toMSecsSinceEpoch();
    if (path == picturePath_ && stamp == pictureStamp_) return;
    const QPixmap picture = WholePicture(path);
    if (picture.isNull()) throw OpError(481, "Invalid picture: " + path);
    Image1->setPixmap(picture);
    picturePath_ = path;
    pictureStamp_ = stamp;
}

void frmWeekView::GetWeeksMsg(int weekOffset) {
    Operation op("GetWeeksMsg_Error");
    std::vector<WeekLine> lines;
    std::shared_ptr<db::Database> store;

    if (!op.step(1, [&] { frame_ = MakeWeekFrame(Today(), weekOffset); })) return;
    if (!op.step(2, [&] { ShowPicture(frame_.shown.m); })) return;
    if (!op.step(3, [&] { txtMonYr->setText(QString::fromStdString(frame_.caption)); })) return;
    if (!op.step(5, [&] {
            for (int i = 0; i < 7; ++i) {
                lbl1[size_t(i)]->setText(QString::fromStdString(WeekDayLabel(frame_.days[size_t(i)])));
                MarkDayLabel(i, i == frame_.todayColumn);
                RichTextBox1[size_t(i)]->clear();
                colorTables_[size_t(i)].clear();
            }
        }))
        return;
    op.step(7, [&] {
        store = db::Database::Open(Module1.CalendarFilePath);
        ReadWeekTable(*store, "Velmora", frame_.keys, lines);
    });
    if (store) op.step(8, [&] { ReadWeekTable(*store, "RepeatingData", frame_.keys, lines); });

    // The lines go in as plain text and each takes its look at the place
    // recorded for it, in a document of its own that the box then takes, so
    // the box lays it out once.
    op.step(10, [&] {
        const WeekBoxes boxes = LayOutWeek(lines);
        std::array<QTextDocument*, 7> docs{};
        for (int i = 0; i < 7; ++i) {
            QPlainTextEdit* box = RichTextBox1[size_t(i)];
            docs[size_t(i)] = new QTextDocument(box);
            docs[size_t(i)]->setUndoRedoEnabled(false);
            docs[size_t(i)]->setDefaultFont(box->document()->defaultFont());
            docs[size_t(i)]->setPlainText(QString::fromStdString(boxes.text[size_t(i)]));
        }
        for (const LineFormat& line : boxes.formats) ApplyLine(*docs[size_t(line.column)], line);
        for (int i = 0; i < 7; ++i) {
            QPlainTextEdit* box = RichTextBox1[size_t(i)];
            // The box drops a document it made itself; one made here goes here.
            QPointer<QTextDocument> old = box->document();
            docs[size_t(i)]->setDocumentLayout(new QPlainTextDocumentLayout(docs[size_t(i)]));
            box->setDocument(docs[size_t(i)]);
            if (old && old->parent() == box) delete old.data();
        }
    });
}

void frmWeekView::ApplyLine(QTextDocument& doc, const LineFormat& line) {
    QTextCharFormat format;
    if (line.look.hasFont) ApplyFontString(format, line.look.font);
    ApplyDayColors(format, line.column, line.look);
    QTextCursor cursor(&doc);
    cursor.setPosition(line.start);
    cursor.setPosition(line.start + line.length, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
}

void frmWeekView::ApplyFontString(QTextCharFormat& format, const FontSpec& font) {
    if (font.name && !font.name->empty()) format.setFontFamilies({QString::fromStdString(*font.name)});
    if (font.size && *font.size > 0 && *font.size < 2048) format.setFontPointSize(*font.size);
    if (font.bold) format.setFontWeight(*font.bold ? QFont::Bold : QFont::Normal);
    if (font.italic) format.setFontItalic(*font.italic);
}

void frmWeekView::ApplyDayColors(QTextCharFormat& format, int column, const LineLook& look) {
    format.setForeground(ColorFromNumber(look.fg));
    HighLight(format, column, look.bg);
}

void frmWeekView::HighLight(QTextCharFormat& format, int column, int32_t color) {
    std::vector<int32_t>& table = colorTables_.at(size_t(column));
    const int n = AddColorToTable(table, color);
    format.setBackground(ColorFromNumber(table[size_t(n - 1)]));
}

void frmWeekView::Toolbar1_ButtonClick(const QString& key) {
    KeepShownWeek();
    if (key == "LeftArrow") --pWeek;
    else if (key == "RightArrow") ++pWeek;
    GetWeeksMsg(pWeek);
}

void frmWeekView::mnuFile_Picture_Click() {
    Module1.WeekViewPicture = !Module1.WeekViewPicture;
    mnuFile_Picture->setChecked(Module1.WeekViewPicture);
    Image1->setVisible(mnuFile_Picture->isChecked());
    resize(width() + std::max(1, Px(20)), height());
}

void frmWeekView::mnuFile_Exit_Click() { close(); }

void frmWeekView::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmWeekView::Form_Resize() {
    OptionalStep([&] {
        const int w = width();
        const int top = Px(100);
        txtMonYr->move(w / 2 - txtMonYr->width() / 2, top);
        const int dowTop = txtMonYr->y() + txtMonYr->height() + Px(60);
        const int labelHeight = lblDOW[0]->sizeHint().height();
        const int dayTop = dowTop + labelHeight;
        const int panelTop = dayTop + labelHeight + Px(60);
        const int panelWidth = std::max(0, w - Px(400));
        const int central = centralWidget()->height();
        const int panelHeight = std::max(0, central - panelTop - Px(200));
        SSPanel1->setGeometry(Px(200), panelTop, panelWidth, panelHeight);
        Image1->setGeometry(0, 0, panelWidth, panelHeight);

        const int boxWidth = std::max(0, (panelWidth - Px(500)) / 7);
        const int boxHeight = std::max(0, panelHeight - Px(200));
        int left = Px(100);
        for (int i = 0; i < 7; ++i) {
            RichTextBox1[size_t(i)]->setGeometry(left, Px(100), boxWidth, boxHeight);
            lblDOW[size_t(i)]->setGeometry(Px(200) + left, dowTop, boxWidth, labelHeight);
            lbl1[size_t(i)]->setGeometry(Px(200) + left, dayTop, boxWidth, labelHeight);
            left += boxWidth + std::max(1, Px(30));
        }
    });
}

void frmWeekView::Form_Unload() {
    if (!loaded_) return;
    loaded_ = false;
    Module1.WeekViewHeight = Twips(height());
    Module1.WeekViewWidth = Twips(width());
    Module1.WeekViewOpen = false;
}

void frmWeekView::closeEvent(QCloseEvent* event) {
    Form_Unload();
    setAttribute(Qt::WA_DeleteOnClose);
    event->accept();
}

// ---- the one instance ----

frmWeekView* WeekView() { return g_weekView.get(); }

frmWeekView* ShowWeekView() {
    return g_weekView.show([] { return new frmWeekView(MainParent()); });
}

void UnloadWeekView() { g_weekView.unload(); }

}  // namespace vm
