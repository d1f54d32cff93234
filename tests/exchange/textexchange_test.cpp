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
};

TEST_F(TextExchange, ExportWritesTheListedRowsAndOpensTheFile) {
    QWidget* panel = Find<QWidget>("SSPanelExport");
    EXPECT_FALSE(panel->isVisible());
    w->findChild<QAction*>("mnuFile_Export_Data")->trigger();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(Find<QCheckBox>("SSCheck1_6")->isVisible());
    EXPECT_FALSE(Find<QCheckBox>("SSCheck1_7")->isVisible());
    EXPECT_EQ(Find<QCheckBox>("SSCheck1_0")->text(), "Hide  Y/N");

    // Only the date, the text and the alarms.
    for (int i = 0; i < 15; ++i) Find<QCheckBox>(QString("SSCheck1_%1").arg(i))->setChecked(i == 1 || i == 3 || i == 10);
    const std::string out = dir + "/feb.txt";
    fx.messages.fileAnswers.push_back(out);
    Click("sscmdExportFields");

    // The data folder existed already: no box but the closing one.
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Export Complete");
    EXPECT_EQ(fx.messages.shown[0].text, "2 Records Exported ");
    ASSERT_EQ(fx.messages.dialogs.size(), 1u);
    EXPECT_TRUE(fx.messages.dialogs[0].save);
    EXPECT_EQ(fx.messages.dialogs[0].title, "Create Calendar Export File");
    const std::string bytes = vmtest::ReadAll(out);
    const std::string body = bytes.substr(bytes.find("\r\n**") + 4 + 110 + 2);
    EXPECT_EQ(body,
              "\"2/3/2026\",\"Dentist++ 2nd floor\",\"15--10\"\r\n"
              "\"2/14/2026\",\"Valentine\",\"15--10\"\r\n");
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_NE(opener.opened[0].find("feb.txt"), std::string::npos);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(Find<QPushButton>("sscmdExportFields")->isEnabled());
}

TEST_F(TextExchange, MissingDataFolderIsMadeQuietly) {
    const std::string data = dir + "/NewData";
    setenv("VELMORA_DATA_DIR", data.c_str(), 1);  // the fixture puts the old one back
    w->mnuFile_Export_Data_Click();
    fx.messages.fileAnswers.push_back(dir + "/out.txt");
    Click("sscmdExportFields");
    EXPECT_TRUE(std::filesystem::is_directory(data));
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Export Complete");
    EXPECT_EQ(fx.messages.dialogs.at(0).initialDir, data);
}

TEST_F(TextExchange, CancelledSaveDialogKeepsThePanel) {
    w->mnuFile_Export_Data_Click();
    Click("sscmdExportFields");  // the fake answers "": cancelled
    EXPECT_TRUE(fx.messages.shown.empty());
    EXPECT_TRUE(Find<QWidget>("SSPanelExport")->isVisible());
    EXPECT_TRUE(opener.opened.empty());
}

TEST_F(TextExchange, AllNoneSwitchesTheFirstTwelveBoxes) {
    w->mnuFile_Export_Data_Click();
    auto* all = Find<QCheckBox>("sschxAll_None");
    Find<QCheckBox>("SSCheck1_13")->setChecked(true);
    Find<QCheckBox>("SSCheck1_12")->setChecked(false);
    all->click();  // off
    for (int i = 0; i <= 11; ++i) EXPECT_FALSE(Find<QCheckBox>(QString("SSCheck1_%1").arg(i))->isChecked()) << i;
    EXPECT_TRUE(Find<QCheckBox>("SSCheck1_13")->isChecked());
    all->click();  // on
    for (int i = 0; i <= 11; ++i) EXPECT_TRUE(Find<QCheckBox>(QString("SSCheck1_%1").arg(i))->isChecked()) << i;
    EXPECT_FALSE(Find<QCheckBox>("SSCheck1_12")->isChecked());
}

TEST_F(TextExchange, ImportDispatchByExtension) {
    struct Case {
        std::string name;
        bool panel;
        bool refused;
    } cases[] = {
        {"report.old.txt", true, false}, {"plain.CSV", true, false}, {".csv", true, false},
        {"notes.doc", false, true},      {"noext", false, true},
    };
    for (const Case& c : cases) {
        const std::string sub = vmtest::MakeTempDir("velmora-a.b");  // a dot in the folder name
        const std::string path = sub + "/" + c.name;
        vmtest::WriteAll(path, "");
        Find<QWidget>("SSPanelImport")->hide();
        fx.messages.clear();
        fx.messages.fileAnswers.push_back(path);
        w->findChild<QAction*>("mnuFile_Import")->trigger();
        EXPECT_EQ(Find<QWidget>("SSPanelImport")->isVisible(), c.panel) << c.name;
        EXPECT_EQ(Box("Invalid File Selected") != nullptr, c.refused) << c.name;
    }
    auto* box = Find<QComboBox>("Combo1_12");
    EXPECT_EQ(box->currentText(), " 13");
    ASSERT_EQ(box->count(), 15);
    EXPECT_EQ(box->itemText(0), "N/A");
    EXPECT_EQ(box->itemText(1), " 1");
    EXPECT_EQ(box->itemText(14), "N/A");
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
    EXPECT_EQ(db::AsText(Query("SELECT [DateText] FROM [Velmora] WHERE [ID] = 4")), "Caf\xC3\xA9, open\r\nlate");
    auto d = db::Database::Open(calendar);
    auto st = d->prepare("SELECT [Alarm],[Font],[Hr24],[JulDate],[Priority],[SoundNum] FROM [Velmora] WHERE [ID] = 4");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(db::AsText(st.column(0)), "15,-10");
    EXPECT_EQ(db::AsText(st.column(1)), "Arial, 12,True,False");
    EXPECT_EQ(db::AsInt(st.column(2)), 15);
    EXPECT_EQ(db::AsInt(st.column(3)), 2026051);
    EXPECT_EQ(db::AsInt(st.column(4)), 9);
    EXPECT_EQ(db::AsInt(st.column(5)), 4);

    const auto* rejected = Box("Lines Not Imported");
    ASSERT_NE(rejected, nullptr);
    EXPECT_NE(rejected->text.find("Line 5:"), std::string::npos) << rejected->text;
    EXPECT_NE(rejected->text.find("Line 6:"), std::string::npos) << rejected->text;
    const auto* done = Box("Import Complete");
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->text, "1 Records Imported ");
    EXPECT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_FALSE(Find<QWidget>("SSPanelImport")->isVisible());
    EXPECT_TRUE(Find<QPushButton>("sscmdImport")->isEnabled());
    // The shown month is built again: the imported record is in its cell (Friday 20 February: cell 19).
    EXPECT_NE(w->findChild<QLabel*>("lblDay_19")->text().toStdString().find("Caf\xC3\xA9"), std::string::npos);
}

TEST_F(TextExchange, MissingImportFileIsReported) {
    const std::string file = dir + "/gone.txt";
    vmtest::WriteAll(file, "");
    fx.messages.fileAnswers.push_back(file);
    w->mnuFile_Import_Click();
    std::remove(file.c_str());
    fx.messages.answers.push_back(vm::MsgResult::Cancel);
    Click("sscmdImport");
    const auto* err = Box("sscmdImport_Error");
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(err->text.rfind("53 - ", 0), 0u) << err->text;
    EXPECT_EQ(Box("Import Complete")->text, "0 Records Imported ");
    EXPECT_EQ(Count(), 3);
}

}  // namespace
