#include "core/splashlogic.h"

#include <QDate>

#include <algorithm>
#include <array>

#include "platform/places.h"

namespace vm {

int32_t SplashColorOfDigit(int digit) {
    // The table as the colour file's digits number it.
    static constexpr std::array<int32_t, 8> kColors = {0, 255, 65280, 65535, 16711680, 16711935, 16776960, 16777215};
    return kColors[static_cast<size_t>(std::clamp(digit, 1, 8) - 1)];
}

std::string SplashPictureName(int month) {
    static constexpr std::array<const char*, 12> kNames = {"Jan.jpg", "Feb.jpg", "Mar.jpg", "Apr.jpg",
                                                          "May.jpg", "Jun.jpg", "Jul.jpg", "Aug.jpg",
                                                          "Sep.jpg", "Oct.jpg", "Nov.jpg", "Dec.jpg"};
    return (month >= 1 && month <= 12) ? kNames[static_cast<size_t>(month - 1)] : "";
}

void GetSplashPicture(std::string& folder, int32_t& colour, int month) {
    if (month < 1 || month > 12) month = QDate::currentDate().month();
    // Only the first line's first twelve characters count: a file of any
    // size costs no more than its head.
    std::string line = FileHead(JoinPath(folder, "SplashTextColor.txt"), 64);
    line.resize(std::min(line.size(), line.find('\n')));
    folder = JoinPath(folder, SplashPictureName(month));
    int digit = 0;
    if (line.size() >= static_cast<size_t>(month)) {
        const char c = line[static_cast<size_t>(month - 1)];
        if (c >= '0' && c <= '9') digit = c - '0';
    }
    if (digit < 1) digit = 1;
    if (digit <= 8) colour = SplashColorOfDigit(digit);
}

int16_t NextSplashTick(int16_t ticks) {
    if (ticks <= 0) ticks = 1;
    return ticks < 32767 ? static_cast<int16_t>(ticks + 1) : ticks;
}

SplashBar SplashBarAfterTick(SplashBar bar, int ticks) {
    int lo = 0, hi = 0;
    if (ticks >= 6 && ticks <= 14) {
        lo = 5, hi = 15;
    } else if (ticks >= 15 && ticks <= 50) {
        lo = 16, hi = 50;
    } else if (ticks >= 51 && ticks <= 99) {
        lo = 52, hi = 100;
    } else {
        return bar;
    }
    if (lo <= bar.maximum) bar.minimum = lo;
    if (hi >= bar.minimum) bar.maximum = hi;
    if (ticks >= bar.minimum && ticks <= bar.maximum) bar.value = ticks;
    return bar;
}

QRect BringBackRect(const QRect& window, const std::vector<QRect>& screens) {
    if (screens.empty()) return window;
    constexpr int kGrip = 60;  // this much of the title bar must be reachable
    const QRect titleStrip(window.left(), window.top(), window.width(), 24);
    for (const QRect& s : screens) {
        const QRect onIt = titleStrip.intersected(s);
        if (onIt.width() >= std::min(kGrip, window.width()) && onIt.height() > 0) return window;
    }
    const QRect& home = screens.front();
    QRect r(0, 0, std::min(window.width(), home.width()), std::min(window.height(), home.height()));
    r.moveCenter(home.center());
    return r;
}

std::optional<double> UsableTwips(std::optional<double> stored, double least, double most) {
    if (!stored || !(*stored >= least)) return std::nullopt;  // also not a number
    return std::min(*stored, std::max(most, least));
}

}  // namespace vm
