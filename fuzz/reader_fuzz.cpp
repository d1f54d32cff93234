// libFuzzer target: any bytes through the import's decoding, the line reader
// and the line checks. Besides not crashing, every record read must come back
// unchanged after being written again the way the export writes values.
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
    return 0;
}
