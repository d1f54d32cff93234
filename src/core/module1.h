// The state the windows share for the whole run: the open calendar file, the
// option mirrors, the sound and picture tables, the alarm queue, the inputs of
// the selected-day window, window sizes kept for the run and the open flags.
// It starts empty and is never saved as such: start-up fills it, shut-down
// writes the stored parts back.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "core/alarmqueue.h"
#include "core/currency.h"
#include "core/dates.h"

namespace vm {

struct Module1State {
    // The open calendar file.
    std::string CalendarFilePath;

    // Option mirrors of [Settings].
    std::string OptStartRepeatYear;
    std::string OptStartUpSound;
    bool OptCalcYearsSince = false;
    bool OptVoice = false;
    // The user was told this run that speech cannot be had (told once a run).
    bool SpeechErrorShown = false;

    // Sound and picture tables (element 0 unused).
    std::array<std::string, 31> SoundFile{};
    std::string CurSoundFile;
    std::array<std::string, 13> MonthImageFile{};

    // The month shown in the main window, for other windows.
    std::string MonthQuerySQL;
    std::string MonthQueryOrder;
    int16_t TitleLabelHeight = 0;
    int32_t SelDayBackColor = 0;

    // The alarm queue of the alarm timer.
    AlarmQueue Alarms;
    std::string AlarmMsg;
    bool AlarmsChanged = false;

    // Inputs of the selected-day window.
    std::string SelDayTitle;
    std::string SelDayDayNo;
    std::string SelDayYear;
    std::string SelDayText;
    int16_t SelDayFontSize = 0;
    int16_t SelDayTextSize = 0;
    int16_t SelDayIndex = 0;
    int32_t SelDayTop = 0, SelDayLeft = 0, SelDayHeight = 0, SelDayWidth = 0;

    // Window rectangles kept for the run (twips).
    int32_t PeopleTop = 0, PeopleLeft = 0, PeopleWidth = 0, PeopleHeight = 0;
    int32_t WeekViewWidth = 0, WeekViewHeight = 0;
    bool WeekViewPicture = false;

    // Open flags, one per secondary window.
    bool SelectedDayOpen = false;
    bool RepeatsOpen = false;
    bool DayCalculatorOpen = false;
    bool RedGreenBlueOpen = false;
    bool EnterRecOpen = false;
    bool CalcWrkDaysOpen = false;
    bool AlarmOpen = false;
    bool PeopleOpen = false;
    bool ToDoListOpen = false;
    bool StopWatchOpen = false;
    bool WeekViewOpen = false;
    bool SplashOpen = false;

    // The answer to the grid printer's colour question for this run: 0 not
    // asked yet, 6 Yes, 7 No.
    int16_t ColorPrintAnswer = 0;
};

// The one process-wide instance.
inline Module1State Module1;

// The look of one month ([Backgrounds] row), except its picture, which is
// shared as Module1.MonthImageFile.
struct MonthAppearance {
    int32_t DayBG = 0, DayFG = 0, TitleBG = 0, TitleFG = 0;
    std::string DayFntName;
    Currency DayFntSiz;
    bool DayFntBold = false, DayFntItalic = false, DayFntUndrLn = false, DayFntStrkThr = false;
    std::string TitleFntName;
    Currency TitleFntSiz;
    bool TitleFntBold = false, TitleFntItalic = false, TitleFntUndrLn = false, TitleFntStrkThr = false;
};

// Values of the main window that operations outside any window read or write
// (the upgrade, the repeat expansion, the month build).
struct MainWindowState {
    bool Hr24Added = false;          // set when the upgrade just added [Hr24] to [Velmora]
    bool pRebuildRepeating = false;  // occurrences must be rebuilt before the next drawing
    bool CalendarReadOnly = false;   // the calendar in use may only be read: nothing is written into it
    std::string pSQL;                // the date grid's query and its order
    std::string pSQLOrder;
    std::string pSettingsFile;       // path of the settings database
    std::string txtBeginRepeatYear;  // the settings panel's start-year box
    std::array<MonthAppearance, 13> Month{};  // the per-month look, months 1..12
};

inline MainWindowState MainState;

// Back to the empty state of a new run (tests use it between cases).
inline void ResetSharedState() {
    Module1 = Module1State{};
    MainState = MainWindowState{};
}

}  // namespace vm
