#!/usr/bin/env bash
# Fault injection: the real program is killed with SIGKILL at random moments while a driver types
# into the ToDo page and changes the date (表示 → 今日へ移動, which writes the page). After each
# kill, ToDo.txt must be one whole version the program could have written, never a cut one; after
# a restart with the restore accepted and File → 終了, nothing typed longer than the journal
# delay before the kill may be missing.
# Every segment is typed at the start of the page, so the versions are never prefixes of each
# other and a cut write cannot pass for a whole one.
# Usage: fault_injection.sh <program file> [runs]   (QUAV_FAULT_RUNS overrides; default 30)
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

runs=${QUAV_FAULT_RUNS:-30}
app="$E2E_WORK/app"
journal="$XDG_STATE_HOME/QuavScheduler/recovery"
delay_ms=3000 # journal delay of 2 s plus time for the keys and the write to land
RANDOM=${QUAV_FAULT_SEED:-$$}
whole=0 restored=0 asked=0

for ((run = 1; run <= runs; run++)); do
    old="OLD-$run"
    printf '%s' "$old" >"$app/ToDo.txt"
    rm -rf "$journal" "$app"/ToDo\ \(* "$app"/*.csv

    e2e_launch "run$run"
    pid=$E2E_PID
    e2e_wait_window "$pid"
    e2e_click_page_editor "$E2E_WID"
    xdotool key --clearmodifiers ctrl+Home

    versions=("$old") # every text a save may have written
    segments=() ends=()
    kill_at=$(($(now_ns) / 1000000 + 500 + RANDOM % 3500))
    text="$old"
    k=0
    while [ $(($(now_ns) / 1000000)) -lt "$kill_at" ]; do
        k=$((k + 1))
        seg="<$run.$k>"
        xdotool type --delay 10 "$seg"
        xdotool key --clearmodifiers ctrl+Home
        text="$seg$text"
        segments+=("$seg")
        ends+=($(($(now_ns) / 1000000)))
        if ((RANDOM % 3 == 0)); then
            e2e_menu_command "$pid" v g # the date change writes the page
            versions+=("$text")
            xdotool key --clearmodifiers ctrl+Home
        fi
        # Sometimes a pause long enough for the journal, sometimes none.
        sleep "0.$((RANDOM % 10))$((RANDOM % 10))"
        ((RANDOM % 3 == 0)) && sleep 2.2
    done
    killed=$(($(now_ns) / 1000000))
    kill -KILL "$pid"
    e2e_wait_exit "$pid" 10

    got=$(cat "$app/ToDo.txt")
    ok=""
    for v in "${versions[@]}"; do [ "$got" = "$v" ] && ok=1; done
    [ -n "$ok" ] || fail "run $run: ToDo.txt is no whole version: '$got'"
    whole=$((whole + 1))

    e2e_launch "restart$run"
    pid=$E2E_PID
    e2e_wait_window "$pid"
    question_open() { [ "$(e2e_visible_window_count "$pid")" -ge 2 ]; }
    # The question comes exactly when the journal holds entries.
    if [ -n "$(find "$journal" -maxdepth 2 -name '*.entry' 2>/dev/null)" ]; then
        e2e_until 10 question_open || fail "run $run: the journal holds entries but no question came"
        asked=$((asked + 1))
        xdotool key --clearmodifiers Return
        e2e_until 5 e2e_only_main_window "$pid" || fail "run $run: the restore question stayed open"
    elif e2e_until 1 question_open; then
        fail "run $run: a question came with an empty journal"
    fi
    e2e_click_page_editor "$E2E_WID" # the focus, for the menu keys

    e2e_exit_through_menu "$pid"

    after=$(cat "$app/ToDo.txt" "$app"/ToDo\ \(*.txt 2>/dev/null)
    for i in "${!segments[@]}"; do
        if [ $((killed - ends[i])) -gt "$delay_ms" ]; then
            [[ "$after" == *"${segments[i]}"* ]] ||
                fail "run $run: '${segments[i]}', typed $((killed - ends[i])) ms before the kill, is lost: '$after'"
        fi
    done
    [[ "$(cat "$app/ToDo.txt")" == *"$old" ]] || fail "run $run: the old text is gone: '$(cat "$app/ToDo.txt")'"
    restored=$((restored + 1))
done

note "runs $runs, whole files after the kill $whole, restarts that offered the journal $asked, complete after restore $restored"
note "passed"
