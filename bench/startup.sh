#!/usr/bin/env bash
# Start-up as a user waits for it: a fresh `velmora` process each time, from
# its exec to its main window shown, for an empty calendar, 5,000 records of
# the typical mix, and 5,000, 20,000 and 80,000 records of the heavy mix; each
# after a change of one record (the repeat pass rewrites that record's rows)
# and unchanged (the pass finds nothing to do), then the ratios between the
# medians. The heavy calendars also start after an edit of a birthday's text
# (its deaths' ages are looked up again), and a bare Qt window with the 42
# labels of a month is timed the same way as the floor of an empty start.
# Also the repeat engine's first call in a fresh process beside its warm
# call. Every file made here is deleted at the end.
#   bench/startup.sh [BIN_DIR]    (default build/release/bin)
# RUNS (default 5) starts per figure; KINDS to choose calendars.
set -euo pipefail
BIN=${1:-build/release/bin}
RUNS=${RUNS:-5}
KINDS=${KINDS:-"empty typical heavy heavy20k heavy80k"}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-startup-XXXXXX")
trap 'rm -rf "$work"' EXIT

# One start: prints "ms peak_MiB after_MiB".
start() {
    local out
    out=$(VELMORA_DATA_DIR="$1" VELMORA_EXIT_WHEN_SHOWN=$(date +%s%N) timeout 300 "$BIN/velmora" 2>/dev/null |
          grep '^shown_us=') || { echo "velmora did not report its start-up" >&2; return 1; }
    # shown_us=N peak_rss_kib=N rss_kib=N
    set -- $(echo "$out" | sed 's/[a-z_]*=//g')
    echo "$(( $1 / 1000 )) $(( $2 / 1024 )) $(( $3 / 1024 ))"
}

# min / median / max of the first column, the largest peak and the last memory.
summary() {
    sort -n | awk '{ ms[NR] = $1; if ($2 > peak) peak = $2; after = $3 }
        END { printf "%6d %6d %6d ms   peak %4d MiB   after start-up %4d MiB", ms[1], ms[int((NR + 1) / 2)], ms[NR], peak, after }'
}
# Keeps the median of a summary line under a name, and passes the line on.
declare -A median_of peak_line
keep() {
    local line
    read -r line || true
    printf '%s' "$line"
    median_of[$1]=$(echo "$line" | awk '{ for (i = 1; i < NF; i++) if ($(i + 1) == "ms") { print $(i - 1); exit } }')
    peak_line[$1]=$(echo "$line" | awk '{ for (i = 1; i < NF; i++) if ($i == "peak") { print $(i + 1); exit } }')
}
ratio() {  # ratio NAME_A NAME_B [TARGET]
    [ -n "${median_of[$1]:-}" ] && [ -n "${median_of[$2]:-}" ] &&
        awk -v a="${median_of[$1]}" -v b="${median_of[$2]}" -v n="$1 / $2" -v t="${3:-}" \
            'BEGIN { printf "  %-34s %5.2fx%s\n", n, a / (b > 0 ? b : 1), t == "" ? "" : "   (target " t ")" }'
    return 0
}

# One start of the bare window, printed as start() prints.
bare_start() {
    local out
    out=$(VELMORA_EXIT_WHEN_SHOWN=$(date +%s%N) timeout 60 "$BIN/velmora_barewindow" 2>/dev/null | grep '^shown_us=')
    set -- $(echo "$out" | sed 's/[a-z_]*=//g')
    echo "$(( $1 / 1000 )) $(( $2 / 1024 )) $(( $3 / 1024 ))"
}

printf '%-28s %6s %6s %6s\n' "bare Qt window, 42 labels" min median max
keep bare < <(for ((i = 0; i < RUNS; i++)); do bare_start; done | summary | sed "s/^/$(printf '%-28s' "bare window")/")
echo

printf '%-28s %6s %6s %6s\n' "start-up, exec to shown" min median max
for kind in $KINDS; do
    dir="$work/$kind"
    mkdir -p "$dir"
    "$BIN/velmora_benchtool" make "$dir" "$kind"
    start "$dir" >/dev/null  # the first pass after the calendar was made
    runs=$RUNS
    [ "$kind" = heavy20k ] && runs=$(( RUNS < 3 ? RUNS : 3 ))
    [ "$kind" = heavy80k ] && runs=$(( RUNS < 2 ? RUNS : 2 ))
    if [ "$kind" != empty ]; then
        keep "$kind-change" < <(for ((i = 0; i < runs; i++)); do
            "$BIN/velmora_benchtool" touch "$dir"
            start "$dir"
        done | summary | sed "s/^/$(printf '%-28s' "$kind, after a change")/")
        echo
    fi
    if [ "$kind" = heavy80k ] || [ "$kind" = heavy20k ]; then
        keep "$kind-birthday" < <(for ((i = 0; i < runs; i++)); do
            "$BIN/velmora_benchtool" touch "$dir" birthday
            start "$dir"
        done | summary | sed "s/^/$(printf '%-28s' "$kind, after a birthday edit")/")
        echo
    fi
    keep "$kind-unchanged" < <(for ((i = 0; i < runs; i++)); do start "$dir"; done | summary |
        sed "s/^/$(printf '%-28s' "$kind, unchanged")/")
    echo
    [ "$kind" = empty ] || [ "$kind" = heavy20k ] || rm -rf "$dir"  # kept for the alternating starts
done

# The two start-up targets once more, their starts taking turns (bare window,
# empty, heavy 20,000 unchanged): a machine whose speed drifts during the run
# moves all three alike.
if [ -d "$work/empty" ] && [ -d "$work/heavy20k" ]; then
    echo "taking turns, $(( RUNS * 2 )) starts each:"
    for ((i = 0; i < RUNS * 2; i++)); do
        bare_start >> "$work/turns.bare"
        start "$work/empty" >> "$work/turns.empty"
        start "$work/heavy20k" >> "$work/turns.heavy20k"
    done
    keep turns-bare < <(summary < "$work/turns.bare" | sed "s/^/$(printf '%-28s' "bare window")/"); echo
    keep turns-empty < <(summary < "$work/turns.empty" | sed "s/^/$(printf '%-28s' "empty, unchanged")/"); echo
    keep turns-heavy20k < <(summary < "$work/turns.heavy20k" | sed "s/^/$(printf '%-28s' "heavy20k, unchanged")/"); echo
    rm -rf "$work/empty" "$work/heavy20k"
fi

echo
echo "ratios of the medians:"
ratio heavy-change heavy-unchanged
ratio heavy20k-change empty-unchanged
ratio heavy20k-unchanged empty-unchanged "1.5x"
ratio heavy80k-change empty-unchanged
ratio heavy20k-birthday heavy20k-change
ratio heavy80k-birthday heavy80k-change "1.5x"
ratio empty-unchanged bare "1.6x"
ratio turns-heavy20k turns-empty "1.5x"
ratio turns-empty turns-bare "1.6x"
[ -n "${peak_line[heavy80k-change]:-}" ] && echo "  heavy80k, after a change: peak ${peak_line[heavy80k-change]} MiB (target under 150)"
echo
engine=$(for ((i = 0; i < RUNS; i++)); do "$BIN/velmora_benchtool" engine; done | sed 's/[a-z_]*=//g')
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%d", v[int((NR + 1) / 2)] / 1000 }'; }
echo "repeat engine, heavy 5,000 records ($(echo "$engine" | awk 'NR == 1 { print $3 }') rows), median of $RUNS fresh processes:"
echo "  first call $(echo "$engine" | awk '{ print $1 }' | median) ms, warm call $(echo "$engine" | awk '{ print $2 }' | median) ms"
