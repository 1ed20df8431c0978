#!/usr/bin/env bash
# The X server goes away under the running program (a crashed or ended desktop): the windowing
# layer ends the process, and the typed page must be written on the way out.
# Usage: display_loss_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

app="$E2E_WORK/app"
text="before the display went"

# A server of our own, so this test can take it away without touching the shared one.
# shellcheck disable=SC2086
Xvfb -displayfd 4 $E2E_SCREEN -nolisten tcp -noreset 4>"$E2E_WORK/display2" >/dev/null 2>"$E2E_WORK/xvfb2.log" &
xvfb=$!
E2E_PIDS+=("$xvfb")
display_ready() { grep -q . "$E2E_WORK/display2" 2>/dev/null; }
e2e_until 15 display_ready || fail "the second X server did not come up"
export DISPLAY=":$(head -n1 "$E2E_WORK/display2")"

e2e_launch lost
pid=$E2E_PID
e2e_wait_window "$pid"
e2e_click_page_editor "$E2E_WID"
xdotool type --delay 20 "$text"
sleep 0.5
kill -TERM "$xvfb"
e2e_wait_exit "$pid" 15
note "status after the display went: $E2E_STATUS"
cmp -s <(printf '%s' "$text") "$app/ToDo.txt" ||
    fail "after the display went ToDo.txt holds '$(cat "$app/ToDo.txt" 2>/dev/null)'"

note "passed"
