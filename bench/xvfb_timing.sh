#!/usr/bin/env bash
# Times the real program against the bare window (bench_bare_window: stock Qt widgets of the same
# kinds and sizes doing the least work) from the X server's side, on a private Xvfb display and a
# 30-year data folder, both in the same run:
#   - start-up: launch to the MapNotify of the window, and to the last repaint of the first
#     paint (no damage for 300 ms), RUNS starts each, real and bare in turn;
#   - date change in one month: a synthetic click (XTEST) on a calendar day to the last damage
#     the click caused, CLICKS clicks between two days of the same week, with ToDo + メモ of
#     0 KB and of 400 KB;
#   - system calls per date change: strace -c -f attached during a batch of clicks, less what
#     the same time idle costs, divided by the clicks.
# Prints medians and the ratios to the bare window. A measurement, not a test: CI does not run it.
# Usage: bench/xvfb_timing.sh BUILD_DIR [RUNS [CLICKS]]   (BUILD_DIR configured with -DQUAV_BENCH=ON)
#        bench/xvfb_timing.sh --check BUILD_DIR   a short run that fails unless every click it
#                                                 makes is a date change (the test suite's check)
# Needs Xvfb, strace and python3; BUILD_DIR/bench/bench_xwatch needs libxcb-damage0-dev and
# libxcb-xtest0-dev. Set QUAV_TIMING_KEEP=1 to keep the work folder.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
check=""
if [ "${1:-}" = --check ]; then
    check=1
    shift
fi
build=$(cd "${1:?usage: xvfb_timing.sh [--check] BUILD_DIR [RUNS [CLICKS]]}" && pwd)
runs=${2:-15}
clicks=${3:-30}
years=30
[ -n "$check" ] && runs=1 clicks=4 years=1
program=$build/app/QuavScheduler
bare=$build/bench/bench_bare_window
xwatch=$build/bench/bench_xwatch

die() { echo "xvfb_timing: $*" >&2; exit 1; }
tools=(Xvfb python3)
[ -z "$check" ] && tools+=(strace)
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null && continue
    [ -n "$check" ] && [ -z "${CI:-}" ] && { echo "$tool is missing" >&2; exit 77; }
    die "$tool is missing"
done
for file in "$program" "$bare" "$xwatch"; do [ -x "$file" ] || die "no $file (build with -DQUAV_BENCH=ON)"; done

work=$(mktemp -d "${TMPDIR:-/tmp}/quav-timing.XXXXXX") || die "cannot make a work folder"
xvfb=""
cleanup()
{
    [ -n "${program_pid:-}" ] && kill "$program_pid" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    [ -n "${QUAV_TIMING_KEEP:-}" ] && echo "work folder $work" || rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# A user of our own: the program keeps its settings and data beside itself, in app/.
mkdir -p "$work"/{app,home,config,data,cache,state,runtime,tmp}
chmod 700 "$work/runtime"
cp "$program" "$work/app/QuavScheduler"
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache
export XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8 DBUS_SESSION_BUS_ADDRESS="unix:path=$work/runtime/no-bus"
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR XDG_CURRENT_DESKTOP DESKTOP_SESSION SESSION_MANAGER

make_data() { python3 "$here/make_data_folder.py" "$work/app" "$@" >/dev/null || die "make_data_folder.py failed"; }
todo_memo_kb() { make_data --pages-only --todo-bytes $(($1 * 1000)) --memo-bytes $(($1 * 1000)); }
echo "data folder: $years years to $(date +%Y), 300 anniversaries"
make_data --years "$years" --last-year "$(date +%Y)" --anniv-days 300

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.05; done
grep -q . "$work/display" || die "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

real_cmd=("$work/app/QuavScheduler")
bare_cmd=("$bare" "$work/app")

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { awk -v key="$1" '{ for (i = 1; i < NF; ++i) if ($i == key) print $(i + 1) }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "-" }'; }
row() { printf '  %-42s %10s %10s %8s\n' "$@"; }

# Start-up: the first start of each writes caches and the settings file; it is not counted.
"$xwatch" start -- "${real_cmd[@]}" >/dev/null || die "the program did not show its window"
"$xwatch" start -- "${bare_cmd[@]}" >/dev/null || die "the bare window did not show"
: >"$work/start-real"
: >"$work/start-bare"
for _ in $(seq "$runs"); do
    "$xwatch" start -- "${real_cmd[@]}" >>"$work/start-real" || die "a start of the program failed"
    "$xwatch" start -- "${bare_cmd[@]}" >>"$work/start-bare" || die "a start of the bare window failed"
done

# Two days in the third week row of the calendar, which always holds days of the month shown;
# positions in the window, the same in both (same layout, default size 617 x 461).
day1=(${QUAV_TIMING_DAY1:-418 145})
day2=(${QUAV_TIMING_DAY2:-462 145})

# Starts one of them and leaves it running: sets program_pid and window.
launch()
{
    # Into a file: the program kept running holds the output open, a pipe would never end.
    "$xwatch" start --keep -- "$@" >"$work/launch" 2>>"$work/programs.log" || die "no window for $*"
    program_pid=$(field pid <"$work/launch")
    window=$(field window <"$work/launch")
}

stop() { kill "$program_pid" 2>/dev/null; wait "$program_pid" 2>/dev/null; program_pid=""; }

# Click timings of one program into $1; the status bar must repaint at most clicks (date changes).
time_clicks()
{
    local out=$1
    shift
    launch "$@"
    "$xwatch" clicks "$window" "${day1[@]}" "${day2[@]}" 2 >/dev/null # the first leaves today
    "$xwatch" clicks "$window" "${day1[@]}" "${day2[@]}" "$clicks" >"$out"
    local changed
    changed=$(awk '$8 == 1' "$out" | wc -l)
    local wanted=$((clicks * 9 / 10))
    [ -n "$check" ] && wanted=$clicks
    if [ "$changed" -lt "$wanted" ]; then
        echo "only $changed of $clicks clicks repainted the status bar of $1 (are the day positions right?)" >&2
        [ -n "$check" ] && exit 1
    fi
    stop
}

# System calls of a batch of clicks, less the same time idle, per click.
count_syscalls()
{
    local total idle start end elapsed
    launch "$@"
    "$xwatch" clicks "$window" "${day1[@]}" "${day2[@]}" 2 >/dev/null
    strace -f -c -o "$work/strace-clicks" -p "$program_pid" 2>/dev/null &
    local tracer=$!
    sleep 0.5
    start=$(date +%s%N)
    "$xwatch" clicks "$window" "${day1[@]}" "${day2[@]}" "$clicks" >/dev/null
    end=$(date +%s%N)
    kill -INT "$tracer"
    wait "$tracer" 2>/dev/null
    elapsed=$(((end - start) / 1000000))
    strace -f -c -o "$work/strace-idle" -p "$program_pid" 2>/dev/null &
    tracer=$!
    sleep 0.5
    sleep "$(awk -v ms="$elapsed" 'BEGIN { print ms / 1000 }')"
    kill -INT "$tracer"
    wait "$tracer" 2>/dev/null
    stop
    total=$(awk '$NF == "total" { print $4 }' "$work/strace-clicks")
    idle=$(awk '$NF == "total" { print $4 }' "$work/strace-idle")
    awk -v t="${total:-0}" -v i="${idle:-0}" -v n="$clicks" 'BEGIN { printf "%.0f", (t - i) / n }'
}

for kb in 0 200; do
    todo_memo_kb "$kb"
    time_clicks "$work/click-real-$kb" "${real_cmd[@]}"
    time_clicks "$work/click-bare-$kb" "${bare_cmd[@]}"
done
[ -n "$check" ] && { echo "ok: every click was a date change"; exit 0; }
todo_memo_kb 0
syscalls_real=$(count_syscalls "${real_cmd[@]}")
syscalls_bare=$(count_syscalls "${bare_cmd[@]}")

start_map_real=$(field map_ms <"$work/start-real" | median)
start_map_bare=$(field map_ms <"$work/start-bare" | median)
start_paint_real=$(field paint_ms <"$work/start-real" | median)
start_paint_bare=$(field paint_ms <"$work/start-bare" | median)
for kb in 0 200; do
    declare "click_real_$kb=$(field ms <"$work/click-real-$kb" | median)"
    declare "click_bare_$kb=$(field ms <"$work/click-bare-$kb" | median)"
done

echo
echo "medians of $runs starts and $clicks date changes each (ms), real program against the bare window:"
row figure program bare ratio
row "start-up to mapped window" "$start_map_real" "$start_map_bare" "$(ratio "$start_map_real" "$start_map_bare")"
row "start-up to first paint done" "$start_paint_real" "$start_paint_bare" \
    "$(ratio "$start_paint_real" "$start_paint_bare")"
# shellcheck disable=SC2154 # declared above
row "date change in one month" "$click_real_0" "$click_bare_0" "$(ratio "$click_real_0" "$click_bare_0")"
# shellcheck disable=SC2154
row "date change, ToDo + メモ of 400 KB" "$click_real_200" "$click_bare_200" \
    "$(ratio "$click_real_200" "$click_bare_200")"
row "  400 KB against 0 KB (program)" "$click_real_200" "$click_real_0" "$(ratio "$click_real_200" "$click_real_0")"
row "system calls per date change" "$syscalls_real" "$syscalls_bare" "$(ratio "$syscalls_real" "$syscalls_bare")"
