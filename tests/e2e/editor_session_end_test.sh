#!/usr/bin/env bash
# SIGTERM while the external editor has the ToDo page: the page takes what the work file holds
# then, the program ends with status 0, the editor is not ended with it, and what the editor saves
# afterwards is kept for the next start.
# Usage: editor_session_end_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

app="$E2E_WORK/app"
journal="$XDG_STATE_HOME/QuavScheduler/recovery"
work="$app/~QuavSchedulerWork.txt"
editor="$E2E_WORK/editor.sh"
cat >"$editor" <<'SCRIPT'
#!/bin/sh
printf '25°C saved first' >"$1"
while [ ! -e "$1.go" ]; do sleep 0.05; done
printf 'saved after the end' >"$1"
touch "$1.saved"
SCRIPT
chmod 700 "$editor"
printf '[Memo]\r\nEditor1=%s\r\n' "$editor" >"$app/QuavScheduler.ini"

e2e_launch editor
pid=$E2E_PID
e2e_wait_window "$pid"
e2e_click_page_editor "$E2E_WID"
xdotool type --delay 20 "typed"
sleep 0.5
e2e_menu_command "$pid" e e # 編集 → 外部エディタで編集
holds_first() { cmp -s <(printf '25°C saved first') "$work"; }
e2e_until 10 holds_first || fail "the editor was not started on the work file"
kill -TERM "$pid"
e2e_wait_exit "$pid" 15
[ "$E2E_STATUS" -eq 0 ] || fail "SIGTERM ended the program with status $E2E_STATUS"
cmp -s <(cp932 '25°C saved first') "$app/ToDo.txt" ||
    fail "ToDo.txt holds '$(cat "$app/ToDo.txt" 2>/dev/null)', not what the editor had saved"

touch "$work.go"
saved() { [ -e "$work.saved" ]; }
e2e_until 10 saved || fail "the editor ended with the program"
[ -n "$(find "$journal" -name 'editor-hand-off' 2>/dev/null)" ] ||
    fail "nothing keeps the editor's later save for the next start"
cmp -s <(printf 'saved after the end') "$work" || fail "the work file lost the editor's later save"

note "passed"
