#!/usr/bin/env bash
# A hard crash after a pause in typing: the text is in the recovery journal, not in the data
# folder; the next start asks once, OK puts the text back, and File → 終了 writes it.
# Usage: crash_restore_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

app="$E2E_WORK/app"
journal="$XDG_STATE_HOME/QuavScheduler/recovery"
text="saved by the journal"

e2e_launch crashed
pid=$E2E_PID
e2e_wait_window "$pid"
e2e_click_page_editor "$E2E_WID"
xdotool type --delay 20 "$text"
journaled() { grep -rqs --include='ToDo.txt.entry' "$text" "$journal"; }
e2e_until 10 journaled || fail "the ToDo page reached no journal entry under $journal"
kill -KILL "$pid"
e2e_wait_exit "$pid" 10
[ ! -e "$app/ToDo.txt" ] || fail "ToDo.txt was written before the crash; nothing to recover"

e2e_launch restored
pid=$E2E_PID
e2e_wait_window "$pid"
question_open() { [ "$(e2e_visible_window_count "$pid")" -ge 2 ]; }
e2e_until 10 question_open || fail "the restore question did not come"
xdotool key --clearmodifiers Return # OK
# Without a window manager the focus does not come back by itself.
e2e_until 5 e2e_only_main_window "$pid" || fail "the restore question stayed open"
e2e_click_page_editor "$E2E_WID"
e2e_exit_through_menu "$pid"
cmp -s <(printf '%s' "$text") "$app/ToDo.txt" ||
    fail "after restoring, ToDo.txt holds '$(cat "$app/ToDo.txt" 2>/dev/null)'"
leftovers=$(find "$journal" -name '*.entry' 2>/dev/null)
[ -z "$leftovers" ] || fail "entries stayed after they were saved: $leftovers"

note "passed"
