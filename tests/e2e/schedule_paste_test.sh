#!/usr/bin/env bash
# A schedule paste as a user makes it: two lines typed into the ToDo page, selected and copied
# through the Edit menu, pasted into today's cell through the Schedule menu, then the program
# ended through the File menu. Only the first line reaches the cell and the month file.
# Usage: schedule_paste_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

app="$E2E_WORK/app"
month_before=$(date +%Y%m)

e2e_launch paste
pid=$E2E_PID
e2e_wait_window "$pid"

e2e_click_page_editor "$E2E_WID"
xdotool type --delay 20 "first line"
xdotool key Return
xdotool type --delay 20 "second line"
e2e_menu_command "$pid" e a # すべて選択
e2e_menu_command "$pid" e c # コピー
e2e_menu_command "$pid" s p # 予定 → 貼り付け into the grid's current cell
e2e_exit_through_menu "$pid"

month=$(date +%Y%m)
if [ "$month" != "$month_before" ]; then
    echo "the month turned during the run; the month file cannot be told" >&2
    exit 77
fi
day=$(date +%-d)
weekdays=(日 月 火 水 木 金 土)
# The blank makes the field quoted in the comma text.
expected_row=$(printf '%d日(%s),"first line",,' "$day" "${weekdays[$(date +%w)]}")
actual_row=$(iconv -f CP932 -t UTF-8 "$app/$month.csv" | sed -n "$((day + 1))p" | tr -d '\r')
[ "$actual_row" = "$expected_row" ] || fail "today's row is '$actual_row', not '$expected_row'"
cmp -s <(printf 'first line\r\nsecond line') "$app/ToDo.txt" ||
    fail "ToDo.txt holds $(od -An -c "$app/ToDo.txt" | tr -s ' ')"

note "passed"
