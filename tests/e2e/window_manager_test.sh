#!/usr/bin/env bash
# Under a real window manager (openbox), which decides where the keyboard goes: a cell of the
# month grid is being edited when an option dialog opens; after the dialog, typing goes on in
# the grid (not to the menus' access keys), and the dialog is owned by the main window.
# Usage: window_manager_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

command -v openbox >/dev/null || { [ -n "${CI:-}" ] && fail "openbox missing"; exit 77; }
command -v xprop >/dev/null || { [ -n "${CI:-}" ] && fail "xprop missing"; exit 77; }
app="$E2E_WORK/app"

openbox --sm-disable >"$E2E_WORK/openbox.log" 2>&1 &
E2E_PIDS+=($!)
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
e2e_until 15 wm_ready || fail "openbox did not come up"

e2e_launch wm
pid=$E2E_PID
e2e_wait_window "$pid"

dialog_of() { xdotool search --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null | head -n1; }
dialog_shown() { [ -n "$(dialog_of "$1")" ]; }

month_before=$(date +%Y%m)
# The grid's first day, 予定1: below the menu, tool bar and caption row, right of the day column.
xdotool mousemove --window "$E2E_WID" 77 81 click 1
# Away again, so no tool tip of the cell stands in for a second window.
xdotool mousemove 0 0
sleep 0.3
xdotool type --delay 30 "abc"

# 表示 → 表示開始曜日設定, confirmed with Enter; then the typing goes on.
e2e_menu_command "$pid" v w
e2e_until 10 dialog_shown 表示開始曜日設定 || fail "the dialog did not open"
# Owned by the main window: the window manager keeps it above the window it belongs to.
owned=""
for w in $(xdotool search --pid "$pid" --name '^表示開始曜日設定$' 2>/dev/null); do
    xprop -id "$w" WM_TRANSIENT_FOR 2>/dev/null | grep -q 'window id' && owned=$w
done
[ -n "$owned" ] || fail "the dialog belongs to no window"
dialog_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$owned" ]; }
e2e_until 10 dialog_active || fail "the dialog did not get the keyboard"
xdotool key --clearmodifiers Return
main_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$E2E_WID" ]; }
e2e_until 10 main_active || fail "the main window did not get the keyboard back after the dialog"
# "d" and "e" are access keys of the menus: typed letters must reach the grid instead.
xdotool type --delay 30 "def"
xdotool key --clearmodifiers Return

e2e_exit_through_menu "$pid"
month=$(date +%Y%m)
[ "$month" = "$month_before" ] || { echo "the month turned during the run" >&2; exit 77; }
first_day=$(iconv -f CP932 -t UTF-8 "$app/$month.csv" | tr -d '\r' | sed -n 2p)
case "$first_day" in
"1日("*"),def"*) ;;
*) fail "the first day's row reads '$first_day', not the text typed after the dialog" ;;
esac
[ ! -e "$app/ToDo.txt" ] || fail "typing reached the menus: ToDo.txt holds '$(cat "$app/ToDo.txt")'"
note "passed"
