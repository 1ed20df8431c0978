#!/usr/bin/env bash
# Two copies of the program, each with its own data folder (A and B), kept in step by Unison as a
# user keeps two machines: both copies type into the same page of today, then into pages of
# their own and save now and then (表示 → 今日へ移動), while Unison runs between the folders at
# random moments; both end through File → 終了 and Unison runs again. Then every word typed on
# either side must be in a file of A or B, the two folders the same, a copy beside the page both
# typed into (Unison's conflict copy, or the program's own when its question was answered with
# 両方残す), and nothing else in the folders than data files and such copies.
# Usage: sync_unison_test.sh <program file>
#   SYNC_RUNS=N    repeats with random pages, edits and timings (default 1)
#   SYNC_SEED=S    makes the same choices again (printed at the start)
#   QUAV_E2E_MERGE_OFFER=0 leaves out the check that the next start offers the copy to 比較して統合
source "$(dirname "$0")/lib.sh"
# shellcheck disable=SC2034 # read by lib.sh
E2E_SCREEN="-screen 0 1600x900x24" # the two windows side by side

if [ "${1:-}" != --inside ] && ! command -v unison >/dev/null 2>&1; then
    echo "missing tool: unison (scripts/install-deps.sh test installs it)" >&2
    [ -n "${CI:-}" ] && exit 1
    exit 77
fi
e2e_enter "$0" "$@"

runs=${SYNC_RUNS:-1}
seed=${SYNC_SEED:-$(($(now_ns) / 1000 % 1000000))}
RANDOM=$seed
note "seed $seed (SYNC_SEED=$seed makes the same choices), runs $runs"

captions=(ToDo メモ 予定 日誌 記念日) # by tab index
declare -A data=([a]="$E2E_WORK/A" [b]="$E2E_WORK/B") left=([a]=0 [b]=800)
declare -A pid wid tab
declare -A typed_where # word -> where and when it was typed
words=()
events="$E2E_WORK/events.log"
mkdir -p "${data[a]}" "${data[b]}"
e2e_add_instance qa
e2e_add_instance qb

# Unison's archive stays in the work folder, never in a real home.
export UNISON="$E2E_WORK/unison"
mkdir -p "$UNISON"
# Batch mode; a conflict keeps the newer file in place and the other beside it as a copy.
cat >"$UNISON/quav.prf" <<EOF
root = ${data[a]}
root = ${data[b]}
batch = true
auto = true
silent = true
copyonconflict = true
prefer = newer
EOF

ms() { echo $(($(now_ns) / 1000000)); }
t0=$(ms)
event() { echo "$(($(ms) - t0)) $*" >>"$events"; }

# One Unison run; its status (0 done, 1 some files skipped, 2 some failed, 3 fatal).
sync_once()
{
    local status
    event "sync start"
    timeout 30 unison quav -ui text >>"$E2E_WORK/unison.out" 2>&1
    status=$?
    event "sync end $status"
    return "$status"
}

# Runs Unison after each pause until the stop file appears; bounded by the pauses given. While
# the hold file is there it runs none, as when the machines cannot reach each other, and says so
# with the held file.
sync_loop()
{
    local pause
    for pause in "$@"; do
        sleep "$pause"
        while [ -e "$E2E_WORK/sync-hold" ] && [ ! -e "$E2E_WORK/sync-stop" ]; do
            touch "$E2E_WORK/sync-held"
            sleep 0.05
        done
        rm -f "$E2E_WORK/sync-held"
        [ -e "$E2E_WORK/sync-stop" ] && return 0
        sync_once
        echo $? >>"$E2E_WORK/sync-status"
    done
}

start_syncing()
{
    local pauses=() i
    for ((i = 0; i < 60; i++)); do pauses+=("$((RANDOM % 2)).$((RANDOM % 10))"); done
    rm -f "$E2E_WORK"/sync-{stop,hold,held}
    sync_loop "${pauses[@]}" &
    syncer=$!
    E2E_PIDS+=("$syncer")
}

sync_held() { [ -e "$E2E_WORK/sync-held" ]; }
hold_syncing()
{
    touch "$E2E_WORK/sync-hold"
    e2e_until 40 sync_held || fail "run $run: the sync loop did not pause"
    event "syncs held"
}
release_syncing()
{
    rm -f "$E2E_WORK/sync-hold"
    event "syncs released"
}

stop_syncing()
{
    touch "$E2E_WORK/sync-stop"
    e2e_until 40 e2e_gone "$syncer" || fail "the sync loop did not stop"
    wait "$syncer"
}

start_side()
{
    local side=$1 page=$2
    printf '[Pos]\r\nTop=0\r\nLeft=%d\r\nWidth=780\r\nHeight=860\r\nActivePage=%d\r\n[Data]\r\nFolder=%s/\r\n' \
        "${left[$side]}" "$page" "${data[$side]}" >"$E2E_WORK/q$side/app/QuavScheduler.ini"
    e2e_launch_instance "q$side" "run$run-$side"
    pid[$side]=$E2E_PID
    # A copy stopped by the other's single-instance lock would end here without a window.
    e2e_wait_window "$E2E_PID"
    wid[$side]=$E2E_WID
    tab[$side]=$page
    # A clean end before leaves nothing to restore, so no question may come.
    e2e_until 1 question_open "$side" && fail "run $run: $side asked a question at start"
    event "$side started on ${captions[page]}"
}

focus() { e2e_click_page_editor "${wid[$1]}"; }

# A message box over the window: it is titled like the window.
question_of() { xdotool search --all --onlyvisible --pid "${pid[$1]}" --name '^QuavScheduler$' 2>/dev/null | grep -vx "${wid[$1]}" | head -n1; }
question_open() { [ -n "$(question_of "$1")" ]; }
# A save may ask once for each page: the next box can follow at once.
box_gone() { ! xdotool search --all --onlyvisible --pid "$1" --name '^QuavScheduler$' 2>/dev/null | grep -qx "$2"; }

# The question of a save whose file changed since it was read: Return is its default, 両方残す.
questions=0
answer_question()
{
    local side=$1 box
    box=$(question_of "$side")
    [ -n "$box" ] || return 1
    event "$side question answered"
    questions=$((questions + 1))
    xdotool key --clearmodifiers Return
    e2e_until 5 box_gone "${pid[$side]}" "$box" || fail "run $run: the question on $side did not close with Return"
    return 0
}

show_page()
{
    local side=$1 page=$2 n i
    focus "$side"
    n=$(((page - tab[$side] + 5) % 5))
    for ((i = 0; i < n; i++)); do xdotool key --clearmodifiers ctrl+Tab; done
    tab[$side]=$page
    [ "$n" -eq 0 ] || focus "$side"
}

# Types a word of its own at the start of the page: a page that follows its file keeps the caret
# at the start, so a reload never cuts a word in two.
k=0
type_word()
{
    local side=$1 page=$2 word
    k=$((k + 1))
    word=$(printf 'w%03d%s%03dx' "$run" "$side" "$k")
    show_page "$side" "$page"
    xdotool key --clearmodifiers ctrl+Home
    xdotool type --delay 8 "${captions[page]}$word "
    words+=("$word")
    typed_where[$word]="$side ${captions[page]} at $(($(ms) - t0)) ms of run $run"
    event "$side typed $word into ${captions[page]}"
}

# 表示 → 今日へ移動 saves the pages, asking about a file changed since it was read.
save_side()
{
    local side=$1 end
    focus "$side"
    e2e_menu_command "${pid[$side]}" v g
    event "$side saved"
    end=$(($(ms) + 700))
    while [ "$(ms)" -lt "$end" ]; do
        answer_question "$side" || sleep 0.05
    done
}

close_side()
{
    local side=$1 end
    focus "$side"
    e2e_menu_command "${pid[$side]}" f x
    end=$(($(ms) + 15000))
    until e2e_gone "${pid[$side]}"; do
        [ "$(ms)" -lt "$end" ] || fail "run $run: $side did not end within 15 s"
        answer_question "$side" || sleep 0.05
    done
    wait "${pid[$side]}"
    status=$?
    [ "$status" -eq 0 ] || fail "run $run: $side ended with status $status"
    event "$side closed"
    leftovers=$(find "$E2E_WORK/q$side/state" -name '*.entry' 2>/dev/null)
    [ -z "$leftovers" ] || fail "run $run: a clean end of $side left journal entries: $leftovers"
}

# Names the folders may hold: data files, and copies of them that Unison (NAME (conflict_on_DATE),
# NAME (conflict #N_on_DATE)) or the program's 両方残す (NAME (QuavSchedulerの入力 DATE TIME)) made.
copy_form=' \((conflict(_| #[0-9]+_)on_[0-9]{4}-[0-9]{2}-[0-9]{2}|QuavSchedulerの入力 [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{6}( [0-9]+)?)\)'
allowed_name()
{
    [[ "$1" =~ ^([0-9]{8}|Sch[0-9]{8}|Anniv[0-9]{4}|ToDo|Memo)($copy_form)*\.txt$ ]] ||
        [[ "$1" =~ ^[0-9]{6}($copy_form)*\.csv$ ]]
}

# Copies of a data file, by the kind that made them: "unison program".
copies_of()
{
    local stem=${1%.*} ext=${1##*.} name unison=0 program=0
    while IFS= read -r name; do
        [ "$name" = "$1" ] && continue
        [[ "$name" == "$stem ("*").$ext" ]] || continue
        allowed_name "$name" || continue
        if [[ "$name" == *QuavSchedulerの入力* ]]; then program=$((program + 1)); else unison=$((unison + 1)); fi
    done < <(folder_listing "${data[a]}")
    echo "$unison $program"
}

page_file()
{
    local day=$run_day
    case $1 in
    0) echo ToDo.txt ;;
    1) echo Memo.txt ;;
    2) echo "Sch$day.txt" ;;
    3) echo "$day.txt" ;;
    4) echo "Anniv${day:4}.txt" ;;
    esac
}

check_folders()
{
    local side name all="$E2E_WORK/all-text" word missing=() text
    for side in a b; do
        while IFS= read -r name; do
            allowed_name "$name" || fail "run $run: ${data[$side]} holds '$name', neither a data file nor a copy of one"
        done < <(folder_listing "${data[$side]}")
    done
    diff -r "${data[a]}" "${data[b]}" >"$E2E_WORK/diff.out" 2>&1 ||
        fail "run $run: the folders differ after the last sync: $(cat "$E2E_WORK/diff.out")"
    : >"$all"
    for side in a b; do
        for name in "${data[$side]}"/*; do
            [ -f "$name" ] || continue
            iconv -f CP932 -t UTF-8 "$name" >>"$all" 2>/dev/null ||
                fail "run $run: $name is not code page 932 text"
            echo >>"$all"
        done
    done
    text=$(cat "$all")
    for word in "${words[@]}"; do
        [[ "$text" == *"$word"* ]] || missing+=("$word (typed on ${typed_where[$word]})")
    done
    lost=${#missing[@]}
    [ "$lost" -eq 0 ] || fail "run $run: $lost words lost: $(printf '\n  %s' "${missing[@]}")"
}

# Sets picked to a page's tab index, other than $1 when given.
pick_page()
{
    picked=$((RANDOM % 5))
    [ "$picked" != "${1:-}" ] || picked=$(((picked + 1 + RANDOM % 4) % 5))
}

# A copy of the page's file must have come since $2 (copies_of before): both sides typed into it.
expect_copy()
{
    local page=$1 before_unison before_program after_unison after_program file
    read -r before_unison before_program <<<"$2"
    file=$(page_file "$page")
    read -r after_unison after_program < <(copies_of "$file")
    new_unison=$((after_unison - before_unison)) new_program=$((after_program - before_program))
    [ $((new_unison + new_program)) -gt 0 ] ||
        fail "run $run: both sides typed into ${captions[page]} ($file), but no new copy is beside it"
    conflicts_unison=$((conflicts_unison + new_unison)) conflicts_program=$((conflicts_program + new_program))
}

random_steps()
{
    local step side
    for ((step = $1; step > 0; step--)); do
        side=a
        ((RANDOM % 2)) && side=b
        if ((RANDOM % 3 == 0)); then
            save_side "$side"
        else
            pick_page
            type_word "$side" "$picked"
        fi
        sleep "0.$((RANDOM % 6))"
    done
}

conflicts_unison=0 conflicts_program=0
for ((run = 1; run <= runs; run++)); do
    run_start=$(ms)
    run_day=$(date +%Y%m%d) # the day the programs start on
    event "run $run"
    # The first run takes the pages of the plain case: both into today's 日誌, then ToDo on A and
    # メモ on B, and today's 予定 on both while they cannot sync; later runs choose.
    if [ "$run" -eq 1 ]; then
        shared=3 own_a=0 own_b=1 offline=2
    else
        pick_page; shared=$picked
        pick_page; own_a=$picked
        pick_page; own_b=$picked
        pick_page "$shared"; offline=$picked
    fi
    copies_shared=$(copies_of "$(page_file "$shared")")
    copies_offline=$(copies_of "$(page_file "$offline")")

    first=a second=b
    ((RANDOM % 2)) && first=b second=a
    start_side "$first" "$shared"
    start_side "$second" "$shared"
    start_syncing
    # Both type into the same page before either saves: whichever order the saves and syncs
    # come in, the two texts meet as a conflict, in the program's question or in Unison.
    type_word "$first" "$shared"
    type_word "$second" "$shared"
    type_word a "$own_a"
    type_word b "$own_b"
    random_steps $((RANDOM % 6))
    # Both save a page of the same day while no sync runs: Unison finds both changed.
    hold_syncing
    type_word "$first" "$offline"
    type_word "$second" "$offline"
    save_side "$first"
    save_side "$second"
    release_syncing
    random_steps $((RANDOM % 4))
    ((RANDOM % 2)) && save_side "$first"
    close_side "$first"
    sleep "0.$((RANDOM % 10))"
    close_side "$second"
    sleep "0.$((RANDOM % 10))"
    stop_syncing
    # The first run makes the copies of a conflict, the second carries them to the other side.
    for pass in 1 2; do
        sync_once
        status=$?
        [ "$status" -eq 0 ] || fail "run $run: unison ended with status $status after both programs ended (pass $pass)"
    done

    check_folders
    expect_copy "$shared" "$copies_shared"
    note_shared="copies of ${captions[shared]}: unison $new_unison, program $new_program"
    expect_copy "$offline" "$copies_offline"
    note "run $run: ${captions[shared]} on both, ${captions[own_a]} on A, ${captions[own_b]} on B," \
        "${captions[offline]} on both unsynced; ${#words[@]} words so far, all found; $note_shared;" \
        "of ${captions[offline]}: unison $new_unison, program $new_program; $(($(ms) - run_start)) ms"
done

syncs=$(wc -l <"$E2E_WORK/sync-status" 2>/dev/null || echo 0)
skipped=$(grep -cv '^0$' "$E2E_WORK/sync-status" 2>/dev/null)
note "runs $runs, words typed ${#words[@]}, words lost 0, syncs while running $syncs (not complete: ${skipped:-0})," \
    "conflict copies by unison $conflicts_unison, by the program's 両方残す $conflicts_program," \
    "questions answered $questions, $(($(ms) - t0)) ms"

# The next start on the folder holding a copy offers it: ファイル → 比較して統合(&M)... opens the
# dialog of that name.
check_merge_offer()
{
    if [ "${QUAV_E2E_MERGE_OFFER:-1}" != 1 ]; then
        note "skipped: the merge offer on the next start (QUAV_E2E_MERGE_OFFER=0)"
        return 0
    fi
    local copies try
    copies=$(folder_listing "${data[a]}" | grep -E "$copy_form")
    [ -n "$copies" ] || fail "no copy in ${data[a]} to offer"
    start_side a 0
    merge_shown() { [ -n "$(xdotool search --all --onlyvisible --pid "${pid[a]}" --name '^比較して統合$' 2>/dev/null)" ]; }
    # The folder is looked through after the window shows; until then the entry is not offered.
    for ((try = 1; try <= 5; try++)); do
        focus a
        e2e_menu_command "${pid[a]}" f m
        e2e_until 2 merge_shown && break
        xdotool key --clearmodifiers Escape # the menu, left open by an entry not offered
        e2e_until 2 e2e_only_main_window "${pid[a]}" || fail "the File menu did not close with Escape"
    done
    merge_shown ||
        fail "ファイル → 比較して統合 opened no window of that name; ${data[a]} holds:$(printf '\n  %s' "$copies")"
    xdotool key --clearmodifiers Escape
    e2e_until 5 e2e_only_main_window "${pid[a]}" || fail "the 比較して統合 window did not close with Escape"
    close_side a
    note "the copies were offered to 比較して統合 on the next start"
}
check_merge_offer

note "passed"
