// Start-up (Form_Load) and shut-down (Form_Unload) of the main window.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "alarms/frmalarm.h"
#include "core/appearance.h"
#include "core/calendarfiles.h"
#include "core/filegate.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/monthpictures.h"
#include "core/playwave.h"
#include "core/schema.h"
#include "core/settingsio.h"
#include "core/soundfiles.h"
#include "core/splashlogic.h"
#include "core/upgrade.h"
#include "mainwindow/filecommands.h"
#include "mainwindow/frmvelmora.h"
#include "records/dategrid.h"

#include "alarms/frmstopwatch.h"
#include "tools/frmcalcwrkdays.h"
#include "tools/frmdaycalculator.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/splash.h"
#include "mainwindow/pictures.h"
#include "mainwindow/windowhelpers.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/qtpickers.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "platform/steps.h"
#include "records/frmenterrec.h"
#include "records/griddropdown.h"
#include "core/monthlayout.h"
#include "records/frmrepeats.h"
#include "records/frmselectedday.h"
#include "records/frmweekview.h"
#include "tools/frm2dolist.h"
#include "tools/frmpeople.h"
#include "tools/frmredgreenblue.h"

namespace vm {
namespace {

int Px(double twips) { return layout::PixelsFromTwips(twips); }

// Start-up passes over a Null read and a missing column; every other failure
// is shown with its error point.
OnError StartupPolicy(int number) { return (number == 94 || number == db::kNoField) ? OnError::Next : OnError::Message; }

// The splash window's rectangle from the saved main-window rectangle (twips).
QRect SplashAround(const SettingsRow& row) {
    if (!row.Left || !row.Width || !row.Top || !row.Height) return {};
    return QRect(Px(*row.Left), Px(*row.Top), Px(*row.Width), Px(*row.Height));
}

// The start panel's picture (this month's in the data folder's month
// pictures) and its text colour; the picture's size on the panel.
std::string StartPanelPicture(int32_t& colour) {
    std::string picture = JoinPath(DataFolder(), "Graphics/Months");
    GetSplashPicture(picture, colour);
    return picture;
}
QSize StartPanelPictureSize() { return QSize(Px(5900), Px(3000)); }

}  // namespace

// The pictures start-up shows are read on worker threads while the window is
// made and start-up opens the files: the splash window's, the start panel's,
// and this month's picture whole, which the month shows unless its calendar
// names another (that one is read ahead once the calendar is read). Pictures
// a first run has yet to copy are read when shown.
void frmVelmora::ReadStartPicturesAhead() {
    ReadSplashPictureAhead();
    int32_t colour = 0;
    const std::string picture = StartPanelPicture(colour);
    if (!FileExists(picture)) return;
    ReadPictureAhead(picture, StartPanelPictureSize(), devicePixelRatioF());
    ReadWholePictureAhead(picture);
}

// A voice that cannot be had is said once a run, at start-up when speech is
// on; with speech off nothing is said (the alarm window says it when an
// alarm would speak), and the voice is not started until something speaks.
void frmVelmora::Initialize_Speech() {
    if (!Module1.OptVoice) {
        Voice = SharedVoiceWhenUsed();
        return;
    }
    if (Module1.SpeechErrorShown) {  // said once a run
        Voice = StartSharedVoice().voice;
        return;
    }
    Operation op("Initialize_Speech_Error");
    op.numberPrefix("Error Number ");
    bool made = false;
    op.step(1, [&] {
        Voice = SharedVoice();
        made = true;
    });
    if (!made) Module1.SpeechErrorShown = true;
}

void frmVelmora::ShowStartPanel() {
    if (!ssPnlSplash1) {
        ssPnlSplash1 = new QFrame(SSPanel1);
        ssPnlSplash1->setObjectName("ssPnlSplash1");
        ssPnlSplash1->setFrameShape(QFrame::Panel);
        ssPnlSplash1->setFrameShadow(QFrame::Raised);
        ssPnlSplash1->setAutoFillBackground(true);
        // A press on the panel itself puts it away too: with the calendar
        // hidden there is no day cell or grid to press.
        ssPnlSplash1->installEventFilter(new EventHook(ssPnlSplash1, [](QObject* panel, QEvent* event) {
            if (event->type() == QEvent::MouseButtonPress) static_cast<QWidget*>(panel)->hide();
            return false;
        }));
        Image4 = new QLabel(ssPnlSplash1);
        Image4->setObjectName("Image4");
        Image4->setScaledContents(true);
        lblSplash = new QLabel(ssPnlSplash1);
        lblSplash->setObjectName("lblSplash");
        lblSplash->setAlignment(Qt::AlignCenter);
        lblSplash->setWordWrap(true);
        QFont f = lblSplash->font();
        f.setPointSize(11);
        f.setBold(true);
        lblSplash->setFont(f);
    }
    int32_t colour = 0;
    const std::string picture = StartPanelPicture(colour);
    Image4->setGeometry(QRect(QPoint(Px(125), Px(125)), StartPanelPictureSize()));
    Image4->setPixmap(PictureForLabel(picture, Image4->size(), Image4->devicePixelRatioF()));
    lblSplash->setText(QString::fromStdString(
        "*** Velmora ***\n\nA desktop calendar for one person\n\nVelmora  Version: " + VersionDashes()));
    SetTextColor(lblSplash, ColorFromNumber(colour));
    lblSplash->setGeometry(Px(125), Px(3200), Px(5900), Px(1900));
    ssPnlSplash1->setGeometry(Px(1500), Px(1000), Px(6150), Px(5250));
    ssPnlSplash1->raise();
    ssPnlSplash1->show();
}

void frmVelmora::Form_Load() {
    Operation op("Form Load Error", " @Error Point: ");
    op.onError(StartupPolicy);
    SettingsRow row;
    struct DropAhead {
        ~DropAhead() { DropPicturesReadAhead(); }  // a picture read ahead and not shown
    } dropAhead;

    // The data folder with both databases, the pictures, the sounds and the
    // manual, before anything reads them: a first run starts without a box.
    if (!op.step(1, [&] {
            if (!EnsureDataFolder())
                throw OpError(75, "The data folder \"" + DataFolder() + "\" cannot be created.");
            RemoveLeftoverDatabaseCopies(DataFolder());  // a Save As or New Calendar killed midway
            EnsureMonthPictures();
            EnsureSoundFolder();
            EnsureManual();
            MainState.pSettingsFile = SettingsDatabasePath();
        }))
        return;
    // A settings database that is not one is put aside for a fresh one; when
    // even that fails the settings are neither read nor saved.
    const bool haveSettings = AdmitSettingsFile(MainState.pSettingsFile) != FileUse::Refused;
    settingsUnread_ = true;  // until a read of them succeeds
    if (haveSettings && !op.step(1, [&] {
            row = ReadSettingsRow(MainState.pSettingsFile);
            settingsUnread_ = false;
        }))
        return;
    op.step(1, [&] { ShowSplash(SplashAround(row)); });
    if (op.ended()) return;
    pCalendarShown = true;
    op.step(1, [&] { ShowStartPanel(); });
    if (haveSettings && !op.step(1, [&] { UpdateSettingsFile(); })) return;
    if (haveSettings) op.step(3, [&] {
            row = ReadSettingsRow(MainState.pSettingsFile);
            settingsUnread_ = false;
        });

    // Options and recent files.
    if (!op.step(3, [&] {
            Module1.CalendarFilePath = row.LastVelmoraFN.value_or("");
            Module1.OptStartRepeatYear = StartYearOrDefault(row.StartRepeatYear);
            MainState.txtBeginRepeatYear = Module1.OptStartRepeatYear;
            Module1.OptStartUpSound = row.StartUpSound.value_or("");
            if (row.CalcYearsSince) Module1.OptCalcYearsSince = *row.CalcYearsSince;
            if (row.Voice) Module1.OptVoice = *row.Voice;
            std::array<std::string, 4> stored;
            for (int i = 1; i <= 4; ++i) stored[static_cast<size_t>(i - 1)] = row.Prev[static_cast<size_t>(i)].value_or("");
            if (FileCommands* files = FileCommandsOf(*this)) files->LoadPrevFiles(stored);
        }))
        return;
    Initialize_Speech();  // once the speech option is known

    // The calendar file: the last one, else the default one. A file that is
    // not a calendar of this program is not used at all (and not written into
    // at Exit); one that may only be read is shown as it is.
    if (op.ended()) return;
    if (!FileExists(Module1.CalendarFilePath)) Module1.CalendarFilePath = DefaultCalendarPath();
    bool haveCalendar = FileExists(Module1.CalendarFilePath);
    MainState.CalendarReadOnly = false;
    if (!haveCalendar && PathDenied(Module1.CalendarFilePath)) {
        CriticalBox("Permission to read \"" + Module1.CalendarFilePath + "\" is denied.\r\nUse File, Open to Select a File",
                    "Permission Denied");
    } else if (!haveCalendar) {
        CriticalBox("Last Velmora File is Not Found.\r\nUse File, Open to Select a File", "File Not Found");
    } else {
        FileUse use = AdmitCalendarFile(Module1.CalendarFilePath, "Cannot Use Calendar File");
        // A refused last file gives way to the default calendar file.
        if (use == FileUse::Refused && !SamePath(Module1.CalendarFilePath, DefaultCalendarPath()) &&
            FileExists(DefaultCalendarPath())) {
            Module1.CalendarFilePath = DefaultCalendarPath();
            use = AdmitCalendarFile(Module1.CalendarFilePath, "Cannot Use Calendar File");
        }
        haveCalendar = use != FileUse::Refused;
        MainState.CalendarReadOnly = use == FileUse::ReadOnly;
        if (!haveCalendar) Module1.CalendarFilePath.clear();
    }

    if (haveCalendar && !SamePath(FolderOf(Module1.CalendarFilePath), DataFolder()))
        RemoveLeftoverDatabaseCopies(FolderOf(Module1.CalendarFilePath));
    if (haveCalendar) {
        if (!op.step(3, [&] {
                MainState.Hr24Added = false;
                UpdateVelmoraFile(Module1.CalendarFilePath, DataDates);
                if (MainState.Hr24Added) Table24UpdateAll(DataDates);
            }))
            return;
        if (!op.step(3, [&] {
                // The grid's listing is read by the month build below, the first to show it.
                DataDates.setDatabaseName(Module1.CalendarFilePath);
                DataDates.setRecordSource("Velmora");
            }))
            return;
        if (!op.step(4, [&] {
                ReadCalValues(DataSettings);
                SetDefaultCalValues();
            }))
            return;
        // The month's own picture, when its style shows one.
        const int style = row.CalendarStyle.value_or(pCalendarStyle);
        if (style == kStyleMixed || style == kStyleAllTransparent)
            ReadWholePictureAhead(ResolveDataPath(Module1.MonthImageFile[size_t(Today().m)]));
    }
    if (haveSettings && !op.step(5, [&] { Module1.SoundFile = ReadSoundTable(MainState.pSettingsFile); })) return;
    op.step(7, [&] {
        Combo3->clear();
        Combo3->addItems({"All", "Daily", "Weekly", "Monthly", "Yearly", "WeekMask TF/YN", "YearWeek", "MonthWeek",
                          "MonthLastDay", "Every", "Quarterly", "Hidden"});
        Combo3->setCurrentIndex(-1);
        Combo3->setEditable(true);
        Combo3->setEditText("Select Repeat");
    });
    // The settings panel is made when first opened, its boxes taking the options then.
    op.step(8, [&] {
        if (SettingsPanelMade()) TheSettingsPanel()->LoadOptions();
    });
    if (haveCalendar) op.step(9, [&] { mnuFile_Build_Repeating_Click(); });

    // The window's place, the splitter and the calendar style.
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                           : QRect(0, 0, 1280, 800);
    op.step(9, [&] {
        // What another program or an older run left that the window cannot
        // take (a size of nothing, a bar outside the window) keeps the default.
        constexpr double kFar = 1e7, kLeastSize = 1500;
        QRect frame = geometry();
        if (const auto top = UsableTwips(row.Top, -kFar, kFar)) frame.moveTop(Px(*top));
        if (const auto left = UsableTwips(row.Left, -kFar, kFar)) frame.moveLeft(Px(*left));
        // A stored size is cut back only when it is larger than the screen.
        if (const auto h = UsableTwips(row.Height, kLeastSize, kFar))
            frame.setHeight(Px(*h) > screen.height() ? screen.height() - Px(500) : Px(*h));
        if (const auto w = UsableTwips(row.Width, kLeastSize, kFar))
            frame.setWidth(Px(*w) > screen.width() ? screen.width() - Px(500) : Px(*w));
        setGeometry(frame);
        // Anywhere in the window, up to where the toolbar's Justify puts it
        // (the window is laid out once shown: its width is the frame's).
        if (const auto barLeft = UsableTwips(row.VBarLeft, 0, FormWidthTwipsFor(frame.width()) - kGridSideMargin)) {
            TwipsRect bar = TwipsOf(SSCmdVert);
            bar.left = *barLeft;
            SetTwips(SSCmdVert, bar);
        }
        if (row.CalendarStyle) pCalendarStyle = static_cast<int16_t>(*row.CalendarStyle);
    });
    op.step(12, [&] {
        QRect frame = geometry();
        if (startArgument == "1") {
            if (frame.top() > screen.bottom()) frame.moveTop(Px(500));
            if (frame.left() > screen.right()) frame.moveLeft(Px(300));
        }
        // Never lost off every screen, and whole on the screen it is on: no
        // edge (Saturday's column) cut off. (Before the first show the
        // desktop's frame is not known: the inner size then.)
        const QMargins border = isVisible() ? QMargins(geometry().left() - frameGeometry().left(),
                                                       geometry().top() - frameGeometry().top(),
                                                       frameGeometry().right() - geometry().right(),
                                                       frameGeometry().bottom() - geometry().bottom())
                                            : QMargins();
        setGeometry(OnAScreen(frame, border));
    });

    // The current month.
    op.step(13, [&] {
        const CivilDate today = Today();
        cmbMonth->setCurrentText(MonthName(today.m));
        cmbYear->setCurrentText(QString::fromStdString(" " + std::to_string(today.y)));
        if (haveCalendar) BuildCalendarNumbers();
    });
    if (haveCalendar)
        op.step(15, [&] {
            BuildGridDropDown(1, false, "DataDates", "frmVelmora", "TDBGridDates", "DateType", 10, "", "",
                              std::string(kDateTypesHead) + kDateTypesTail);
            DataDates.setDatabaseName(Module1.CalendarFilePath);
            DataDates.setRecordSource("SELECT * FROM [Velmora]");
            DataDates.refresh();
            RefreshDateGrid();
        });
    op.step(15, [&] { setWindowTitle(QString::fromStdString(CalendarCaption(Module1.CalendarFilePath))); });

    // The start-up sound: the chosen one, else the program's own.
    op.step(15, [&] {
        std::string s = ResolveDataPath(Module1.OptStartUpSound);
        if (!FileExists(s)) s = JoinPath(DataFolder(), "Sounds/opensound.wav");
        Module1.CurSoundFile = s;
        if (FileExists(s)) PlayWaveFile(s);
    });
    if (op.ended()) return;  // Cancel: the remaining steps are skipped, the splash stays
    Module1.WeekViewPicture = false;
    CloseSplash();
    Form_Resize();
}

void frmVelmora::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmVelmora::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    auto finish = [this](bool wait) {
        if (quitAfterUnload) QTimer::singleShot(wait ? unloadWaitMs : 0, qApp, &QCoreApplication::quit);
    };
    Operation op("Form_Unload_Exit", "@ ErrorPnt= ");
    op.pointOnSameLine();
    op.onError([](int n) { return (n == 91 || n == db::kNoField) ? OnError::End : OnError::Message; });

    op.step(1, [&] { SoundPlayer().stop(); });
    op.step(1, [&] {
        if (Module1.SelectedDayOpen) UnloadSelectedDay();
        if (Module1.RedGreenBlueOpen) UnloadRedGreenBlue();
        if (Module1.RepeatsOpen) UnloadRepeats();
        if (Module1.EnterRecOpen) UnloadEnterRec();
        if (Module1.StopWatchOpen) UnloadStopWatch();
        if (Module1.DayCalculatorOpen) UnloadDayCalculator();
        if (Module1.AlarmOpen) UnloadAlarm();
        if (Module1.WeekViewOpen) UnloadWeekView();
        if (Module1.PeopleOpen) UnloadPeople();
        if (Module1.ToDoListOpen) Unload2DoList();
    });
    if (Voice) Voice->stop();
    CloseSplash();

    // Each store is saved when its file is there and may be written; nothing
    // is written into a file the gate refused, nor settings over those this
    // run could not read. A file another program holds just now is said.
    auto sayInUse = [](const FileVerdict& v, const std::string& what) {
        if (v.inUse)
            Messages().message(v.problem + "\r\n" + what + " of this run could not be saved.", MsgButtons::Ok,
                               MsgIcon::Exclamation, "Form_Unload_Exit");
    };
    const FileVerdict settingsNow = CheckSettingsFile(MainState.pSettingsFile);
    if (!settingsUnread_) sayInUse(settingsNow, "The settings");
    const bool settingsWritable = !settingsUnread_ && settingsNow.use == FileUse::Usable;
    if (settingsWritable) {
        op.step(2, [&] {
            SettingsToSave s;
            s.minimized = isMinimized();
            const QRect g = geometry();
            s.Top = layout::TwipsFromPixels(g.top());
            s.Left = layout::TwipsFromPixels(g.left());
            s.Height = layout::TwipsFromPixels(g.height());
            s.Width = layout::TwipsFromPixels(g.width());
            s.VBarLeft = TwipsOf(SSCmdVert).left;
            s.LastVelmoraFN = Module1.CalendarFilePath;
            s.PrevFiles = CalendarFiles.PrevFiles;
            s.StartRepeatYear = Module1.OptStartRepeatYear;
            s.StartUpSound = Module1.OptStartUpSound;
            s.CalcYearsSince = Module1.OptCalcYearsSince;
            s.Voice = Module1.OptVoice;
            s.CalendarStyle = pCalendarStyle;
            WriteSettingsRow(MainState.pSettingsFile, s);
        });
        op.step(5, [&] { WriteSoundTable(MainState.pSettingsFile, Module1.SoundFile); });
    }
    const bool haveCalendar = FileExists(Module1.CalendarFilePath);
    if (haveCalendar) {
        const FileVerdict calendarNow = CheckCalendarFile(Module1.CalendarFilePath);
        sayInUse(calendarNow, "The months' colours and fonts");
        if (calendarNow.use == FileUse::Usable) op.step(4, [&] { SaveFonts2File(DataSettings); });
    }
    op.step(6, [&] {
        DataDates.close();
        DataSettings.close();
    });
    // The work-day calculator goes last.
    if (Module1.CalcWrkDaysOpen) UnloadCalcWrkDays();
    finish(settingsWritable && haveCalendar);
}

}  // namespace vm
