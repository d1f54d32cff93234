// A contract database as the contract program keeps it, for the tests: two
// projects (one numbered 40000, one with an apostrophe) and status items with
// dates as ISO text, month-first text, a day number, Null, empty, zero and
// unreadable text, and one item whose project is missing.
#pragma once
#include <string>

#include "platform/sqlstore.h"
#include "testsupport.h"

namespace vmtest {

inline std::string MakeContractFile() {
    const std::string path = MakeTempDir("velmora-con") + "/Jobs.con";
    auto con = vm::db::Database::Create(path);
    con->exec("CREATE TABLE [Project] ([Proj_Num] INTEGER, [Proj_Desc] TEXT, [New_Proj] TEXT, [Budget] REAL)");
    con->exec("CREATE TABLE [Project_Status] ([ID] INTEGER PRIMARY KEY, [Proj_Num] INTEGER, [Status_Item] TEXT,"
              " [Status_Date] , [Note] TEXT)");
    con->exec("INSERT INTO [Project] VALUES (40000, 'O''Brien Bridge', 'P-7', 1.5), (12, 'Main Street', 'P-1', 2)");
    con->exec(
        "INSERT INTO [Project_Status] ([Proj_Num], [Status_Item], [Status_Date]) VALUES "
        "(40000, 'Pour', '2026-03-15'),"
        "(40000, 'Inspect', '3/2/2026'),"
        "(12, 'Pour', '2026-07-04 10:00:00'),"
        "(999, 'Survey', '2026-12-01'),"
        "(12, 'Pour', NULL),"
        "(12, 'Pour', ''),"
        "(12, 'Pour', 0),"
        "(12, 'Owner''s walk', 46027),"
        "(12, 'Pour', 'next week')");
    return path;
}

}  // namespace vmtest
