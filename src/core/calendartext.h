// The calendar export file: two header lines beginning "**", then one line of
// quoted, comma-separated values per date record. The writer, the line reader
// (quotes doubled inside a value, stray quotes taken as they stand; LF, CR and
// CR LF line ends), the field encodings both ways, the byte decoding of an
// imported file (UTF-8, Windows-1252 or UTF-16, read in pieces) and the
// checks every imported line passes before anything of it is stored.
#pragma once
#include <array>
#include <cstdio>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
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
// in UTF-8. Returns the number of records written. The file is put in place
// only once it is whole (WholeFileWriter): throws OpError when it cannot be
// written, leaving a file that had the name as it was. progress(rowsDone,
// rowsTotal) is called as rows are written; when it answers false the export
// stops, nothing is put in place and -1 is returned.
int64_t WriteCalendarExport(const std::string& path, db::RecordSource& rs, const ExportBoxes& boxes,
                            const std::function<bool(int64_t, int64_t)>& progress = {});

// ---------------------------------------------------------------- reading

// The longest line an imported text file is read with: a calendar record's
// quoted value spans lines up to this size, and a contact list whose line
// runs past it is no contact list (a file without line breaks).
inline constexpr size_t kLongestImportLine = size_t{1} << 20;

// How the bytes of an import file are text: UTF-8 (a byte-order mark
// dropped), else Windows-1252; UTF-16 little or big endian when it begins
// with its byte-order mark (or, without one, when the high byte of most
// characters at its start is zero).
enum class ImportEncoding { Utf8, Windows1252, Utf16LE, Utf16BE };

// The file's bytes as UTF-8 text, by the rules above.
std::string DecodeImportBytes(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);
// A line as UTF-8 text: as it stands when it is valid UTF-8, else read as
// Windows-1252 (the one decoder of the imports' old single-byte files).
std::string LineAsUtf8(std::string_view line);

// Whether the start of a file (its first 64 KB or so) looks like text in the
// encoding found for it: at least as many of its lines hold only text as hold
// a zero byte or another control character. Random bytes and programs are
// not text; a text with a few bad lines is.
bool LooksLikeText(std::string_view start, ImportEncoding encoding);
// False for a zero byte and the control characters a text never holds (tab,
// line ends, form feed and the old end-of-file mark are text).
inline bool IsTextByte(unsigned char b) {
    return b >= 0x20 ? b != 0x7F : b == '\t' || b == '\n' || b == '\r' || b == '\f' || b == 0x1A;
}
// The encoding the start of a file shows (UTF-8 until the whole file is
// known not to be valid UTF-8).
ImportEncoding SniffEncoding(std::string_view start);

// UTF-16 bytes as UTF-8 text, piece by piece (a character cut between two
// pieces is joined again); a leading byte-order mark is dropped, a lone
// surrogate becomes U+FFFD.
class Utf16Decoder {
public:
    explicit Utf16Decoder(ImportEncoding e) : encoding_(e) {}
    void decode(std::string_view bytes, std::string& out);
    void finish(std::string& out);

private:
    void unit(char16_t u, std::string& out);
    ImportEncoding encoding_;
    int pendingByte_ = -1;
    char16_t high_ = 0;
    bool first_ = true;
};

// An import file read in pieces as UTF-8 text, never whole in memory.
class ImportTextFile {
public:
    // Opens the file and finds its encoding (a first pass over the whole file
    // tells UTF-8 from Windows-1252). Throws OpError when it cannot be read.
    // A file not valid UTF-8 all through is read line by line (LineAsUtf8):
    // one line written in Windows-1252 leaves the UTF-8 lines as they are.
    explicit ImportTextFile(const std::string& path);
    ~ImportTextFile();
    ImportTextFile(const ImportTextFile&) = delete;
    ImportTextFile& operator=(const ImportTextFile&) = delete;
    bool isText() const { return isText_; }
    ImportEncoding encoding() const { return encoding_; }
    int64_t size() const { return size_; }
    int64_t bytesRead() const { return read_; }
    // Appends the next piece of text to `out`; false at the end of the file.
    bool read(std::string& out);

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    ImportEncoding encoding_ = ImportEncoding::Utf8;
    std::optional<Utf16Decoder> utf16_;
    std::string partLine_;  // Windows-1252: the bytes of a line the last piece began
    bool isText_ = true, atStart_ = true, done_ = false;
    int64_t size_ = 0, read_ = 0;
};

// Splits a text into records of values. A value that starts with a double
// quote runs to the quote that is followed by a comma, a line end or the end
// of the text; "" inside it is one quote, any other quote is kept as it
// stands (a stray quote, as older exports wrote them), and line ends inside
// it belong to the value. A quote that is never closed ends at its line end
// (and from then on no value spans lines). Values without a leading quote
// run to the next comma or line end.
//
// The text may come in pieces: with `more` set, a record that reaches the
// end of the piece is not read; next() then returns false and unread() tells
// where the next piece has to start (the line count carries on).
class CalendarLineReader {
public:
    // The reader keeps a view of the text: the text must outlive it.
    explicit CalendarLineReader(std::string_view text, bool more = false) : t_(text), more_(more) {}
    explicit CalendarLineReader(std::string&&, bool = false) = delete;
    // The next piece of a text read in pieces.
    void setText(std::string_view text, bool more) {
        t_ = text;
        more_ = more;
        pos_ = 0;
    }
    // The next record's values; false at the end of the text (or piece).
    bool next(std::vector<std::string>& values);
    // The part of the piece not read yet.
    std::string_view unread() const { return t_.substr(pos_); }
    // From here on a quote that is not closed on its own line is taken as never closed.
    void stopSpanningLines() { spanLines_ = false; }
    // 1-based number of the line the last record began on.
    int64_t lineNumber() const { return recordLine_; }
    // 1-based number of the line the unread text begins on.
    int64_t unreadLine() const { return line_; }
    // Whether the last record held a stray quote inside a quoted value.
    bool hadStrayQuote() const { return strayQuote_; }
    // Reads the first line of the last record again the plain way (every
    // double quote removed, values split at every comma) and goes on after
    // that line.
    void rereadFirstLinePlain(std::vector<std::string>& values);

private:
    enum class Read { Done, Unclosed, Short };
    Read readRecord(std::vector<std::string>& values, bool spanLines);
    bool lineBreak(std::string* into);
    std::string_view t_;
    bool more_ = false;
    size_t pos_ = 0, recordStart_ = 0;
    int64_t line_ = 1;
    int64_t recordLine_ = 0;
    bool spanLines_ = true;
    bool strayQuote_ = false;
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

// Reads "9:05 AM" (hour 0..24, kept as written, minute 0..59, the AM/PM
// text with its zone suffix) or a 24-hour "14:30" (taken as 2:30 PM); an empty text is no time
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

// Checks one line's values and converts them. Skipped: a header line ("**"),
// a line of one value, a line whose first value is "1" (a contact line).
// Rejected: a line holding a zero byte or a control character (whatever else
// it is), no readable date (read as a typed date: "M/D/Y" with two-digit
// years in 1930..2029, or "YYYY-MM-DD") or an unreadable time. Sound File#
// and Priority take their leading number (0 when none; a priority is kept within 0..255);
// a Yes/No or Repeat Periods value that cannot be read leaves its field
// empty, and a text longer than its column is cut to the column's length.
LineResult ReadImportLine(const std::vector<std::string>& values, const FieldPositions& positions);

struct RejectedLine {
    int64_t line = 0;
    std::string reason;
};

// The lines of an import, one at a time: each line read with quotes, and read
// again the plain way (every quote removed) when that reading is rejected or
// met a stray quote.
class ImportLineParser {
public:
    explicit ImportLineParser(const FieldPositions& positions) : positions_(positions) {}
    // Reads the records of a text or of the pieces of one; calls onRecord for
    // each record, onRejected for each rejected line.
    template <class OnRecord, class OnRejected>
    bool next(CalendarLineReader& reader, OnRecord&& onRecord, OnRejected&& onRejected) {
        if (!reader.next(values_)) return false;
        LineResult r = Read(reader);
        if (r.verdict == LineVerdict::Record) onRecord(r.record);
        else if (r.verdict == LineVerdict::Rejected) onRejected(RejectedLine{reader.lineNumber(), std::move(r.reason)});
        return true;
    }

private:
    LineResult Read(CalendarLineReader& reader);
    FieldPositions positions_;
    std::vector<std::string> values_, plain_;
};

struct ParsedImport {
    std::vector<ImportedRecord> records;
    std::vector<RejectedLine> rejected;
};
ParsedImport ParseCalendarImport(std::string_view text, const FieldPositions& positions);

// Adds records to [Velmora] in one transaction: all of them or none (the
// transaction is rolled back unless commit() is reached).
class ImportedRecordWriter {
public:
    explicit ImportedRecordWriter(db::Database& db);
    ~ImportedRecordWriter();
    void add(const ImportedRecord& r);
    int64_t commit();

private:
    db::Database& db_;
    std::unique_ptr<db::Transaction> tx_;
    std::optional<db::Statement> insert_;
    int64_t count_ = 0;
};
int64_t StoreImportedRecords(db::Database& db, const std::vector<ImportedRecord>& records);

// A text file imported into [Velmora] without holding the file in memory:
// read in pieces, every line checked, the records added in one transaction.
struct TextImportResult {
    bool isText = true;     // false: the file is not a text file, nothing was read
    bool cancelled = false; // the progress was cancelled: nothing was kept
    int64_t imported = 0;
    std::vector<RejectedLine> rejected;  // the first kListedRejected of them
    int64_t rejectedCount = 0;
};
inline constexpr size_t kListedRejected = 20;
// progress(bytesDone, bytesTotal) is called as the file is read; false cancels.
// Throws OpError when the file cannot be read; a store failure rolls back.
TextImportResult ImportCalendarText(const std::string& path, db::Database& db, const FieldPositions& positions,
                                    const std::function<bool(int64_t, int64_t)>& progress = {});

// The one message that lists the rejected lines: at most kListedRejected of
// them by number, then "and N more". `total` counts all rejected lines
// (0: as many as listed).
std::string RejectedLinesMessage(const std::vector<RejectedLine>& rejected, int64_t total = 0);

// The extension of a path's file name: the text after its last ".", in lower
// case ("" when the name has no dot).
std::string ImportFileExtension(std::string_view path);

}  // namespace vm
