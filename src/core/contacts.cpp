#include "core/contacts.h"


#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "core/calendartext.h"
#include "core/numtext.h"
#include "core/writeguard.h"
#include "platform/datagrid.h"
#include "platform/places.h"
#include "platform/sqlstore.h"

namespace vm {

const std::array<const char*, kContactFields> kPeopleColumns = {
    "Relationship", "FirstName", "MI",     "LastName", "Address1", "Address2", "City",   "State",
    "ZipCode",      "Country",   "Phone1", "Type1",    "Phone2",   "Type2",    "E-mail", "OtherInfo"};

const std::array<const char*, kContactFields> kPeopleCaptions = {
    "Relationship", "First Name", "MI",       "Last Name", "Address 1", "Address 2", "City",   "State",
    "ZipCode",      "Country",    "Phone #1", "Type 1",    "Phone #2",  "Type 2",    "E-mail", "Other Information"};

const std::array<const char*, 4> kTypeValueList = {"Cell", "Fax", "Home Phone", "Work Phone"};

const char* const kContactHeader1 =
    "** FirstName, MI, LastName, Address1, Address2, City, State, ZipCode, Country, Phone1, Type1, Phone2, "
    "Type2, E-mail, OtherInfo";
const char* const kContactHeader2 =
    "**------------------------------------------------------------------------------------------";

namespace {

enum { kRelationship, kFirst, kMI, kLast, kAddr1, kAddr2, kCity, kState, kZip, kCountry,
       kPhone1, kType1, kPhone2, kType2, kEmail, kOther };

std::string ReplaceAll(std::string s, const std::string& from, const std::string& to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
    return s;
}

}  // namespace

std::string ContactCard(const ContactRow& c) {
    std::vector<std::string> lines;
    lines.push_back(c[kRelationship]);
    const std::string mi = TrimBlanks(c[kMI]);
    lines.push_back(c[kFirst] + (mi.empty() ? " " : " " + mi + " ") + c[kLast]);
    if (!c[kAddr1].empty()) lines.push_back(c[kAddr1]);
    if (!c[kAddr2].empty()) lines.push_back(c[kAddr2]);
    if (!c[kCity].empty()) lines.push_back(c[kCity] + ", " + c[kState] + " " + c[kZip] + " " + c[kCountry]);
    if (!c[kPhone1].empty()) lines.push_back(c[kPhone1] + " " + c[kType1]);
    if (!c[kPhone2].empty()) lines.push_back(c[kPhone2] + " " + c[kType2]);
    if (!TrimBlanks(c[kEmail]).empty()) lines.push_back(c[kEmail] + " ");
    if (!c[kOther].empty()) lines.push_back(c[kOther]);
    std::string card;
    for (size_t i = 0; i < lines.size(); ++i) card += (i ? "\r\n" : "") + lines[i];
    return card;
}

std::string PeopleSearchWhere() {
    std::vector<std::string> columns;  // every column but Relationship
    for (int i = kFirst; i < kContactFields; ++i) columns.push_back(kPeopleColumns[size_t(i)]);
    return " WHERE " + FoldSearchCondition(columns);
}

std::string ContactExportLine(const ContactRow& c) {
    std::string line = "\"1\"";
    for (const std::string& v : c) {
        std::string value = ReplaceAll(v, ",", "++");
        value = ReplaceAll(value, "\r\n", " ");
        value = ReplaceAll(value, "\r", " ");
        value = ReplaceAll(value, "\n", " ");
        line += ",\"" + value + "\"";
    }
    return line;
}

int WriteContactFile(const std::string& path, ContactFileKind kind, const std::vector<ContactRow>& rows) {
    WholeFileWriter out(path);
    if (!out.isOpen())
        throw std::runtime_error("The file \"" + path + "\" cannot be written: " + out.whyNotOpen() + ".");
    const auto put = [&](const std::string& text) {
        if (!out.write(text))
            throw std::runtime_error("The file \"" + path + "\" could not be written completely; it was not changed.");
    };
    if (kind == ContactFileKind::Records) put(std::string(kContactHeader1) + "\r\n" + kContactHeader2 + "\r\n");
    int count = 0;
    for (const ContactRow& c : rows) {
        put(kind == ContactFileKind::Records ? ContactExportLine(c) + "\r\n" : ContactCard(c) + "\r\n\r\n");
        ++count;
    }
    if (!out.commit())
        throw std::runtime_error("The file \"" + path + "\" could not be written completely; it was not changed.");
    return count;
}

ContactLine ReadContactLine(const std::string& raw) {
    ContactLine result;
    std::string line;
    for (char ch : raw)
        if (ch != '"') line += ch;
    if (line.compare(0, 2, "**") == 0 || line.find(',') == std::string::npos) return result;
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = line.find(',', start)) != std::string::npos; start = at + 1) parts.push_back(line.substr(start, at - start));
    parts.push_back(line.substr(start));
    const auto first = PlainNumber(parts[0]);
    if (!first || parts.size() - 1 > size_t(kContactFields)) {
        result.kind = ContactLine::Malformed;
        return result;
    }
    if (*first != 1.0) return result;
    result.kind = ContactLine::Contact;
    for (size_t i = 1; i < parts.size(); ++i) result.values.push_back(ReplaceAll(parts[i], "++", ","));
    return result;
}

namespace {

struct NumberedContact {
    int line;
    std::vector<std::string> values;
};

// The next line of `in` without its line end into `line`; false at the end
// of the file. A line longer than kLongestImportLine is no contact list's.
bool NextLine(std::FILE* in, std::string& line, const std::string& path, int number) {
    line.clear();
    int ch;
    while ((ch = std::getc(in)) != EOF && ch != '\n') {
        if (line.size() == kLongestImportLine)
            throw std::runtime_error("The file \"" + path + "\" is not a contact list: its line " +
                                     std::to_string(number) + " is longer than " +
                                     std::to_string(kLongestImportLine) + " characters. Nothing was imported.");
        line.push_back(static_cast<char>(ch));
    }
    return ch == '\n' || !line.empty();
}

std::vector<NumberedContact> ReadNumbered(const std::string& path, std::vector<int>& malformed) {
    if (const std::string problem = ReadFromProblem(path); !problem.empty()) throw std::runtime_error(problem);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!in) throw std::runtime_error("The file \"" + path + "\" cannot be read.");
    std::vector<NumberedContact> out;
    std::string line;
    for (int n = 1; NextLine(in.get(), line, path, n); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (n == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // the mark editors put first
        ContactLine read = ReadContactLine(LineAsUtf8(line));
        if (read.kind == ContactLine::Malformed) malformed.push_back(n);
        if (read.kind == ContactLine::Contact) out.push_back({n, std::move(read.values)});
    }
    if (std::ferror(in.get())) throw std::runtime_error("The file \"" + path + "\" could not be read completely.");
    return out;
}

}  // namespace

ContactImport ImportContactFile(const std::string& dbPath, const std::string& filePath) {
    ContactImport result;
    const std::vector<NumberedContact> contacts = ReadNumbered(filePath, result.skippedLines);
    auto db = db::Database::Open(dbPath);
    std::string cols, marks;
    for (int i = 0; i < kContactFields; ++i) {
        cols += std::string(i ? ", " : "") + "[" + kPeopleColumns[size_t(i)] + "]";
        marks += i ? ", ?" : "?";
    }
    auto insert = db->prepare("INSERT INTO [People] (" + cols + ") VALUES (" + marks + ")");
    db::Transaction tx(*db);
    for (const NumberedContact& c : contacts) {
        std::vector<db::Value> values(kContactFields);
        for (size_t i = 0; i < c.values.size(); ++i)
            if (!c.values[i].empty()) values[i] = db::Text(c.values[i]);
        try {
            insert.bindAll(values);
            insert.run();
            ++result.added;
        } catch (const db::DbError&) {
            insert.reset();
            result.skippedLines.push_back(c.line);  // a value a column cannot hold
        }
    }
    tx.commit();
    std::sort(result.skippedLines.begin(), result.skippedLines.end());
    return result;
}

std::string SkippedLinesText(const std::vector<int>& lines) {
    if (lines.empty()) return "";
    std::string list;
    const size_t shown = std::min<size_t>(lines.size(), 20);
    for (size_t i = 0; i < shown; ++i) list += (i ? ", " : "") + std::to_string(lines[i]);
    if (shown < lines.size()) list += ", ...";
    return std::to_string(lines.size()) + (lines.size() == 1 ? " line" : " lines") +
           " of the file could not be read as a contact and " + (lines.size() == 1 ? "was" : "were") +
           " skipped (line " + list + ").";
}

}  // namespace vm
