#!/usr/bin/env bash
# A second start of the same program file while the first runs ends at once with status 0,
# shows no window and touches no file, and brings the first one's window to the top; the first
# keeps running, ends normally through its menu, and a start after that runs again.
# Usage: second_start_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

app="$E2E_WORK/app"

e2e_launch first
first=$E2E_PID
e2e_wait_window "$first"
first_window=$E2E_WID

# Another program's window over ours, so raising ours can be seen in the stacking order.
xmessage -title quav-e2e-cover -geometry 300x200+100+100 "covering window" >"$E2E_WORK/xmessage.log" 2>&1 &
cover=$!
E2E_PIDS+=("$cover")
cover_window() { xdotool search --onlyvisible --name '^quav-e2e-cover$' 2>/dev/null | head -n1; }
cover_shown() { [ -n "$(cover_window)" ]; }
e2e_until 10 cover_shown || fail "the covering window did not appear"
cover_wid=$(cover_window)

# xwininfo lists the root's children from the top of the stack down.
stack_position()
{
    local id
    id=$(printf '0x%x' "$1")
    xwininfo -root -children | awk -v id="$id" '$1 ~ /^0x/ { n++ } $1 == id { print n; exit }'
}
first_on_top() { [ "$(stack_position "$first_window")" -lt "$(stack_position "$cover_wid")" ]; }
cover_on_top() { ! first_on_top; }
e2e_until 5 cover_on_top || fail "the covering window did not go above the program's window"

timeout 10 "$app/QuavScheduler" >"$E2E_WORK/second.log" 2>&1
status=$?
[ "$status" -ne 124 ] || fail "the second start did not end within 10 s"
[ "$status" -eq 0 ] || fail "the second start ended with status $status"

e2e_gone "$first" && fail "the first instance ended when the second started"
[ "$(e2e_main_window_of "$first")" = "$first_window" ] || fail "the first instance's window went away"
[ "$(xdotool search --onlyvisible --name '^QuavScheduler$' | wc -l)" -eq 1 ] ||
    fail "the second start left a window of its own"
# The first writes only when it closes; the second may write nothing at all.
[ "$(folder_listing "$app")" = QuavScheduler ] ||
    fail "the second start touched the program folder: $(folder_listing "$app" | tr '\n' ' ')"
e2e_until 5 first_on_top || fail "the second start did not bring the first one's window forward"

kill "$cover"
wait "$cover" 2>/dev/null

e2e_click_page_editor "$first_window"
e2e_exit_through_menu "$first"
[ -s "$app/QuavScheduler.ini" ] && compgen -G "$app/[0-9][0-9][0-9][0-9][0-9][0-9].csv" >/dev/null ||
    fail "the first instance did not write its settings and month file when it closed"

# The marker went with the first instance: a new start runs.
e2e_launch third
third=$E2E_PID
e2e_wait_window "$third"
e2e_click_page_editor "$E2E_WID"
e2e_exit_through_menu "$third"

note "passed"
