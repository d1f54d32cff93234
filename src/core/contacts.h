// The contact list's rules without a window: the columns of [People], the
// contact card, the list's queries, and the text file the list is written to
// and read back from.
#pragma once
#include <array>
#include <string>
#include <vector>

namespace vm {

// The columns of [People] after [ID], in table order (positions 1 to 16).
constexpr int kContactFields = 16;
extern const std::array<const char*, kContactFields> kPeopleColumns;
// Their grid captions, same order.
extern const std::array<const char*, kContactFields> kPeopleCaptions;
// The kinds of telephone number the Type columns offer.
extern const std::array<const char*, 4> kTypeValueList;

// One contact: the texts of positions 1..16 (a Null field is an empty text).
using ContactRow = std::array<std::string, kContactFields>;

// The card of one contact: lines joined by CR LF, no line break after the last.
std::string ContactCard(const ContactRow& c);

// The list's queries. The search condition has one "?" the typed text is bound to.
constexpr const char* kPeopleSelect = "SELECT * FROM [People]";
constexpr const char* kPeopleOrder = " ORDER BY [FirstName] COLLATE FOLDED,[LastName] COLLATE FOLDED,[ID]";
constexpr const char* kPeopleSearchOrder = " ORDER BY [FirstName] COLLATE FOLDED,[ID]";
std::string PeopleSearchWhere();

// ---------------------------------------------------------------- the file

// The two label lines at the head of an export file.
extern const char* const kContactHeader1;
extern const char* const kContactHeader2;

// One contact's line (without line end): "1" and the sixteen values, each in
// double quotes, commas written as "++", line breaks as blanks.
std::string ContactExportLine(const ContactRow& c);

enum class ContactFileKind { Records = 1, Cards = 2 };

// Writes the file: kind Records the two label lines and one line per contact,
// kind Cards each contact's card followed by an empty line; CR LF line ends.
// Returns the number of contacts written; throws std::runtime_error when the
// file cannot be written. The file is put in place only once it is whole
// (WholeFileWriter): a failed write leaves a file that had the name as it was.
int WriteContactFile(const std::string& path, ContactFileKind kind, const std::vector<ContactRow>& rows);

// What reading a line gave.
struct ContactLine {
    enum Kind { Contact, Ignored, Malformed } kind = Ignored;
    std::vector<std::string> values;  // positions 1.. with "++" made ","
};
// Reads one line of a contact file: label lines ("**") and lines without a
// comma are ignored; double quotes are dropped; a first value that is not a
// number, or more than sixteen values after it, makes it malformed; a first
// value other than 1 is ignored.
ContactLine ReadContactLine(const std::string& line);

struct ContactImport {
    int added = 0;
    std::vector<int> skippedLines;  // malformed, or holding a value a column cannot hold
};
// Adds the contacts of a file to [People] of the settings database at dbPath.
// Throws std::runtime_error, adding none, when the file is no regular file
// (refused before it is opened), cannot be read, or holds a line longer than
// kLongestImportLine.
ContactImport ImportContactFile(const std::string& dbPath, const std::string& filePath);

// The box text naming the lines an import passed over ("" when none).
std::string SkippedLinesText(const std::vector<int>& lines);

}  // namespace vm
