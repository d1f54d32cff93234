// The calendar export file: two header lines beginning "**", then one line of
// quoted, comma-separated values per date record. The writer, the line reader
// (quotes doubled inside a value, stray quotes taken as they stand; LF, CR and
// CR LF line ends), the field encodings both ways, the byte decoding of an
// imported file (UTF-8, else Windows-1252) and the checks every imported line
// passes before anything of it is stored.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sqlstore.h"

namespace vm {

// ---------------------------------------------------------------- export

// The export boxes 0..14 (6 and 7 are hidden and write nothing).
inline constexpr int kExportBoxCount = 15;
using ExportBoxes = std::array<bool, kExportBoxCount>;

// Line 1 (the legend, 207 characters) and line 2 ("**" and 110 "-").
const std::string& ExportLegendLine();
const std::string& ExportRuleLine();

// Field encodings of the file.
std::string EncodeDateText(std::string_view text);  // "," -> "++", each line break -> "[]"
std::string DecodeDateText(std::string_view text);  // "++" -> ",", then "[]" -> CR LF
std::string EncodeAlarm(std::string_view alarm);    // "," -> "-", blanks at both ends removed
// "-" after a digit goes back to ","; a "-" that starts a value stays a sign
// ("15--10" -> "15,-10").
std::string DecodeAlarm(std::string_view alarm);
std::string EncodeFont(std::string_view font);      // "," -> ";"
std::string DecodeFont(std::string_view font);      // ";" -> ","

// value between double quotes, each quote inside it doubled.
void AppendQuoted(std::string& line, std::string_view value);

// Column indexes of a record source, looked up once per export.
struct ExportColumns {
    int Hide = -1, Date = -1, Hour = -1, Minute = -1, AM_PM = -1, DateText = -1, Duration = -1, Repeat = -1,
        DateType = -1, WorkDay = -1, Alarm = -1, SoundNum = -1, Font = -1, DayColors = -1, Priority = -1;
};
ExportColumns FindExportColumns(const db::RecordSource& rs);

// The text box `box` writes for the current row.
std::string ExportFieldText(const db::RecordSource& rs, const ExportColumns& cols, int box);
// The current row's line, without its line end.
std::string ExportLine(const db::RecordSource& rs, const ExportColumns& cols, const ExportBoxes& boxes);

// Writes the file at path (replacing it): the two header lines, then one
// line per row of rs from its first to its end, every line ended by CR LF,
// in UTF-8. Returns the number of records written. Throws OpError when the
// file cannot be written; the header lines are on disk before the first row.
int64_t WriteCalendarExport(const std::string& path, db::RecordSource& rs, const ExportBoxes& boxes);

// ---------------------------------------------------------------- reading

// The file's bytes as UTF-8 text: valid UTF-8 as it is (a byte-order mark
// dropped), anything else read as Windows-1252.
std::string DecodeImportBytes(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

// Splits a text into records of values. A value that starts with a double
// quote runs to the quote that is followed by a comma, a line end or the end
// of the text; "" inside it is one quote, any other quote is kept as it
// stands, and line ends inside it belong to the value. A quote that is never
// closed ends at its line end (and from then on no value spans lines).
// Values without a leading quote run to the next comma or line end.
class CalendarLineReader {
public:
    // The reader keeps a view of the text: the text must outlive it.
    explicit CalendarLineReader(std::string_view text) : t_(text) {}
    explicit CalendarLineReader(std::string&&) = delete;
    // The next record's values; false at the end of the text.
    bool next(std::vector<std::string>& values);
    // 1-based number of the line the last record began on.
    int64_t lineNumber() const { return recordLine_; }

private:
    bool readRecord(std::vector<std::string>& values, bool spanLines);
    void lineBreak(std::string* into);
    std::string_view t_;
    size_t pos_ = 0;
    int64_t line_ = 1;
    int64_t recordLine_ = 0;
    bool spanLines_ = true;
};

// ---------------------------------------------------------------- import

// The import fields 0..12: Hide, Date, Time, DateText, Duration, Repeat,
// DateType, WorkDay, Alarm, SoundNum, Font, DayColors, Priority. Position p
// (1 or more) names the p-th value of a line; 0 or less: not imported.
inline constexpr int kImportFieldCount = 13;
using FieldPositions = std::array<int, kImportFieldCount>;
FieldPositions DefaultFieldPositions();  // 1..13, the order of a full export
// The position a field box's text names: its leading number, rounded ("N/A" gives 0).
int FieldPositionOf(std::string_view boxText);

// Reads "9:05 AM" (hour 0..12, minute 0..59, the AM/PM text with its zone
// suffix) or a 24-hour "14:30" (taken as 2:30 PM); an empty text is no time
// (0, 0, ""). False, leaving the outputs reset, for anything else.
bool ParseTimeText(std::string_view text, int16_t& Hour, int16_t& Minute, std::string& AM_PM);

// One imported record, every column it sets (a Null value leaves the column empty).
struct ImportedRecord {
    db::Value Hide, Date, JulDate, Hour, Minute, AM_PM, Hr24, DateText, Duration, Repeat, DateType, WorkDay, Alarm,
        SoundNum, Font, DayColors, Priority;
};

enum class LineVerdict { Record, Skipped, Rejected };
struct LineResult {
    LineVerdict verdict = LineVerdict::Skipped;
    ImportedRecord record;
    std::string reason;  // why a line was rejected
};

// Checks one line's values whole and converts them. Skipped: a header line
// ("**"), a line of one value, a line whose first value is "1" (a contact
// line). Rejected: no readable date, an unreadable time, a number that is no
// number, a priority outside 0..255, a text too long for its column.
LineResult ReadImportLine(const std::vector<std::string>& values, const FieldPositions& positions);

struct RejectedLine {
    int64_t line = 0;
    std::string reason;
};
struct ParsedImport {
    std::vector<ImportedRecord> records;
    std::vector<RejectedLine> rejected;
};
ParsedImport ParseCalendarImport(std::string_view text, const FieldPositions& positions);

// Adds the records to [Velmora] in one transaction: all of them or none.
int64_t StoreImportedRecords(db::Database& db, const std::vector<ImportedRecord>& records);

// The one message that lists the rejected lines (at most 30 of them by number).
std::string RejectedLinesMessage(const std::vector<RejectedLine>& rejected);

// The extension of a path's file name: the text after its last ".", in lower
// case ("" when the name has no dot).
std::string ImportFileExtension(std::string_view path);

}  // namespace vm
