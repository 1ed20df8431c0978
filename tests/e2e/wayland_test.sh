#!/usr/bin/env bash
# Under Wayland the program cannot learn where its windows are. Started on a headless weston
# compositor and ended with SIGTERM, it must write its files and settings as anywhere else,
# leave the window places stored by an X11 session as they were, and store none it never had.
# Usage: wayland_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

if ! command -v weston >/dev/null 2>&1; then
    echo "weston is missing (scripts/install-deps.sh test installs it)" >&2
    [ -n "${CI:-}" ] && exit 1
    exit 77
fi

app="$E2E_WORK/app"
socket="quav-wayland-$$"

weston --backend=headless-backend.so --socket="$socket" --idle-time=0 --width=1024 --height=768 \
    --no-config --log="$E2E_WORK/weston.log" >/dev/null 2>&1 &
E2E_PIDS+=("$!")
compositor_up() { [ -S "$XDG_RUNTIME_DIR/$socket" ]; }
e2e_until 15 compositor_up || fail "weston did not open its socket"

# Started on the compositor only: no X display to fall back to. WAYLAND_DEBUG traces what the
# program asks of the compositor, so the test sees the main window being mapped.
wayland_launch()
{
    env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=client \
        "$app/QuavScheduler" >"$E2E_WORK/$1.log" 2>&1 &
    E2E_PID=$!
    E2E_PIDS+=("$E2E_PID")
}
window_mapped()
{
    e2e_gone "$1" && fail "the program ended before it showed its window"
    grep -q 'set_title("QuavScheduler")' "$2" && grep -q 'ack_configure' "$2" &&
        grep -q 'wl_surface@[0-9]*\.commit()' "$2"
}
run_and_terminate()
{
    wayland_launch "$1"
    local pid=$E2E_PID
    e2e_until 20 window_mapped "$pid" "$E2E_WORK/$1.log" || fail "no main window mapped within 20 s"
    sleep 1 # the first show's date change runs right after the window is mapped
    kill -TERM "$pid"
    e2e_wait_exit "$pid" 15
    [ "$E2E_STATUS" -eq 0 ] || fail "SIGTERM ended the program with status $E2E_STATUS"
}

# Places an X11 session stored.
printf '[Pos]\r\nTop=123\r\nLeft=45\r\nWidth=700\r\nHeight=500\r\n[M3Pos]\r\nTop=70\r\nLeft=60\r\n' \
    >"$app/QuavScheduler.ini"
run_and_terminate stored
ls "$app"/*.csv >/dev/null 2>&1 || fail "no month file was written"
entries=$(ini_entries "$app/QuavScheduler.ini")
expect_value "$entries" Pos/Top 123
expect_value "$entries" Pos/Left 45
expect_value "$entries" M3Pos/Top 70
expect_value "$entries" M3Pos/Left 60
expect_value "$entries" Pos/Width 700
expect_value "$entries" Pos/ActivePage 0
grep -q '^MemoFont/' <<<"$entries" || fail "the memo font was not written"

# A first start under Wayland stores no place at all, and every other key as usual.
rm -f "$app/QuavScheduler.ini" "$app"/*.csv
run_and_terminate first
entries=$(ini_entries "$app/QuavScheduler.ini")
if grep -q '^Pos/Top=\|^Pos/Left=' <<<"$entries"; then
    fail "a place the platform never told was stored: $(grep '^Pos/Top=\|^Pos/Left=' <<<"$entries" | tr '\n' ' ')"
fi
expect_value "$entries" Pos/Width 617
expect_value "$entries" Pos/Height 461
expect_value "$entries" Cal/SatColor 16636124
ls "$app"/*.csv >/dev/null 2>&1 || fail "no month file was written on the first start"

note "passed"
