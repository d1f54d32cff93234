// libFuzzer target: any bytes through the import's decoding, the line reader
// and the line checks. Besides not crashing, every record read must come back
// unchanged after being written again the way the export writes values, and
// reading the text in two pieces must give the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/calendartext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = vm::DecodeImportBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!vm::IsValidUtf8(text)) std::abort();

    vm::CalendarLineReader reader(text);
    std::vector<std::string> values, again;
    int64_t lastLine = 0;
    size_t records = 0;
    while (reader.next(values)) {
        if (values.empty() || reader.lineNumber() <= lastLine) std::abort();
        lastLine = reader.lineNumber();
        if (++records > text.size() + 1) std::abort();  // every record takes at least one character

        std::string line;
        for (size_t i = 0; i < values.size(); ++i) {
            if (i) line += ',';
            vm::AppendQuoted(line, values[i]);
        }
        line += "\r\n";
        vm::CalendarLineReader back(line);
        if (!back.next(again) || again != values || back.next(again)) std::abort();

        (void)vm::ReadImportLine(values, vm::DefaultFieldPositions());
    }
    (void)vm::ParseCalendarImport(text, vm::DefaultFieldPositions());

    // Read in two pieces, cut where the first byte says: the same records.
    const size_t cut = size ? data[0] % (text.size() + 1) : 0;
    vm::CalendarLineReader whole(text), pieces(std::string_view{}, true);
    std::vector<std::vector<std::string>> a, b;
    while (whole.next(values)) a.push_back(values);
    std::string piece = text.substr(0, cut);
    for (const bool more : {true, false}) {
        pieces.setText(piece, more);
        while (pieces.next(values)) b.push_back(values);
        piece = std::string(pieces.unread()) + text.substr(cut);
    }
    if (a != b) std::abort();
    return 0;
}
