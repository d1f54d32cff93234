// The data grids every window shares, over a real calendar file: edits and
// the new-row line stored in the file and refusals that store nothing. The
// search, the header sort and the font steps are tested through the windows
// that use them.
#include <gtest/gtest.h>

#include "core/gridcells.h"
#include "core/schema.h"
#include "platform/recordgrid.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

struct GridFixture : vmtest::Fixture {
    std::string path = vmtest::FreshCalendar();
    db::RecordSource source;
    vm::RecordGridModel model{source};

    GridFixture() {
        auto d = db::Database::Open(path);
        auto ins = d->prepare("INSERT INTO [CalculateDates] ([Date], [Description], [Years]) VALUES (?, ?, ?)");
        for (auto [date, text, years] : {std::tuple{"2024-01-05", "Café Été Ölfest", 1},
                                         std::tuple{"2023-03-01", "50% off at O'Brien", 2},
                                         std::tuple{"2022-07-04", "a_x_b", 3}, std::tuple{"2021-02-02", "", 4}}) {
            ins.bindAll({db::Text(date), std::string(text).empty() ? db::Value{} : db::Text(text), db::Int(years)});
            ins.run();
        }
        source.setDatabaseName(path);
        source.setRecordSource("SELECT * FROM [CalculateDates] ORDER BY [ID]");
        source.refresh();
        const auto& table = vm::FindTable(vm::CalendarTables(), "CalculateDates");
        model.setConverter(vm::TableConverter(table));
        model.setFormatter(vm::TableFormatter(table));
        model.setEditable(true);
        model.reload();
    }
    db::Value Stored(const std::string& sql) {
        auto st = db::Database::Open(path)->prepare(sql);
        return st.step() ? st.column(0) : db::Value{};
    }
};

TEST(DataGrid, EditsAndTheNewRowLineAreStoredInTheFile) {
    GridFixture f;
    ASSERT_EQ(f.model.rowCount(), 5) << "four records and the new-row line";
    EXPECT_TRUE(f.model.isNewRowLine(4));
    const int date = f.model.fieldIndex("Date"), desc = f.model.fieldIndex("Description");
    EXPECT_EQ(f.model.data(f.model.index(0, date)).toString(), "1/5/2024") << "dates show in their written form";

    EXPECT_TRUE(f.model.setData(f.model.index(1, desc), "Renamed"));
    EXPECT_EQ(db::AsText(f.Stored("SELECT [Description] FROM [CalculateDates] WHERE [Years] = 2")), "Renamed");

    // Typing into the new-row line adds a record; a fresh new-row line follows.
    EXPECT_TRUE(f.model.setData(f.model.index(4, date), "2/29/2024"));
    EXPECT_EQ(f.model.rowCount(), 6);
    EXPECT_TRUE(f.model.isNewRowLine(5));
    EXPECT_EQ(db::AsText(f.Stored("SELECT [Date] FROM [CalculateDates] ORDER BY [ID] DESC")), "2024-02-29");
    EXPECT_TRUE(f.model.setData(f.model.index(4, desc), "leap day"));
    EXPECT_EQ(db::AsInt(f.Stored("SELECT count(*) FROM [CalculateDates]")), 5) << "the second cell edits the same row";
    EXPECT_FALSE(f.model.setData(f.model.index(5, desc), "  ")) << "a blank on the new-row line adds nothing";
    EXPECT_EQ(db::AsInt(f.Stored("SELECT count(*) FROM [CalculateDates]")), 5);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(DataGrid, AValueTheColumnCannotHoldIsRefusedAndNothingIsStored) {
    GridFixture f;
    const std::string before = vmtest::ReadAll(f.path);
    const int date = f.model.fieldIndex("Date"), years = f.model.fieldIndex("Years"), id = f.model.fieldIndex("ID");
    struct Case { int row, column; const char* text; };
    for (const Case& c : {Case{0, date, "2/30/2024"}, Case{0, years, "1.5"}, Case{0, id, "77"}, Case{4, years, "seven"}}) {
        f.messages.clear();
        EXPECT_FALSE(f.model.storeCell(c.row, c.column, c.text)) << c.text;
        ASSERT_EQ(f.messages.shown.size(), 1u) << c.text;
        EXPECT_EQ(f.messages.shown[0].icon, vm::MsgIcon::Critical);
    }
    EXPECT_EQ(vmtest::ReadAll(f.path), before) << "the file is byte for byte unchanged";
    EXPECT_EQ(f.model.rowCount(), 5);
    EXPECT_EQ(f.model.data(f.model.index(0, date)).toString(), "1/5/2024");

    // A refusal by the engine itself (a length limit here, no converter)
    // also stores nothing and keeps the shown value.
    f.model.setConverter({});
    f.messages.clear();
    EXPECT_FALSE(f.model.storeCell(0, f.model.fieldIndex("Description"), QString(300, 'x')));
    EXPECT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(db::AsText(f.Stored("SELECT [Description] FROM [CalculateDates] WHERE [Years] = 1")), "Café Été Ölfest");
}

TEST(GridCells, TypedTextsAreReadByTheirColumnKind) {
    using K = vm::ColKind;
    struct Column { const char* name; K kind; int size = 0; };
    struct Case { Column col; const char* text; bool ok; db::Value stored; };
    const std::vector<Case> cases = {
        {{"Hide", K::YesNo}, "yes", true, db::Int(-1)},      {{"Hide", K::YesNo}, "", true, db::Int(0)},
        {{"Hide", K::YesNo}, "maybe", false, {}},            {{"Hour", K::Long}, "", true, {}},
        {{"Hour", K::Long}, "3000000000", false, {}},        {{"Priority", K::Byte}, "255", true, db::Int(255)},
        {{"Priority", K::Byte}, "-1", false, {}},            {{"Date", K::Date}, "2024-03-01", true, db::Text("2024-03-01")},
        {{"Time", K::Time}, "12:05 AM", true, db::Text("00:05:00")}, {{"Time", K::Time}, "13:00 PM", false, {}},
        {{"Size", K::Currency}, "8.5", true, db::Value{8.5}}, {{"MI", K::Text, 5}, "ÅÄÖÜé", true, db::Text("ÅÄÖÜé")},
        {{"MI", K::Text, 5}, "abcdef", false, {}},
    };
    for (const Case& c : cases) {
        db::Value out;
        const std::string why = vm::ConvertCellText({c.col.name, c.col.kind, c.col.size}, c.text, out);
        EXPECT_EQ(why.empty(), c.ok) << c.col.name << " '" << c.text << "': " << why;
        if (c.ok) {
            EXPECT_EQ(out, c.stored) << c.col.name << " '" << c.text << "'";
        }
    }
}

}  // namespace
