// The date grid's columns: grid column index (0 Hide .. 18 Hr24), field and
// caption. Shared by the grid's handlers in src/records/dategrid_*.cpp.
#pragma once
#include <string>

namespace vm {

inline constexpr int kDateGridColumns = 19;
inline constexpr int kColHide = 0, kColDate = 1, kColHour = 2, kColAmPm = 4, kColDuration = 6, kColRepeat = 7,
                     kColDateType = 10, kColJulDate = 12, kColSound = 14, kColFont = 15, kColDayColors = 17,
                     kColHr24 = 18;

const char* DateGridField(int gridIndex);    // "" outside 0..18
const char* DateGridCaption(int gridIndex);
int DateGridIndexOf(const std::string& field);  // -1 when the field has no column

}  // namespace vm
