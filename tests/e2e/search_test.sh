#!/usr/bin/env bash
# A word in a diary years back, found through 編集 → 検索: Ctrl+F, the word typed, Enter. The
# calendar moves to that day and the match is selected in the 日誌 page, so typing replaces it;
# the program then writes the changed diary at close.
# Usage: search_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

app="$E2E_WORK/app"
printf '旅の日記\r\n港で quavfindme を見つけた\r\n' | iconv -f UTF-8 -t CP932 >"$app/20150610.txt"
printf 'nothing here\r\n' >"$app/20150611.txt"

e2e_launch search
pid=$E2E_PID
e2e_wait_window "$pid"

search_window() { xdotool search --all --onlyvisible --pid "$pid" --name '^検索$' 2>/dev/null | head -n1; }
has_search_window() { [ -n "$(search_window)" ]; }

e2e_click_page_editor "$E2E_WID"
xdotool key --clearmodifiers ctrl+f
e2e_until 10 has_search_window || fail "Ctrl+F showed no window titled 検索"
swid=$(search_window)
xdotool type --delay 30 "quavfindme"
sleep 1.5 # results arrive while typing; the first hit is selected
xdotool key --clearmodifiers Return
sleep 0.5
xdotool type --delay 30 "FOUND" # replaces the selected match in the diary
sleep 0.3

# Close the search window, then end the program through the main window's menu.
xdotool windowfocus --sync "$swid" key --clearmodifiers Escape
no_search_window() { ! has_search_window; }
e2e_until 5 no_search_window || fail "Escape left the search window open"
xdotool windowfocus --sync "$E2E_WID"
e2e_exit_through_menu "$pid"

expected=$(printf '旅の日記\r\n港で FOUND を見つけた\r\n' | iconv -f UTF-8 -t CP932 | od -An -c)
actual=$(od -An -c "$app/20150610.txt")
[ "$actual" = "$expected" ] ||
    fail "20150610.txt holds $(iconv -f CP932 -t UTF-8 "$app/20150610.txt" | tr '\r\n' '  ')"
cmp -s <(printf 'nothing here\r\n') "$app/20150611.txt" || fail "20150611.txt changed"

note "passed"
