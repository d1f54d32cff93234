// A long repeat pass at start-up moves the splash window's progress bar.
#include <gtest/gtest.h>

#include <QProgressBar>

#include "core/files.h"
#include "platform/places.h"
#include "mainwindow/splash.h"
#include "platform/sqlstore.h"
#include "startedwindow.h"

namespace {

namespace db = vm::db;

// Notes the splash bar whenever a box shows during start-up, and follows it
// from then on.
class BarWatch : public vm::FakeMessages {
public:
    std::vector<int> bar;
    int last = -1;
    vm::MsgResult message(const std::string& text, vm::MsgButtons buttons, vm::MsgIcon icon,
                          const std::string& title) override {
        vm::frmVelmoraOpen* splash = vm::SplashWindow();
        bar.push_back(splash ? splash->SplashProgressBar1->value() : -1);
        if (splash)
            QObject::connect(splash->SplashProgressBar1, &QProgressBar::valueChanged, [this](int v) { last = v; });
        return FakeMessages::message(text, buttons, icon, title);
    }
};

TEST(StartUp, TheRepeatPassMovesTheSplashBarToItsEnd) {
    vmtest::StartedWindow f;
    f.Start();
    f.Stop();
    {
        auto calendar = db::Database::Open(vm::JoinPath(f.dir, "Velmoras.mdb"));
        db::Transaction tx(*calendar);
        // Many records, the last of them with a rule whose box shows after the pass.
        calendar->exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
            "INSERT INTO [Velmora] ([Hide], [Date], [JulDate], [DateText], [Duration], [Repeat], [WorkDay]) "
            "SELECT 0, '2026-01-01', 2026001, 'Entry ' || i, 20, CASE i WHEN 400 THEN 'Every-0' ELSE 'Weekly' END, "
            "-1 FROM n");
        tx.commit();
    }
    BarWatch watch;
    vm::SetMessages(&watch);
    f.Start();
    vm::SetMessages(&f.fx.messages);
    ASSERT_EQ(watch.bar.size(), 1u) << "the bad rule's box";
    EXPECT_EQ(watch.bar[0], vm::kSplashPassShare) << "the pass has filled the bar up to the month build's stretch";
    EXPECT_EQ(watch.last, 100) << "the month build has filled the rest";
    auto calendar = db::Database::Open(vm::JoinPath(f.dir, "Velmoras.mdb"));
    auto count = calendar->prepare("SELECT count(*) FROM [RepeatingData]");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(db::AsInt(count.column(0)), 399 * 19);
}

}  // namespace
