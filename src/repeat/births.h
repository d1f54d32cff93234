// The birth records of a calendar, read in one scan of [Velmora]: what the
// remembrance texts of death records look up, and the fingerprint that tells
// the pass whether any of them changed since it last ran.
#pragma once
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/dates.h"
#include "platform/sqlstore.h"

namespace vm {

class BirthBook {
public:
    BirthBook() = default;
    // Every record whose DateText holds "birth", in ID order.
    static BirthBook Read(db::Database& db);

    // The records a lookup can find, as one text; "" for an empty book.
    const std::string& fingerprint() const { return fingerprint_; }
    // The date of the last record, in ID order, whose DateText contains the
    // name (case folded) and whose Date can be read. Empty when none.
    std::optional<CivilDate> Find(const std::string& name) const;

private:
    struct Birth {
        std::string folded;  // the DateText, case folded
        CivilDate date;
    };
    std::vector<Birth> births_;
    std::string fingerprint_;
    mutable std::unordered_map<std::string, std::optional<CivilDate>> found_;
};

}  // namespace vm
