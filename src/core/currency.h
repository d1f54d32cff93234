// Fixed-point number with four decimals (font sizes of the month appearance).
#pragma once
#include <cmath>
#include <compare>
#include <cstdint>

namespace vm {

struct Currency {
    int64_t units = 0;  // ten-thousandths

    static Currency FromDouble(double v) { return {static_cast<int64_t>(std::nearbyint(v * 10000.0))}; }
    static Currency Whole(int64_t v) { return {v * 10000}; }
    double toDouble() const { return static_cast<double>(units) / 10000.0; }
    friend auto operator<=>(const Currency&, const Currency&) = default;
    friend bool operator==(const Currency&, const Currency&) = default;
};

}  // namespace vm
