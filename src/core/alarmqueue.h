// The alarm queue: the entries waiting to ring, the one test of when an
// entry is due, and the memory of what has rung. No window and no file:
// reading today's entries is in alarmqueue_rows.
//
// At most 94 entries are held in numbered slots (1..94, the summary's
// numbers); a slot whose entry rang is free for the next one. When every
// slot is taken, the nearest moments are held and the later ones wait in
// moment order, moving into slots as slots free up, so no entry is dropped
// for want of room. A quick countdown is always held: it takes the slot of
// the latest entry held, which then waits; only when every slot holds a
// countdown is a countdown refused.
//
// Moments are compared in milliseconds of the local wall clock; a quick
// countdown is due by the steady clock instead, so a change of the wall
// clock never shortens or lengthens it. What rang is remembered by the day
// of its record and its moment, so an entry read again after the clock was
// set back (also across midnight) is not queued a second time.
#pragma once
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/dates.h"

namespace vm {

inline constexpr int kAlarmQueueSlots = 94;
inline constexpr const char* kTimerCompleteText = "Timer Complete";

// Moments as seconds since 1970-01-01 00:00 (local time), and back.
int64_t MomentSeconds(const DateTime& moment);
DateTime MomentFromSeconds(int64_t seconds);
// The wall clock now, in milliseconds on the same scale.
int64_t WallNowMs();

struct AlarmEntry {
    DateTime moment;  // when it rings; a countdown's is the moment shown when it was set
    std::string text;
    int32_t sound = 0;
    std::string soundFile;               // a daily alarm's own wave file, else ""
    int64_t rowDay = 0;                  // the day of the record it came from (days since 1970)
    std::optional<int64_t> steadyDueMs;  // a quick countdown: its end on the steady clock
    bool countdown() const { return steadyDueMs.has_value(); }
};

class AlarmQueue {
public:
    // The one due test: a countdown once the steady clock reaches its end,
    // any other entry once its moment has come, never before it, however
    // late (a moment passed while the machine slept or the clock jumped
    // forward is still due).
    static bool Due(const AlarmEntry& e, int64_t nowMs, int64_t steadyNowMs);
    // Milliseconds until the entry is due (negative when overdue).
    static int64_t MsUntil(const AlarmEntry& e, int64_t nowMs, int64_t steadyNowMs);

    // Slots 1..count() have been used since the queue was emptied; a slot
    // whose entry rang or left is empty (nullopt) until an entry takes it.
    int count() const { return static_cast<int>(slots_.size()); }
    const std::optional<AlarmEntry>& slot(int i) const { return slots_.at(static_cast<size_t>(i - 1)); }
    // The entries waiting for a slot, nearest first.
    const std::vector<AlarmEntry>& waiting() const { return waiting_; }
    bool empty() const;

    // Queues an entry; false when it has rung already. A countdown is
    // queued as addCountdown queues it.
    bool add(AlarmEntry e);
    // Holds a quick countdown; false only when every slot holds a countdown.
    bool addCountdown(AlarmEntry e);

    // Everything leaves; what has rung stays remembered.
    void clear();
    // Before a rebuild: everything that rows read again will bring back
    // leaves, that is every entry from a record of firstRereadDay or later
    // whose moment is fromMs or later. Countdowns stay, so do entries
    // already due (they ring at the next tick) and entries of records of
    // earlier days (no rebuild reads them again).
    void keepForRebuild(int64_t fromMs, int64_t firstRereadDay);

    // The entries due now leave the queue (held or waiting), in the order
    // of their moments (a countdown's is when it completed, on the wall
    // clock); they are remembered as rung and waiting entries fill the
    // freed slots.
    std::vector<AlarmEntry> takeDue(int64_t nowMs, int64_t steadyNowMs);
    // Milliseconds until the next entry is due (0 when one already is);
    // nullopt when nothing is queued.
    std::optional<int64_t> msUntilNextDue(int64_t nowMs, int64_t steadyNowMs) const;

    bool hasRung(const AlarmEntry& e) const;

private:
    using RungKey = std::tuple<int64_t, int64_t, std::string>;  // record day, moment, text
    static RungKey KeyOf(const AlarmEntry& e);
    // The held entry (not a countdown) with the latest moment; -1 when none.
    int latestHeld() const;
    bool hasRoom() const;
    void wait(AlarmEntry e);
    void place(AlarmEntry e);
    void refill();

    std::vector<std::optional<AlarmEntry>> slots_;
    std::vector<AlarmEntry> waiting_;
    std::set<RungKey> rung_;
};

}  // namespace vm
