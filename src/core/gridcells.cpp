#include "core/gridcells.h"

#include <QString>

#include <cmath>
#include <limits>
#include <regex>

#include "core/dates.h"
#include "core/numtext.h"
#include "platform/asciicase.h"

namespace vm {
namespace {

std::string Named(const ColumnDef& c) { return "[" + c.name + "]"; }

std::optional<bool> YesNoText(const std::string& t) {
    const std::string l = ToLower(Trim(t));
    if (l == "true" || l == "yes" || l == "y" || l == "t" || l == "-1" || l == "1") return true;
    if (l == "false" || l == "no" || l == "n" || l == "f" || l == "0" || l.empty()) return false;
    return std::nullopt;
}

std::optional<int64_t> WholeNumber(const std::string& t) {
    const auto n = PlainNumber(t);
    if (!n || std::floor(*n) != *n || std::fabs(*n) > 2147483647.0) return std::nullopt;
    return static_cast<int64_t>(*n);
}

// "H:MM", "H:MM:SS", each with an optional AM/PM: the stored "HH:MM:SS".
std::optional<std::string> TimeText(const std::string& t) {
    static const std::regex re(R"(^\s*(\d{1,2}):(\d{2})(?::(\d{2}))?\s*([AaPp][Mm])?\s*$)");
    std::smatch m;
    if (!std::regex_match(t, m, re)) return std::nullopt;
    int h = std::stoi(m[1]);
    const int mi = std::stoi(m[2]);
    const int s = m[3].matched ? std::stoi(m[3]) : 0;
    if (m[4].matched) {
        if (h < 1 || h > 12) return std::nullopt;
        const bool pm = AsciiUpper(m[4].str()[0]) == 'P';
        h = (h % 12) + (pm ? 12 : 0);
    }
    if (h > 23 || mi > 59 || s > 59) return std::nullopt;
    char buf[40];  // room for any int, so the compiler can see nothing is cut
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", h, mi, s);
    return std::string(buf);
}

}  // namespace

std::string ConvertCellText(const ColumnDef& c, const std::string& text, db::Value& out) {
    const std::string t = Trim(text);
    out = db::Value{};
    switch (c.kind) {
        case ColKind::AutoNumber:
            return "The value of " + Named(c) + " is given by the table and cannot be changed.";
        case ColKind::YesNo: {
            const auto b = YesNoText(t);
            if (!b) return "\"" + text + "\" is not a Yes/No value for " + Named(c) + ". Type True or False.";
            out = db::Bool(*b);
            return "";
        }
        case ColKind::Long:
        case ColKind::Byte: {
            if (t.empty()) return "";
            const auto n = WholeNumber(t);
            const bool byte = c.kind == ColKind::Byte;
            if (!n || (byte && (*n < 0 || *n > 255)))
                return "\"" + text + "\" is not " + (byte ? "a whole number from 0 to 255" : "a whole number") +
                       " for " + Named(c) + ".";
            out = db::Int(*n);
            return "";
        }
        case ColKind::Currency:
        case ColKind::Double: {
            if (t.empty()) return "";
            const auto n = PlainNumber(t);
            if (!n) return "\"" + text + "\" is not a number for " + Named(c) + ".";
            out = *n;
            return "";
        }
        case ColKind::Date: {
            if (t.empty()) return "";
            const auto d = ReadTypedDate(t);
            if (!d) return "\"" + text + "\" is not a date for " + Named(c) + ". Type it as M/D/YYYY.";
            out = db::Text(FormatIso(*d));
            return "";
        }
        case ColKind::Time: {
            if (t.empty()) return "";
            const auto tt = TimeText(t);
            if (!tt) return "\"" + text + "\" is not a time for " + Named(c) + ". Type it as H:MM AM.";
            out = db::Text(*tt);
            return "";
        }
        case ColKind::Text:
            if (c.size > 0 && QString::fromStdString(text).size() > c.size)
                return "The text for " + Named(c) + " is longer than " + std::to_string(c.size) + " characters.";
            [[fallthrough]];
        case ColKind::Memo:
            if (!text.empty()) out = db::Text(text);
            return "";
    }
    return "";
}

std::string CellDisplayText(const ColumnDef& c, const db::Value& v) {
    if (db::IsNull(v)) return "";
    switch (c.kind) {
        case ColKind::YesNo: return db::AsBool(v) ? "True" : "False";
        case ColKind::Date: {
            const std::string s = db::AsText(v);
            const auto d = ReadStoredDate(s);
            return d ? FormatMDY(*d) : s;
        }
        default: return db::AsText(v);
    }
}

std::function<std::string(const std::string&, const QString&, db::Value&)> TableConverter(const TableDef& table) {
    return [table](const std::string& field, const QString& text, db::Value& out) -> std::string {
        for (const auto& c : table.columns)
            if (QString::fromStdString(c.name).compare(QString::fromStdString(field), Qt::CaseInsensitive) == 0)
                return ConvertCellText(c, text.toStdString(), out);
        out = text.isEmpty() ? db::Value{} : db::Text(text.toStdString());
        return "";
    };
}

std::function<QVariant(const std::string&, const db::Value&)> TableFormatter(const TableDef& table) {
    return [table](const std::string& field, const db::Value& v) -> QVariant {
        for (const auto& c : table.columns)
            if (QString::fromStdString(c.name).compare(QString::fromStdString(field), Qt::CaseInsensitive) == 0)
                return QString::fromStdString(CellDisplayText(c, v));
        return db::IsNull(v) ? QString() : QString::fromStdString(db::AsText(v));
    };
}

}  // namespace vm
