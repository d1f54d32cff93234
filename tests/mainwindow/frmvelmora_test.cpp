#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "core/files.h"
#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "platform/places.h"
#include "testsupport.h"

namespace {

TEST(frmVelmora, FirstStartMakesTheDataFolderAndCopiesBothTemplates) {
    vmtest::Fixture fx;
    const std::string dir = vmtest::MakeTempDir("velmora-first") + "/Velmora";
    setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
    vm::frmVelmora w;
    w.Form_Load();
    EXPECT_TRUE(vm::FileExists(dir + "/Velmoras.mdb"));
    EXPECT_TRUE(vm::FileExists(dir + "/Velmora_Settings.mdb"));
    EXPECT_EQ(vm::Module1.CalendarFilePath, dir + "/Velmoras.mdb");
    EXPECT_TRUE(fx.messages.shown.empty());
    EXPECT_EQ(vm::MainState.Month[1].TitleFntSiz, vm::Currency::Whole(14));

    // A second start never overwrites the user's files.
    vmtest::WriteAll(dir + "/Velmora_Settings.mdb.keep", vmtest::ReadAll(dir + "/Velmora_Settings.mdb"));
    vm::frmVelmora again;
    again.Form_Load();
    EXPECT_EQ(vmtest::ReadAll(dir + "/Velmora_Settings.mdb"), vmtest::ReadAll(dir + "/Velmora_Settings.mdb.keep"));
}

TEST(frmVelmora, FileExitClosesTheWindow) {
    vmtest::Fixture fx;
    vm::frmVelmora w;
    w.show();
    auto* exit = w.findChild<QAction*>("mnuFile_Exit");
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), "E&xit");
    exit->trigger();
    EXPECT_FALSE(w.isVisible());
}

}  // namespace
