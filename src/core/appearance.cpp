#include "core/appearance.h"

#include "core/module1.h"
#include "platform/places.h"
#include "platform/steps.h"

namespace vm {
namespace {

constexpr const char* kDefaultFont = "MS Sans Serif";

int32_t ColorOr(const db::Value& v, int32_t ifNull) {
    return db::IsNull(v) ? ifNull : static_cast<int32_t>(db::AsInt(v));
}

Currency SizeOr(const db::Value& v, int ifNull) {
    return db::IsNull(v) ? Currency::Whole(ifNull) : Currency::FromDouble(db::AsDouble(v));
}

std::string NameOr(const db::Value& v) {
    std::string s = db::AsText(v);
    return s.empty() ? kDefaultFont : s;
}

void BindBackgrounds(db::RecordSource& src) {
    src.setDatabaseName(Module1.CalendarFilePath);
    src.setRecordSource("Backgrounds");
    src.refresh();
}

}  // namespace

MonthAppearance DefaultMonthAppearance() {
    MonthAppearance a;
    a.DayFG = 0;
    a.DayBG = 16777215;
    a.TitleFG = 0;
    a.TitleBG = 16777215;
    a.DayFntName = kDefaultFont;
    a.DayFntSiz = Currency::Whole(11);
    a.TitleFntName = kDefaultFont;
    a.TitleFntSiz = Currency::Whole(14);
    a.TitleFntBold = true;
    return a;
}

void ReadCalValues(db::RecordSource& DataSettings) {
    if (!FileExists(Module1.CalendarFilePath)) return;
    Operation op("ReadCalValues_Error", "@ErPnt= ");
    op.onError([](int n) { return (n == 91 || n == db::kNoField) ? OnError::End : OnError::Message; });
    if (!op.step(1, [&] { BindBackgrounds(DataSettings); })) return;
    for (int m = 1; m <= 12 && op.lastError() == 0; ++m) {  // one box, not one per month
        auto& a = MainState.Month[static_cast<size_t>(m)];
        if (DataSettings.eof()) {  // a short table: the missing months load as an empty row
            a = DefaultMonthAppearance();
            Module1.MonthImageFile[static_cast<size_t>(m)].clear();
            continue;
        }
        auto f = [&](const char* name) { return DataSettings.field(name); };
        if (!op.step(2, [&] {
                Module1.MonthImageFile[static_cast<size_t>(m)] = db::AsText(f("ImageFileName"));
                a.DayFG = ColorOr(f("DayFG"), 0);
                a.DayBG = ColorOr(f("DayBG"), 16777215);
                a.TitleFG = ColorOr(f("TitleFG"), 0);
                a.TitleBG = ColorOr(f("TitleBG"), 16777215);
            }))
            return;
        if (!op.step(3, [&] {
                a.DayFntSiz = SizeOr(f("DayFntSiz"), 11);
                a.DayFntBold = db::AsBool(f("DayFntBold"), false);
                a.DayFntName = NameOr(f("DayFntName"));
                a.DayFntItalic = db::AsBool(f("DayFntItalic"));
                a.DayFntUndrLn = db::AsBool(f("DayFntUndrLn"));
                a.DayFntStrkThr = db::AsBool(f("DayFntStrkThr"));
            }))
            return;
        if (!op.step(4, [&] {
                a.TitleFntSiz = SizeOr(f("TitleFntSiz"), 14);
                a.TitleFntBold = db::AsBool(f("TitleFntBold"), true);
                a.TitleFntName = NameOr(f("TitleFntName"));
                a.TitleFntItalic = db::AsBool(f("TitleFntItalic"));
                a.TitleFntUndrLn = db::AsBool(f("TitleFntUndrLn"));
                a.TitleFntStrkThr = db::AsBool(f("TitleFntStrkThr"));
            }))
            return;
        op.step(5, [&] { DataSettings.moveNext(); });
    }
}

void SetDefaultCalValues() {
    const Currency eight = Currency::Whole(8);
    for (int m = 1; m <= 12; ++m) {
        auto& a = MainState.Month[static_cast<size_t>(m)];
        if (a.DayBG == 0) a.DayBG = 16777215;
        if (a.TitleBG == 0) a.TitleBG = 16777215;
        if (a.DayFntSiz < eight) a.DayFntSiz = Currency::Whole(11);
        if (a.TitleFntSiz < eight) a.TitleFntSiz = Currency::Whole(11);
    }
}

void SaveFonts2File(db::RecordSource& DataSettings) {
    if (!FileExists(Module1.CalendarFilePath) || MainState.CalendarReadOnly) return;
    Operation op("SaveFonts2File_Error");
    op.onError([](int n) { return n == 91 ? OnError::End : OnError::Message; });
    std::unique_ptr<db::Transaction> tx;
    if (!op.step(1, [&] {
            BindBackgrounds(DataSettings);
            tx = std::make_unique<db::Transaction>(DataSettings.database());
            DataSettings.moveFirst();
        }))
        return;
    for (int m = 1; m <= 12; ++m) {
        const auto& a = MainState.Month[static_cast<size_t>(m)];
        const std::string& picture = Module1.MonthImageFile[static_cast<size_t>(m)];
        const bool go = op.step(2, [&] {
            const bool adding = DataSettings.eof();
            if (adding) DataSettings.addNew(); else DataSettings.edit();
            if (!picture.empty()) DataSettings.setField("ImageFileName", db::Text(picture));
            DataSettings.setField("DayFG", db::Int(a.DayFG));
            DataSettings.setField("DayBG", db::Int(a.DayBG));
            DataSettings.setField("TitleFG", db::Int(a.TitleFG));
            DataSettings.setField("TitleBG", db::Int(a.TitleBG));
            DataSettings.setField("DayFntName", db::Text(a.DayFntName));
            DataSettings.setField("DayFntSiz", db::Value{a.DayFntSiz.toDouble()});
            DataSettings.setField("DayFntBold", db::Bool(a.DayFntBold));
            DataSettings.setField("DayFntItalic", db::Bool(a.DayFntItalic));
            DataSettings.setField("DayFntUndrLn", db::Bool(a.DayFntUndrLn));
            DataSettings.setField("DayFntStrkThr", db::Bool(a.DayFntStrkThr));
            DataSettings.setField("TitleFntName", db::Text(a.TitleFntName));
            DataSettings.setField("TitleFntSiz", db::Value{a.TitleFntSiz.toDouble()});
            DataSettings.setField("TitleFntBold", db::Bool(a.TitleFntBold));
            DataSettings.setField("TitleFntItalic", db::Bool(a.TitleFntItalic));
            DataSettings.setField("TitleFntUndrLn", db::Bool(a.TitleFntUndrLn));
            DataSettings.setField("TitleFntStrkThr", db::Bool(a.TitleFntStrkThr));
            DataSettings.update();
            // An added row goes to the end; stay past it so the next month adds too.
            if (adding) DataSettings.moveLast();
            DataSettings.moveNext();
        });
        if (!go || op.lastError() != 0) break;  // one box, not one per month
    }
    if (tx) op.step(3, [&] { tx->commit(); });
    tx.reset();  // an uncommitted save is rolled back while the source still holds the file
    DataSettings.close();
}

}  // namespace vm
