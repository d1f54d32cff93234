#include "mainwindow/filecommands.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

#include <filesystem>

#include "core/appearance.h"
#include "core/calendardocument.h"
#include "core/calendarfiles.h"
#include "core/filegate.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/upgrade.h"
#include "mainwindow/frmvelmora.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/windowhelpers.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/steps.h"

namespace vm {
namespace {

constexpr int kFileExists = 58;
const char* const kOpenFilter = "Calendar File  *.MDB|*.mdb";
const char* const kSaveFilter = "Calendar File     *.mdb|.mdb";

// A start folder that is empty becomes the data folder.
std::string StartFolder(std::string& folder) {
    if (folder.empty()) folder = DataFolder();
    return folder;
}

// The error policy of Save As and New Calendar: a start folder that exists
// already is no failure.
OnError PassOverExisting(int number) { return number == kFileExists ? OnError::Next : OnError::Message; }

// The name of a new calendar file from the save dialog, which never offers to
// replace a file (nothing is ever written over): absolute, and ending in
// ".mdb" (added when the name has another ending or none), so the program
// takes it as a calendar at the next start. "" after Cancel.
std::string ChooseNewCalendarName(const std::string& folder) {
    auto request = FileDialogRequestFor(6, folder, kSaveFilter, "*.mdb", "Save As Calendar File");
    if (!request) return {};
    request->confirmOverwrite = false;
    std::string chosen = Messages().fileDialog(*request);
    if (chosen.empty()) return {};
    chosen = AbsolutePath(chosen);
    if (!HasMdbSuffix(chosen)) chosen += ".mdb";
    return chosen;
}

}  // namespace

FileCommands::FileCommands(frmVelmora& window) : QObject(&window), win_(window) {
    setObjectName("FileCommands");
    QMenu* menu = window.mnuFile;
    QAction* first = menu->actions().isEmpty() ? nullptr : menu->actions().first();
    QAction* exit = window.mnuFile_Exit;

    auto make = [&](const char* name, const QString& caption, QAction* before) {
        auto* a = new QAction(caption, menu);
        a->setObjectName(name);
        menu->insertAction(before, a);
        return a;
    };
    mnuFile_Open = make("mnuFile_Open", "Open", first);
    mnuFile_SaveAs = make("mnuFile_SaveAs", "Save As", first);
    mnuNew_Calendar_File = make("mnuNew_Calendar_File", "New Calendar", first);
    QAction* sepTop = menu->insertSeparator(first);
    sepTop->setObjectName("mnuSepr");
    QAction* sepPrev = menu->insertSeparator(exit);
    sepPrev->setObjectName("mnuFile_Sepr3");
    for (int n = 1; n <= 5; ++n) {
        const std::string name = "mnuFile_Prev_" + std::to_string(n);
        mnuFile_Prev[static_cast<size_t>(n)] = make(name.c_str(), QString("Previous File %1").arg(n), exit);
        mnuFile_Prev[static_cast<size_t>(n)]->setVisible(false);
        connect(mnuFile_Prev[static_cast<size_t>(n)], &QAction::triggered, this, [this, n] { mnuFile_Prev_Click(n); });
    }
    connect(mnuFile_Open, &QAction::triggered, this, &FileCommands::mnuFile_Open_Click);
    connect(mnuFile_SaveAs, &QAction::triggered, this, &FileCommands::mnuFile_SaveAs_Click);
    connect(mnuNew_Calendar_File, &QAction::triggered, this, &FileCommands::mnuNew_Calendar_File_Click);

    tmrPrevNotice = new QTimer(this);
    tmrPrevNotice->setObjectName("tmrPrevNotice");
    tmrPrevNotice->setSingleShot(true);
    tmrPrevNotice->setInterval(2000);
    connect(tmrPrevNotice, &QTimer::timeout, this, &FileCommands::ClearPrevNotice);

    RefreshPrevMenu();
}

FileCommands* InstallFileCommands(frmVelmora& window) {
    if (FileCommands* existing = FileCommandsOf(window)) return existing;
    return new FileCommands(window);
}

FileCommands* FileCommandsOf(frmVelmora& window) {
    return window.findChild<FileCommands*>("FileCommands", Qt::FindDirectChildrenOnly);
}

void FileCommands::SetCaption() { win_.setWindowTitle(QString::fromStdString(CalendarCaption(Module1.CalendarFilePath))); }

// Points the window's date records at the calendar in use, so nothing reads
// or writes the file that was shown before.
void FileCommands::RebindDataDates() {
    win_.DataDates.setDatabaseName(Module1.CalendarFilePath);
    win_.DataDates.setRecordSource("SELECT * FROM [Velmora]");
    win_.DataDates.refresh();
    // The other windows over the calendar's records turn to the new file.
    Document().CalendarOpened();
}

void FileCommands::CloseSettingsPanel() {
    if (SettingsPanelMade() && TheSettingsPanel()->isVisible()) TheSettingsPanel()->sscmdExitSettings_Click();
}

void FileCommands::ShowMonthAfterPass(int buildsBeforePass) {
    if (win_.buildsRun() == buildsBeforePass)
        win_.cmbmonth_Click();
    else
        win_.LayoutDayGrid();
}

// As at start-up: the month is drawn from the occurrences the pass left, not
// once before it and again after.
void FileCommands::LoadCalendarFile() {
    OptionalStep([&] { RebindDataDates(); });
    OptionalStep([&] { ReadCalValues(win_.DataSettings); });
    const int builds = win_.buildsRun();
    WriteStep("The repeating data", [&] { win_.mnuFile_Build_Repeating_Click(); });
    OptionalStep([&] { ShowMonthAfterPass(builds); });
    OptionalStep([&] { win_.EnableMainControls(true); });
    OptionalStep([&] { SetCaption(); });
}

void FileCommands::mnuFile_Open_Click() {
    auto& st = CalendarFiles;
    Operation op("mnuFile_Open_Click_Error");
    std::string chosen;
    op.step(1, [&] {
        st.pOpenExistFile = ShowFileDialog(StartFolder(st.OpenDialogFolder), 1, kOpenFilter, "*.mdb", "Open Calendar Date Data");
        chosen = st.pOpenExistFile;
    });
    if (chosen.empty() || op.ended()) return;

    // Only a calendar file of this program is upgraded and opened; anything
    // else is left as it is. A file that may only be read is not upgraded.
    const FileUse use = AdmitCalendarFile(chosen, "MDB Files Only");
    if (use == FileUse::Refused) return;
    chosen = AbsolutePath(chosen);
    CloseSettingsPanel();
    const bool hr24Before = MainState.Hr24Added;
    bool hr24Added = false;
    if (use == FileUse::Usable) op.step(2, [&] {
        MainState.Hr24Added = false;
        UpdateVelmoraFile(chosen, win_.DataDates);
        hr24Added = MainState.Hr24Added;
        MainState.Hr24Added = hr24Before || hr24Added;
    });
    if (!op.step(3, [&] {
            Module1.CalendarFilePath = chosen;
            MainState.CalendarReadOnly = use == FileUse::ReadOnly;
            st.OpenDialogFolder = FolderOf(chosen);
        }))
        return;
    // Entries of an older file sort by their real time once [Hr24] is filled.
    if (hr24Added && !op.step(4, [&] { Table24UpdateAll(win_.DataDates); })) return;
    if (!op.step(5, [&] { AddToPrevFiles(); })) return;
    LoadCalendarFile();
}

void FileCommands::mnuFile_SaveAs_Click() {
    if (!CalendarIsOpen("Save As Calendar File")) return;  // nothing to copy
    auto& st = CalendarFiles;
    Operation op("mnuFile_SaveAs_Click_Error");
    op.onError(PassOverExisting);
    op.step(1, [&] {
        if (!MakeFolder(StartFolder(st.SaveAsDialogFolder))) throw OpError(76, "Path not found");
    });
    op.onError([](int) { return OnError::Message; });
    std::string chosen;
    if (!op.step(2, [&] { chosen = ChooseNewCalendarName(st.SaveAsDialogFolder); })) return;
    if (chosen.empty()) return;
    // The calendar in use stays in use: an existing file is never written over.
    if (FileExists(chosen) || SamePath(chosen, Module1.CalendarFilePath)) {
        st.SaveAsDialogFolder = FolderOf(chosen);
        InfoBox("Calendar File Already Exists. Cannot Overwrite.", "Cannot Save Calendar File");
        return;
    }
    CloseSettingsPanel();  // its edits go into the copy too
    bool copied = false;
    op.step(4, [&] {
        CopyCalendarNoOverwrite(Module1.CalendarFilePath, chosen);
        copied = true;
    });
    if (!copied) return;  // nothing to switch to
    Module1.CalendarFilePath = chosen;
    MainState.CalendarReadOnly = false;
    try {
        RebindDataDates();
    } catch (...) {
    }
    SetCaption();
}

void FileCommands::mnuNew_Calendar_File_Click() {
    auto& st = CalendarFiles;
    Operation op("mnuNew_Calendar_File_Click_Error");
    op.onError(PassOverExisting);
    op.step(1, [&] {
        if (!MakeFolder(StartFolder(st.NewDialogFolder))) throw OpError(76, "Path not found");
    });
    op.onError([](int) { return OnError::Message; });
    std::string chosen;
    if (!op.step(2, [&] { chosen = ChooseNewCalendarName(st.NewDialogFolder); })) return;
    if (chosen.empty()) return;
    if (FileExists(chosen) || SamePath(chosen, Module1.CalendarFilePath)) {
        st.NewDialogFolder = FolderOf(chosen);
        InfoBox("Calendar File Already Exists. Cannot Overwrite.", "Cannot Create Calendar File");
        return;
    }
    const auto templateDamaged = [] {
        CriticalBox(DamagedTemplateText(BlankCalendarTemplate(), "calendar file"), "Cannot Create Calendar File");
    };
    if (BlankTemplateDamaged(BlankCalendarTemplate())) return templateDamaged();  // nothing is made of it
    CloseSettingsPanel();
    bool copied = false;
    TemplateCopy copy = TemplateCopy::NotMade;
    op.step(4, [&] {
        copy = CopyBlankTemplate(BlankCalendarTemplate(), chosen, true);
        if (copy == TemplateCopy::TemplateDamaged) return;  // said below
        if (copy != TemplateCopy::Made) {
            if (!FileExists(BlankCalendarTemplate()))
                throw OpError(53, "File not found: " + BlankCalendarTemplate());
            throw OpError(75, "Path/File access error: cannot write \"" + chosen + "\"");
        }
        copied = true;
    });
    if (copy == TemplateCopy::TemplateDamaged) return templateDamaged();
    // Without a usable new file the calendar in use, its look included, stays
    // as it is, and no copy of ours is left behind.
    if (!copied) return;
    // (The copy is a calendar: CopyBlankTemplate checked it.)
    const bool usable = CheckCalendarFile(chosen).use == FileUse::Usable ||
                        AdmitCalendarFile(chosen, "Cannot Create Calendar File") == FileUse::Usable;
    if (!usable) {
        std::error_code ec;
        std::filesystem::remove(chosen, ec);
        return;
    }
    Module1.CalendarFilePath = chosen;
    MainState.CalendarReadOnly = false;
    st.NewDialogFolder = FolderOf(chosen);
    SetCaption();

    for (int m = 1; m <= 12; ++m) {
        MainState.Month[static_cast<size_t>(m)] = DefaultMonthAppearance();
        Module1.MonthImageFile[static_cast<size_t>(m)].clear();
    }
    OptionalStep([&] { RebindDataDates(); });
    const int builds = win_.buildsRun();
    op.step(7, [&] { win_.mnuFile_Build_Repeating_Click(); });
    op.step(7, [&] { ShowMonthAfterPass(builds); });
    op.step(7, [&] { win_.EnableMainControls(true); });
}

}  // namespace vm
