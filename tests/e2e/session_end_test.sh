#!/usr/bin/env bash
# The end of the session is a close request: text typed into the ToDo page, then SIGTERM (and,
# in a second run, SIGHUP) instead of File → 終了. The page, the month and the settings must be
# written, the exit status must be 0 and nothing may stay in the recovery journal.
# Usage: session_end_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

app="$E2E_WORK/app"
journal="$XDG_STATE_HOME/QuavScheduler/recovery"

for signal in TERM HUP; do
    rm -f "$app/ToDo.txt" "$app/QuavScheduler.ini"
    text="typed before $signal"
    e2e_launch "sig$signal"
    pid=$E2E_PID
    e2e_wait_window "$pid"
    e2e_click_page_editor "$E2E_WID"
    xdotool type --delay 20 "$text"
    sleep 0.5 # the keys reach the program through the X server, the signal does not
    kill -"$signal" "$pid"
    e2e_wait_exit "$pid" 15
    [ "$E2E_STATUS" -eq 0 ] || fail "SIG$signal ended the program with status $E2E_STATUS"
    cmp -s <(printf '%s' "$text") "$app/ToDo.txt" ||
        fail "after SIG$signal ToDo.txt holds '$(cat "$app/ToDo.txt" 2>/dev/null)'"
    [ -s "$app/QuavScheduler.ini" ] || fail "after SIG$signal no settings were written"
    ls "$app"/*.csv >/dev/null 2>&1 || fail "after SIG$signal no month file was written"
    leftovers=$(find "$journal" -name '*.entry' 2>/dev/null)
    [ -z "$leftovers" ] || fail "a clean end left journal entries: $leftovers"
done

note "passed"
