#!/usr/bin/env bash
# The three-month view from the keyboard: View → ３ヶ月表示 opens it, Escape closes it, File → 終了
# ends the program, and the view's place is found in the settings file.
# Usage: month_view_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

app="$E2E_WORK/app"

e2e_launch monthview
pid=$E2E_PID
e2e_wait_window "$pid"

view_of() { xdotool search --all --onlyvisible --pid "$1" --name '３ヶ月表示' 2>/dev/null | head -n1; }
view_shown() { [ -n "$(view_of "$pid")" ]; }
view_hidden() { [ -z "$(view_of "$pid")" ]; }

# Keys go to the window that has the focus: a click gives it to ours.
e2e_click_page_editor "$E2E_WID"
e2e_menu_command "$pid" v v
e2e_until 10 view_shown || fail "Alt+V, V did not show the three-month view"
view=$(view_of "$pid")
note "view $view"
# shellcheck disable=SC2034 # all set by the eval; only the size is used
eval "$(xdotool getwindowgeometry --shell "$view")"
if [ "$WIDTH" -ne 695 ] || [ "$HEIGHT" -ne 480 ]; then
    fail "the view opened at ${WIDTH}x$HEIGHT, not 695x480"
fi
# The month files of this month and the next two exist or not; the view must not have written any.
month_files_before=$(folder_listing "$app" | grep -c '\.csv$')

xdotool windowfocus --sync "$view" key --clearmodifiers Escape
e2e_until 10 view_hidden || fail "Escape did not close the three-month view"

# Without a window manager nobody hands the focus back to the main window.
e2e_click_page_editor "$E2E_WID"
e2e_exit_through_menu "$pid"

[ "$(folder_listing "$app" | grep -c '\.csv$')" -eq "$month_files_before" ] ||
    fail "month files appeared after the view was open: $(folder_listing "$app" | tr '\n' ' ')"
entries=$(ini_entries "$app/QuavScheduler.ini")
for key in M3Pos/Top M3Pos/Left; do
    [[ "$(ini_value "$entries" "$key")" =~ ^-?[0-9]+$ ]] || fail "QuavScheduler.ini: $key is no integer"
done
expect_value "$entries" M3Pos/Width 695
expect_value "$entries" M3Pos/Height 480
expect_value "$entries" M3Pos/P1Width 225
expect_value "$entries" M3Pos/P2Width 225

note "passed"
