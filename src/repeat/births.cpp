#include "repeat/births.h"

#include <QCryptographicHash>

#include "core/numtext.h"

namespace vm {

BirthBook BirthBook::Read(db::Database& db) {
    BirthBook book;
    QCryptographicHash hash(QCryptographicHash::Md5);
    // The engine passes over the records without "birth" in any case (its
    // LIKE folds A-Z, all the word needs); the test below still decides.
    auto st = db.prepare("SELECT [ID], [DateText], [Date] FROM [Velmora] WHERE [DateText] LIKE '%birth%' ORDER BY [ID]");
    while (st.step()) {
        const std::string text = db::AsText(st.column(1));
        if (!ContainsNoCase(text, "birth")) continue;
        const std::string date = db::AsText(st.column(2));
        const std::string line = std::to_string(db::AsInt(st.column(0))) + "\x1f" + text + "\x1f" + date + "\x1e";
        hash.addData(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
        const std::optional<CivilDate> d = ReadStoredDate(date);
        if (d && d->valid()) book.births_.push_back({db::FoldCase(text), *d});
    }
    book.fingerprint_ = hash.result().toHex().toStdString();
    return book;
}

std::optional<CivilDate> BirthBook::Find(const std::string& name) const {
    if (name.empty()) return std::nullopt;
    const auto known = found_.find(name);
    if (known != found_.end()) return known->second;
    const std::string folded = db::FoldCase(name);
    std::optional<CivilDate> birth;
    for (auto b = births_.rbegin(); b != births_.rend() && !birth; ++b)
        if (b->folded.find(folded) != std::string::npos) birth = b->date;
    found_.emplace(name, birth);
    return birth;
}

}  // namespace vm
