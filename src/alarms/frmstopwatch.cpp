#include "alarms/frmstopwatch.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "core/module1.h"
#include "mainwindow/mainwindowdoor.h"
#include "platform/onewindow.h"
#include "platform/messages.h"

namespace vm {
namespace {

OneWindow<frmStopWatch> g_window;
// The window's rectangle, kept for the run (pixels; empty until first closed).
QRect g_kept;

// Stopwatches and countdowns count on the steady clock.
int64_t NowMs() { return Clock().steadyMs(); }

template <class T>
T* Named(T* w, const QString& name, int index = -1) {
    w->setObjectName(index < 0 ? name : name + "_" + QString::number(index));
    return w;
}

}  // namespace

frmStopWatch::frmStopWatch(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmStopWatch");
    setWindowTitle("Stop Watches and Timers");
    auto* layout = new QVBoxLayout(this);
    SSTab1 = Named(new QTabWidget(this), "SSTab1");
    layout->addWidget(SSTab1);
    SSTab1->addTab(MakeStopWatchTab(), "Stop Watches");
    SSTab1->addTab(MakeTimersTab(), "Timers");
    SSTab1->addTab(MakeAlarmsTab(), "Daily Alarms");
    SSTab1->addTab(MakeEventLogTab(), "Event Log");
    resize(620, 420);
}

frmStopWatch::~frmStopWatch() = default;

QWidget* frmStopWatch::MakeStopWatchTab() {
    auto* panel = Named(new QWidget, "SSPanel1");
    auto* grid = new QGridLayout(panel);
    for (int i = 0; i < 5; ++i) {
        sscmdStrtStop[i] = Named(new QPushButton("Start", panel), "sscmdStrtStop", i);
        sscmdReset[i] = Named(new QPushButton("Reset", panel), "sscmdReset", i);
        lblTime[i] = Named(new QLabel(" Hours : Minutes : Seconds ", panel), "lblTime", i);
        Timer1[i] = Named(new QTimer(this), "Timer1", i);
        Timer1[i]->setInterval(i < 4 ? 1000 : 10);
        // A coarse timer may tick a little early and show the second not yet passed.
        Timer1[i]->setTimerType(Qt::PreciseTimer);
        grid->addWidget(sscmdStrtStop[i], i, 0);
        grid->addWidget(sscmdReset[i], i, 1);
        grid->addWidget(lblTime[i], i, 2);
        connect(sscmdStrtStop[i], &QPushButton::clicked, this, [this, i] { sscmdStrtStop_Click(i); });
        connect(sscmdReset[i], &QPushButton::clicked, this, [this, i] { sscmdReset_Click(i); });
        connect(Timer1[i], &QTimer::timeout, this, [this, i] { Timer1_Timer(i); });
    }
    sscmdLap = Named(new QPushButton("Lap", panel), "sscmdLap", 0);
    lstLap = Named(new QListWidget(panel), "lstLap");
    grid->addWidget(sscmdLap, 4, 3);
    grid->addWidget(lstLap, 5, 0, 1, 4);
    connect(sscmdLap, &QPushButton::clicked, this, &frmStopWatch::sscmdLap_Click);
    return panel;
}

QWidget* frmStopWatch::MakeTimersTab() {
    auto* panel = Named(new QWidget, "SSPanel2");
    auto* grid = new QGridLayout(panel);
    grid->addWidget(new QLabel("Hours", panel), 0, 0);
    grid->addWidget(new QLabel("Minutes", panel), 0, 1);
    grid->addWidget(new QLabel("Seconds", panel), 0, 2);
    for (int i = 0; i < 5; ++i) {
        cmbHrs[i] = Named(new QComboBox(panel), "cmbHrs", i);
        cmbMinutes[i] = Named(new QComboBox(panel), "cmbMinutes", i);
        cmbSeconds[i] = Named(new QComboBox(panel), "cmbSeconds", i);
        sscmdStart[i] = Named(new QPushButton("Start", panel), "sscmdStart", i);
        sscmdResetCntDwn[i] = Named(new QPushButton("Reset", panel), "sscmdResetCntDwn", i);
        lblCntDwn[i] = Named(new QLabel(panel), "lblCntDwn", i);
        Timer2[i] = Named(new QTimer(this), "Timer2", i);
        Timer2[i]->setInterval(1000);
        Timer2[i]->setTimerType(Qt::PreciseTimer);
        int col = 0;
        for (QWidget* w : {static_cast<QWidget*>(cmbHrs[i]), static_cast<QWidget*>(cmbMinutes[i]),
                           static_cast<QWidget*>(cmbSeconds[i]), static_cast<QWidget*>(sscmdStart[i]),
                           static_cast<QWidget*>(sscmdResetCntDwn[i]), static_cast<QWidget*>(lblCntDwn[i])})
            grid->addWidget(w, i + 1, col++);
        for (QComboBox* box : {cmbHrs[i], cmbMinutes[i], cmbSeconds[i]}) box->setEditable(true);
        connect(sscmdStart[i], &QPushButton::clicked, this, [this, i] { sscmdStart_Click(i); });
        connect(sscmdResetCntDwn[i], &QPushButton::clicked, this, [this, i] { sscmdResetCntDwn_Click(i); });
        connect(Timer2[i], &QTimer::timeout, this, [this, i] { Timer2_Timer(i); });
    }
    grid->setRowStretch(6, 1);
    return panel;
}

void frmStopWatch::Form_Load() {
    if (!g_kept.isEmpty()) {
        setGeometry(g_kept);
    } else {
        PlaceBesideMain(this, 750);
    }
    FillCountdownCombos();
    OpenGrids();
    SSTab1->setCurrentIndex(0);
    sscmdLap->hide();
    Module1.StopWatchOpen = true;
}

void frmStopWatch::FillCountdownCombos() {
    for (int i = 0; i < 5; ++i) {
        for (QComboBox* box : {cmbHrs[i], cmbMinutes[i], cmbSeconds[i]}) box->clear();
        for (int n = 0; n <= 24; ++n) cmbHrs[i]->addItem(QString::number(n));
        for (int n = 0; n <= 60; ++n) {
            cmbMinutes[i]->addItem(QString::number(n));
            cmbSeconds[i]->addItem(QString::number(n));
        }
    }
}

void frmStopWatch::ShowStopWatchTime(int i) {
    const int64_t now = NowMs();
    if (i >= 0 && i < 4) lblTime[i]->setText(QString::fromStdString(watches_[i].show(now)));
    if (i == 4) lblTime[4]->setText(QString::fromStdString(lapWatch_.show(now)));
}

void frmStopWatch::Timer1_Timer(int i) {
    if (i < 0 || i > 4) return;
    ShowStopWatchTime(i);
}

void frmStopWatch::sscmdStrtStop_Click(int i) {
    if (i < 0 || i > 4) return;
    const bool run = !Timer1[i]->isActive();
    if (run) Timer1[i]->start(); else Timer1[i]->stop();
    sscmdStrtStop[i]->setText(run ? "Stop" : "Start");
    if (run) ShowStopWatchTime(i);
    if (i == 4 && run) sscmdLap->show();
}

void frmStopWatch::sscmdReset_Click(int i) {
    if (i < 0 || i > 4) return;
    Timer1[i]->stop();
    sscmdStrtStop[i]->setText("Start");
    if (i < 4) {
        watches_[i].startMs.reset();
        ShowStopWatchTime(i);  // takes now as the new start
    } else {
        lstLap->clear();
        lapWatch_.reset(NowMs());
        sscmdLap->hide();
    }
    lblTime[i]->clear();
}

void frmStopWatch::sscmdLap_Click() {
    lstLap->addItem(QString::fromStdString(lapWatch_.lap(NowMs())));
    lstLap->setCurrentRow(lstLap->count() - 1);
}

void frmStopWatch::sscmdStart_Click(int i) {
    if (i < 0 || i > 4) return;
    countdowns_[i].toggle(NowMs(), cmbHrs[i]->currentText().toStdString(), cmbMinutes[i]->currentText().toStdString(),
                          cmbSeconds[i]->currentText().toStdString());
    const bool run = countdowns_[i].running();
    if (run) Timer2[i]->start(); else Timer2[i]->stop();
    sscmdStart[i]->setText(run ? "Stop" : "Start");
    // Paused, it shows the time it keeps, not what the last tick left.
    if (!run) lblCntDwn[i]->setText(QString::fromStdString(countdowns_[i].text()));
}

void frmStopWatch::Timer2_Timer(int i) {
    if (i < 0 || i > 4) return;
    if (!countdowns_[i].tick(NowMs())) {
        lblCntDwn[i]->setText(QString::fromStdString(countdowns_[i].text()));
        return;
    }
    lblCntDwn[i]->setText("Complete");
    Timer2[i]->stop();
    sscmdStart[i]->setText("Start");
    Beep3();
}

// Three beeps 750 ms apart, as timed steps: nothing waits meanwhile.
void frmStopWatch::Beep3() {
    Messages().beep();
    for (int k = 1; k <= 2; ++k)
        QTimer::singleShot(beepGapMs * k, this, [] { Messages().beep(); });
}

void frmStopWatch::sscmdResetCntDwn_Click(int i) {
    if (i < 0 || i > 4) return;
    countdowns_[i].reset();
    Timer2[i]->stop();
    sscmdStart[i]->setText("Start");
    for (QComboBox* box : {cmbHrs[i], cmbMinutes[i], cmbSeconds[i]}) box->setCurrentText("0");
    lblCntDwn[i]->clear();
}

void frmStopWatch::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    g_kept = geometry();
    for (QTimer* t : Timer1) t->stop();
    for (QTimer* t : Timer2) t->stop();
    // StopWatchOpen stays set: shut-down unloads the window again, which does nothing.
}

void frmStopWatch::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
    deleteLater();
}

frmStopWatch* ShowStopWatch() {
    return g_window.show([] { return new frmStopWatch; });
}

frmStopWatch* StopWatch() { return g_window.get(); }

void UnloadStopWatch() { g_window.unload(); }

}  // namespace vm
