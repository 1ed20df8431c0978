#!/usr/bin/env bash
# Options changed through their dialogs by the keyboard alone: the first weekday, the column
# captions and a markup symbol, then File → 終了; all three must be in QuavScheduler.ini and the
# captions in the month file.
# Usage: option_dialogs_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

app="$E2E_WORK/app"
month_before=$(date +%Y%m)

e2e_launch options
pid=$E2E_PID
e2e_wait_window "$pid"

dialog_shown() { [ -n "$(xdotool search --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null)" ]; }
wait_dialog() { e2e_until 10 dialog_shown "$1" || fail "the dialog $1 did not open"; }
submenu_open() { [ "$(e2e_visible_window_count "$pid")" -ge 3 ]; }

# The window takes the keyboard once clicked.
e2e_click_page_editor "$E2E_WID"

# 表示 → 表示開始曜日設定: one down from 日曜日 is 月曜日; Enter is the OK button.
e2e_menu_command "$pid" v w
wait_dialog 表示開始曜日設定
xdotool key --clearmodifiers Down Return

# 予定 → 項目の設定: Enter starts a line, Tab moves on to OK.
e2e_menu_command "$pid" s i
wait_dialog 項目設定
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 "Meeting"
xdotool key --clearmodifiers Return
xdotool type --delay 20 "Out"
xdotool key --clearmodifiers Tab Return

# 表示 → 色分け記号の設定 → the third symbol.
e2e_menu_command "$pid" v s
e2e_until 5 submenu_open || fail "the markup symbol sub-menu did not open"
xdotool key --clearmodifiers 3
wait_dialog 色分け表示記号
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 "!!"
xdotool key --clearmodifiers Return

e2e_exit_through_menu "$pid"

entries=$(ini_entries "$app/QuavScheduler.ini")
expect_value "$entries" Pos/StartWeek 1
expect_value "$entries" SchItem/item_ItemCount 2
expect_value "$entries" SchItem/item_Item0 Meeting
expect_value "$entries" SchItem/item_Item1 Out
expect_value "$entries" Cal/MarkupStr2 '!!'
expect_value "$entries" Sheet/ColWidth2 50
[ -z "$(ini_value "$entries" Sheet/ColWidth3)" ] || fail "a width is stored for a column that is gone"

month=$(date +%Y%m)
if [ "$month" != "$month_before" ]; then
    echo "the month turned during the run; the month file cannot be told" >&2
    exit 77
fi
header=$(head -n1 "$app/$month.csv" | tr -d '\r')
[ "$header" = ",Meeting,Out" ] || fail "the month file starts with '$header'"

note "passed"
