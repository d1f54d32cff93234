#include "core/alarmqueue.h"

#include <algorithm>

#include "platform/clock.h"

namespace vm {
namespace {

constexpr int64_t kDaySeconds = 86400;
// How long what rang is remembered: a clock set back by up to a week rings nothing twice.
constexpr int64_t kRungMemorySeconds = 7 * kDaySeconds;

bool Earlier(const AlarmEntry& a, const AlarmEntry& b) { return MomentSeconds(a.moment) < MomentSeconds(b.moment); }

}  // namespace

int64_t MomentSeconds(const DateTime& m) {
    return DaysFromCivil(m.date) * kDaySeconds + m.hour * 3600 + m.minute * 60 + m.second;
}

DateTime MomentFromSeconds(int64_t seconds) {
    int64_t days = seconds / kDaySeconds;
    int64_t rest = seconds % kDaySeconds;
    if (rest < 0) {
        rest += kDaySeconds;
        --days;
    }
    DateTime t;
    t.date = CivilFromDays(days);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest % 3600 / 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

int64_t WallNowMs() {
    const LocalTime t = Clock().now();
    return MomentSeconds(DateTime{{t.year, t.month, t.day}, t.hour, t.minute, t.second}) * 1000 + t.millisecond;
}

int64_t AlarmQueue::MsUntil(const AlarmEntry& e, int64_t nowMs, int64_t steadyNowMs) {
    if (e.steadyDueMs) return *e.steadyDueMs - steadyNowMs;
    return MomentSeconds(e.moment) * 1000 - nowMs;
}

bool AlarmQueue::Due(const AlarmEntry& e, int64_t nowMs, int64_t steadyNowMs) {
    return MsUntil(e, nowMs, steadyNowMs) <= 0;
}

bool AlarmQueue::empty() const {
    return waiting_.empty() && std::none_of(slots_.begin(), slots_.end(), [](const auto& s) { return s.has_value(); });
}

AlarmQueue::RungKey AlarmQueue::KeyOf(const AlarmEntry& e) { return {e.rowDay, MomentSeconds(e.moment), e.text}; }

bool AlarmQueue::hasRung(const AlarmEntry& e) const { return !e.countdown() && rung_.count(KeyOf(e)) > 0; }

int AlarmQueue::latestHeld() const {
    int latest = -1;
    for (size_t i = 0; i < slots_.size(); ++i) {
        const auto& s = slots_[i];
        if (!s || s->countdown()) continue;
        if (latest < 0 || !Earlier(*s, *slots_[static_cast<size_t>(latest)])) latest = static_cast<int>(i);
    }
    return latest;
}

bool AlarmQueue::hasRoom() const {
    return slots_.size() < size_t(kAlarmQueueSlots) ||
           std::any_of(slots_.begin(), slots_.end(), [](const auto& s) { return !s.has_value(); });
}

void AlarmQueue::wait(AlarmEntry e) {
    // After the entries of the same moment already waiting.
    const auto at = std::upper_bound(waiting_.begin(), waiting_.end(), e, Earlier);
    waiting_.insert(at, std::move(e));
}

// Into the first free slot, or a new one; the caller made sure there is room.
void AlarmQueue::place(AlarmEntry e) {
    for (auto& s : slots_)
        if (!s) {
            s = std::move(e);
            return;
        }
    slots_.emplace_back(std::move(e));
}

bool AlarmQueue::add(AlarmEntry e) {
    if (e.countdown()) return addCountdown(std::move(e));
    if (hasRung(e)) return false;
    if (hasRoom()) {
        place(std::move(e));
        return true;
    }
    // Full: the nearer moment is held, the later one waits.
    if (const int latest = latestHeld(); latest >= 0) {
        AlarmEntry& held = *slots_[static_cast<size_t>(latest)];
        if (Earlier(e, held)) std::swap(e, held);
    }
    wait(std::move(e));
    return true;
}

bool AlarmQueue::addCountdown(AlarmEntry e) {
    if (!e.countdown()) return add(std::move(e));
    if (hasRoom()) {
        place(std::move(e));
        return true;
    }
    const int latest = latestHeld();
    if (latest < 0) return false;  // every slot holds a countdown
    auto& held = slots_[static_cast<size_t>(latest)];
    wait(std::move(*held));
    held = std::move(e);
    return true;
}

void AlarmQueue::clear() {
    slots_.clear();
    waiting_.clear();
}

void AlarmQueue::keepForRebuild(int64_t fromMs, int64_t firstRereadDay) {
    auto leaves = [&](const AlarmEntry& e) {
        return !e.countdown() && e.rowDay >= firstRereadDay && MomentSeconds(e.moment) * 1000 >= fromMs;
    };
    std::vector<AlarmEntry> kept;
    for (auto& s : slots_)
        if (s && !leaves(*s)) kept.push_back(std::move(*s));
    for (auto& e : waiting_)
        if (!leaves(e)) kept.push_back(std::move(e));
    clear();
    for (auto& e : kept) add(std::move(e));
}

void AlarmQueue::refill() {
    for (auto& s : slots_)
        if (!s && !waiting_.empty()) {
            s = std::move(waiting_.front());
            waiting_.erase(waiting_.begin());
        }
    while (slots_.size() < size_t(kAlarmQueueSlots) && !waiting_.empty()) {
        slots_.emplace_back(std::move(waiting_.front()));
        waiting_.erase(waiting_.begin());
    }
}

std::vector<AlarmEntry> AlarmQueue::takeDue(int64_t nowMs, int64_t steadyNowMs) {
    std::vector<AlarmEntry> due;
    for (auto& s : slots_)
        if (s && Due(*s, nowMs, steadyNowMs)) {
            due.push_back(std::move(*s));
            s.reset();
        }
    // Waiting entries are never nearer than held ones, so the due ones lead the list.
    auto firstLater = std::find_if(waiting_.begin(), waiting_.end(),
                                   [&](const AlarmEntry& e) { return !Due(e, nowMs, steadyNowMs); });
    std::move(waiting_.begin(), firstLater, std::back_inserter(due));
    waiting_.erase(waiting_.begin(), firstLater);
    refill();

    for (AlarmEntry& e : due) {
        if (e.countdown()) {
            // A countdown names the wall moment it completed at.
            const int64_t completedMs = nowMs + MsUntil(e, nowMs, steadyNowMs);
            e.moment = MomentFromSeconds(completedMs >= 0 ? completedMs / 1000 : (completedMs - 999) / 1000);
        } else {
            rung_.insert(KeyOf(e));
        }
    }
    std::stable_sort(due.begin(), due.end(), Earlier);
    // What rang long before the newest is forgotten.
    if (!due.empty()) {
        int64_t newest = 0;
        for (const RungKey& k : rung_) newest = std::max(newest, std::get<1>(k));
        std::erase_if(rung_, [&](const RungKey& k) { return std::get<1>(k) < newest - kRungMemorySeconds; });
    }
    return due;
}

std::optional<int64_t> AlarmQueue::msUntilNextDue(int64_t nowMs, int64_t steadyNowMs) const {
    std::optional<int64_t> next;
    auto consider = [&](const AlarmEntry& e) {
        const int64_t ms = std::max<int64_t>(0, MsUntil(e, nowMs, steadyNowMs));
        next = next ? std::min(*next, ms) : ms;
    };
    for (const auto& s : slots_)
        if (s) consider(*s);
    if (!waiting_.empty()) consider(waiting_.front());
    return next;
}

}  // namespace vm
