#!/usr/bin/env bash
# First start in an empty program folder: type into the ToDo page, move to today through the
# View menu, end through the File menu, and check every file the program left behind.
# Usage: first_start_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

app="$E2E_WORK/app"
todo_text="hello e2e"
month_before=$(date +%Y%m)

e2e_launch first
pid=$E2E_PID
e2e_wait_window "$pid"
note "window $E2E_WID"

e2e_click_page_editor "$E2E_WID"
xdotool type --delay 20 "$todo_text"

# 今日へ移動 runs a date change, which writes the modified ToDo page while the program runs.
e2e_menu_command "$pid" v g
todo_written() { [ "$(cat "$app/ToDo.txt" 2>/dev/null)" = "$todo_text" ]; }
e2e_until 10 todo_written || fail "表示 → 今日へ移動 did not write the ToDo page to ToDo.txt"

e2e_exit_through_menu "$pid"
month=$(date +%Y%m)
if [ "$month" != "$month_before" ]; then
    echo "the month turned during the run; the month file cannot be told" >&2
    exit 77
fi

# Only the settings, the month and the one page typed into; no day file for empty pages.
expected_listing=$(printf '%s\n' QuavScheduler QuavScheduler.ini ToDo.txt "$month.csv" | LC_ALL=C sort)
[ "$(folder_listing "$app")" = "$expected_listing" ] ||
    fail "program folder holds: $(folder_listing "$app" | tr '\n' ' ')"
[ ! -e "$XDG_CONFIG_HOME/QuavScheduler" ] && [ ! -e "$XDG_DATA_HOME/QuavScheduler" ] ||
    fail "a writable program folder must keep the files beside the program, not in the per-user folders"

# A page file holds exactly the page's text.
cmp -s <(printf '%s' "$todo_text") "$app/ToDo.txt" ||
    fail "ToDo.txt holds $(od -An -c "$app/ToDo.txt" | tr -s ' ')"

# The untouched month: caption row, then one row per day with its Japanese day caption.
cmp -s <(expected_month_file "${month:0:4}" "${month:4:2}") "$app/$month.csv" ||
    fail "$month.csv differs: $(iconv -f CP932 -t UTF-8 "$app/$month.csv" | head -n3 | tr '\r\n' '  ')"

ini="$app/QuavScheduler.ini"
iconv -f CP932 -t UTF-8 "$ini" >/dev/null || fail "QuavScheduler.ini is not code page 932 text"
LC_ALL=C awk '!/\r$/ { bad = 1 } END { exit !bad }' "$ini" && fail "QuavScheduler.ini has a line without CR LF"
entries=$(ini_entries "$ini")

expected_keys=(Pos/Top Pos/Left Pos/Width Pos/Height Pos/CalWidth Pos/CalHeight Pos/StartWeek Pos/ActivePage
    Cal/SatColor Cal/SunColor)
for i in 0 1 2 3 4 5 6 7 8 9; do
    expected_keys+=("Cal/MarkupStr$i" "Cal/MarkupColor$i")
done
expected_keys+=(Memo/CharSet Memo/FontStyleBold Memo/FontStyleItalic Memo/Editor1 Data/Folder
    Sheet/ColWidth0 Sheet/ColWidth1 Sheet/ColWidth2 Sheet/ColWidth3
    MemoFont/prop_FontName MemoFont/prop_FontSize MemoFont/prop_FontColor MemoFont/prop_FontStyle
    MemoFont/prop_FontCharset)
actual_keys=$(cut -d= -f1 <<<"$entries" | LC_ALL=C sort)
wanted_keys=$(printf '%s\n' "${expected_keys[@]}" | LC_ALL=C sort)
[ "$actual_keys" = "$wanted_keys" ] ||
    fail "QuavScheduler.ini keys differ: $(diff <(echo "$wanted_keys") <(echo "$actual_keys") | grep '^[<>]' | tr '\n' ' ')"

for key in Pos/Top Pos/Left Pos/CalWidth Pos/CalHeight; do
    [[ "$(ini_value "$entries" "$key")" =~ ^-?[0-9]+$ ]] || fail "QuavScheduler.ini: $key is no integer"
done
expect_value "$entries" Pos/Width 617
expect_value "$entries" Pos/Height 461
expect_value "$entries" Pos/StartWeek 0
expect_value "$entries" Pos/ActivePage 0
expect_value "$entries" Cal/SatColor 16636124
expect_value "$entries" Cal/SunColor 13684991
symbols=(★ ☆ ● ○ ■ □ ▲ △ ▼ ▽)
colors=(5561971 10874293 14678500 16508524 16642216 16710633 15900621 16440556 5784060 13420030)
for i in 0 1 2 3 4 5 6 7 8 9; do
    expect_value "$entries" "Cal/MarkupStr$i" "$(cp932 "${symbols[$i]}")"
    expect_value "$entries" "Cal/MarkupColor$i" "${colors[$i]}"
done
expect_value "$entries" Memo/CharSet 128
expect_value "$entries" Memo/FontStyleBold 0
expect_value "$entries" Memo/FontStyleItalic 0
expect_value "$entries" Data/Folder "$app/"
for c in 0 1 2 3; do
    expect_value "$entries" "Sheet/ColWidth$c" 50
done
expect_value "$entries" MemoFont/prop_FontName "$(cp932 "ＭＳ ゴシック")"
expect_value "$entries" MemoFont/prop_FontSize 9
expect_value "$entries" MemoFont/prop_FontStyle 0
expect_value "$entries" MemoFont/prop_FontCharset 128

note "passed"
