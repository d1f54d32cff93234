// The export panel, the import command and the import panel on the real main
// window, headless: dialogs answered by the message fake, the desktop's open
// handler by its recording fake, results read back from the file and the store.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include <filesystem>
#include <tuple>

#include "exchangewindow.h"

namespace db = vm::db;

namespace {

class TextExchange : public vmtest::ExchangeWindow {
protected:
    void AddRecords() override {
        auto st = db::Database::Open(calendar)->prepare(
            "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Duration],[WorkDay],"
            "[Alarm],[SoundNum],[Priority]) VALUES (0,?,?,?,?,?,?,0,-1,'15,-10',2,5)");
        for (const auto& [iso, jul, hour, minute, ampm, text] :
             {std::tuple{"2026-02-03", 2026034, 9, 5, "AM", "Dentist, 2nd floor"},
              std::tuple{"2026-02-14", 2026045, 7, 30, "PM", "Valentine"},
              std::tuple{"2026-03-01", 2026060, 0, 0, "AM", "Next month"}}) {
            st.bindAll({db::Text(iso), db::Int(jul), db::Int(hour), db::Int(minute), db::Text(ampm), db::Text(text)});
            st.run();
            st.reset();
        }
    }
    int64_t Count() { return db::AsInt(Query("SELECT count(*) FROM [Velmora]")); }
    QCheckBox* Field(int i) { return Find<QCheckBox>(QString("SSCheck1_%1").arg(i)); }
};

TEST_F(TextExchange, ExportWritesTheListedRowsAndOpensTheFile) {
    const std::string data = dir + "/NewData";  // a data folder not there yet is made quietly
    setenv("VELMORA_DATA_DIR", data.c_str(), 1);  // the fixture puts the old one back
    QWidget* panel = Find<QWidget>("SSPanelExport");
    EXPECT_FALSE(panel->isVisible());
    w->findChild<QAction*>("mnuFile_Export_Data")->trigger();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(Field(6)->isVisible());
    EXPECT_FALSE(Field(7)->isVisible());
    // All / None switches the first twelve boxes only.
    Field(13)->setChecked(true);
    Find<QCheckBox>("sschxAll_None")->click();  // off
    for (int i = 0; i <= 11; ++i) EXPECT_FALSE(Field(i)->isChecked()) << i;
    EXPECT_TRUE(Field(13)->isChecked());

    // Only the date, the text and the alarms.
    for (int i = 0; i < 15; ++i) Field(i)->setChecked(i == 1 || i == 3 || i == 10);
    const std::string out = dir + "/feb.txt";
    fx.messages.fileAnswers.push_back(out);
    Click("sscmdExportFields");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Export Complete");
    EXPECT_EQ(fx.messages.shown[0].text, "2 Records Exported ");
    ASSERT_EQ(fx.messages.dialogs.size(), 1u);
    EXPECT_TRUE(fx.messages.dialogs[0].save);
    EXPECT_EQ(fx.messages.dialogs[0].initialDir, data);
    EXPECT_TRUE(std::filesystem::is_directory(data));
    const std::string bytes = vmtest::ReadAll(out);
    EXPECT_EQ(bytes.substr(bytes.find("\r\n**") + 4 + 110 + 2),
              "\"2/3/2026\",\"Dentist++ 2nd floor\",\"15--10\"\r\n"
              "\"2/14/2026\",\"Valentine\",\"15--10\"\r\n");
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_NE(opener.opened[0].find("feb.txt"), std::string::npos);
    EXPECT_FALSE(panel->isVisible());

    // Again, now that the data folder exists: still no box but the closing one.
    fx.messages.clear();
    w->mnuFile_Export_Data_Click();
    fx.messages.fileAnswers.push_back(dir + "/again.txt");
    Click("sscmdExportFields");
    EXPECT_EQ(fx.messages.shown.size(), 1u);
}

TEST_F(TextExchange, ImportDispatchByExtension) {
    for (const auto& [name, shown] : std::vector<std::pair<std::string, bool>>{
             {"report.old.txt", true}, {"plain.CSV", true}, {".csv", true}, {"notes.doc", false}, {"noext", false}}) {
        const std::string path = vmtest::MakeTempDir("velmora-a.b") + "/" + name;  // a dot in the folder name
        vmtest::WriteAll(path, "");
        Find<QWidget>("SSPanelImport")->hide();
        fx.messages.clear();
        fx.messages.fileAnswers.push_back(path);
        w->findChild<QAction*>("mnuFile_Import")->trigger();
        EXPECT_EQ(Find<QWidget>("SSPanelImport")->isVisible(), shown) << name;
        EXPECT_EQ(Box("Invalid File Selected") == nullptr, shown) << name;
    }
    EXPECT_EQ(Find<QComboBox>("Combo1_12")->currentText(), " 13");
}

TEST_F(TextExchange, ImportStoresGoodLinesAndReportsTheOthers) {
    const std::string file = dir + "/in.txt";
    // Windows-1252 bytes, CR line ends, a header, a contact line and two bad lines.
    vmtest::WriteAll(file,
                     "**0Hide, 1Date\r**---\r"
                     "\"False\",\"2/20/2026\",\"3:15 PM\",\"Caf\xE9++ open[]late\",\"0\",\"\",\"Event\",\"True\","
                     "\"15--10\",\"4\",\"Arial; 12;True;False\",\"0;16777215;0;16777215;3;3\",\"9\"\r"
                     "1,Smith,John\r"
                     "\"False\",\"2/31/2026\",\"\",\"no such day\",\"0\",\"\",\"\",\"True\",\"\",\"0\",\"\",\"\",\"1\"\r"
                     "\"False\",\"2/21/2026\",\"\",\"too important\",\"0\",\"\",\"\",\"True\",\"\",\"0\",\"\",\"\",\"999\"\r");
    fx.messages.fileAnswers.push_back(file);
    w->mnuFile_Import_Click();
    ASSERT_TRUE(Find<QWidget>("SSPanelImport")->isVisible());
    Click("sscmdImport");

    ASSERT_EQ(Count(), 4);
    EXPECT_EQ(db::AsText(Query("SELECT [DateText]||'|'||[Alarm]||'|'||[Font]||'|'||[Hr24]||'|'||[JulDate]||'|'||"
                               "[Priority]||'|'||[SoundNum] FROM [Velmora] WHERE [ID] = 4")),
              "Caf\xC3\xA9, open\r\nlate|15,-10|Arial, 12,True,False|15|2026051|9|4");

    const auto* rejected = Box("Lines Not Imported");
    ASSERT_NE(rejected, nullptr);
    EXPECT_NE(rejected->text.find("Line 5:"), std::string::npos) << rejected->text;
    EXPECT_NE(rejected->text.find("Line 6:"), std::string::npos) << rejected->text;
    EXPECT_EQ(Box("Import Complete")->text, "1 Records Imported ");
    EXPECT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_FALSE(Find<QWidget>("SSPanelImport")->isVisible());
    // The shown month is built again: the imported record is in its cell (Friday 20 February: cell 19).
    EXPECT_NE(Find<QLabel>("lblDay_19")->text().toStdString().find("Caf\xC3\xA9"), std::string::npos);

    // A file gone before the import starts is reported, and nothing changes.
    fx.messages.clear();
    fx.messages.fileAnswers.push_back(file);
    w->mnuFile_Import_Click();
    std::remove(file.c_str());
    fx.messages.answers.push_back(vm::MsgResult::Cancel);
    Click("sscmdImport");
    const auto* err = Box("sscmdImport_Error");
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(err->text.rfind("53 - ", 0), 0u) << err->text;
    EXPECT_EQ(Box("Import Complete")->text, "0 Records Imported ");
    EXPECT_EQ(Count(), 4);
}

}  // namespace