# shellcheck shell=bash
# Shared steps of the end-to-end tests, sourced by the *_test.sh scripts: the built program is
# copied into a fresh folder and started on a private X display with its own home, settings and
# runtime folders, then worked with xdotool as a user would. Every wait has a limit, so a stuck
# program fails its test instead of hanging it. Set E2E_KEEP=1 to keep the work folder.

set -uo pipefail

E2E_SCREEN="-screen 0 1024x768x24"
E2E_WORK=""
E2E_PIDS=()

note() { echo "-- $*"; }

fail()
{
    echo "FAIL: $*" >&2
    local log
    for log in "$E2E_WORK"/*.log; do
        [ -s "$log" ] && { echo "== $(basename "$log")" >&2; cat "$log" >&2; }
    done
    exit 1
}

# A developer's machine without the tools skips (77); CI must have them.
e2e_require_tools()
{
    local tool missing=()
    for tool in Xvfb xdotool xwininfo xmessage iconv cmp; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "missing tools: ${missing[*]} (scripts/install-deps.sh test installs them)" >&2
    [ -n "${CI:-}" ] && exit 1
    exit 77
}

# Outside the display: make the work folder, start a private X server, then run the calling
# script again on it. The server picks a free display itself (-displayfd), so tests that start
# at the same moment never share or fight over one, as xvfb-run -a can.
e2e_main()
{
    local program=$1 script=$2
    e2e_require_tools
    [ -f "$program" ] && [ -x "$program" ] || fail "no program file at $program"
    e2e_reap_leftovers
    E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/quav-e2e.XXXXXX") || fail "cannot make a temporary folder"
    echo $$ >"$E2E_WORK/.owner"
    E2E_XVFB=""
    if [ -n "${E2E_KEEP:-}" ]; then
        note "work folder $E2E_WORK"
        trap 'e2e_stop_x' EXIT
    else
        trap 'e2e_stop_x; rm -rf "$E2E_WORK"' EXIT
    fi
    trap 'exit 143' TERM INT HUP
    mkdir -p "$E2E_WORK"/{app,home,config,data,cache,runtime,tmp}
    chmod 700 "$E2E_WORK/runtime"
    cp "$program" "$E2E_WORK/app/QuavScheduler" || fail "cannot copy $program"

    # shellcheck disable=SC2086
    # -noreset: the server must not restart between two programs of one test, or the later one
    # finds no display.
    Xvfb -displayfd 3 $E2E_SCREEN -nolisten tcp -noreset 3>"$E2E_WORK/display" >/dev/null 2>"$E2E_WORK/xvfb.log" &
    E2E_XVFB=$!
    display_ready() { grep -q . "$E2E_WORK/display" 2>/dev/null; }
    e2e_until 15 display_ready || fail "the X server did not come up"
    DISPLAY=":$(head -n1 "$E2E_WORK/display")" bash "$script" --inside "$E2E_WORK"
}

e2e_stop_x()
{
    [ -n "${E2E_XVFB:-}" ] || return 0
    kill "$E2E_XVFB" 2>/dev/null
    wait "$E2E_XVFB" 2>/dev/null
    return 0
}

# A test killed at its time limit cannot remove its work folder; the next run does, once the
# test that made it is gone.
e2e_reap_leftovers()
{
    local folder owner
    for folder in "${TMPDIR:-/tmp}"/quav-e2e.*; do
        [ -O "$folder/.owner" ] || continue
        owner=$(cat "$folder/.owner" 2>/dev/null)
        [[ "$owner" =~ ^[0-9]+$ ]] && ! kill -0 "$owner" 2>/dev/null && rm -rf "$folder"
    done
}

# Every test script starts with this: called with the program file, it prepares the work folder
# and the X server and runs the script again inside them (then ends with its status); called
# again from there, it sets up the user of our own and returns into the script.
e2e_enter()
{
    local script=$1
    shift
    if [ "${1:-}" != --inside ]; then
        e2e_main "${1:?program file}" "$script"
        exit $?
    fi
    e2e_inside "$2"
}

# Inside the display: a user of our own whose files all live in the work folder.
e2e_inside()
{
    E2E_WORK=$1
    : >"$E2E_WORK/.inside"
    export HOME="$E2E_WORK/home"
    export XDG_CONFIG_HOME="$E2E_WORK/config" XDG_DATA_HOME="$E2E_WORK/data"
    export XDG_CACHE_HOME="$E2E_WORK/cache" XDG_RUNTIME_DIR="$E2E_WORK/runtime" TMPDIR="$E2E_WORK/tmp"
    export XDG_STATE_HOME="$E2E_WORK/state" # the recovery journal
    export QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8
    # No session bus: nothing may reach the developer's desktop or start a bus daemon.
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_WORK/runtime/no-bus"
    unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR XDG_CURRENT_DESKTOP DESKTOP_SESSION SESSION_MANAGER
    trap e2e_cleanup EXIT
    trap 'exit 143' TERM INT HUP
    cd "$HOME" || fail "no home folder"
}

# Ends what this test started, by process id, should a check have failed halfway.
e2e_cleanup()
{
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        e2e_gone "$pid" || kill "$pid" 2>/dev/null
    done
    for pid in "${E2E_PIDS[@]}"; do
        e2e_until 3 e2e_gone "$pid" || kill -KILL "$pid" 2>/dev/null
    done
}

now_ns() { date +%s%N; }

# Retries the command every 50 ms until it succeeds or $1 seconds have passed.
e2e_until()
{
    local limit=$1
    shift
    local end=$(($(now_ns) + limit * 1000000000))
    until "$@"; do
        [ "$(now_ns)" -lt "$end" ] || return 1
        sleep 0.05
    done
}

# True once the process has ended; an ended child stays a zombie until waited for.
e2e_gone()
{
    local stat
    { read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 0
    stat=${stat##*) }
    [ "${stat%% *}" = Z ]
}

# Starts the program file from the user's home folder; sets E2E_PID. $1 names its log.
e2e_launch()
{
    "$E2E_WORK/app/QuavScheduler" >"$E2E_WORK/$1.log" 2>&1 &
    E2E_PID=$!
    E2E_PIDS+=("$E2E_PID")
}

# A further user beside the first, for a test that runs two copies at once: a program copy,
# home, settings, state and runtime folder of its own under $E2E_WORK/$1. The single-instance
# lock lies in the runtime folder, so each copy runs as if on a machine of its own.
e2e_add_instance()
{
    local root="$E2E_WORK/$1"
    mkdir -p "$root"/{app,home,config,data,cache,runtime,tmp,state} || fail "cannot make $root"
    chmod 700 "$root/runtime"
    cp "$E2E_WORK/app/QuavScheduler" "$root/app/QuavScheduler" || fail "cannot copy the program to $root"
}

# Starts the copy of an instance made above from its home folder; sets E2E_PID. $2 names its log.
e2e_launch_instance()
{
    local root="$E2E_WORK/$1"
    (cd "$root/home" && HOME="$root/home" XDG_CONFIG_HOME="$root/config" XDG_DATA_HOME="$root/data" \
        XDG_CACHE_HOME="$root/cache" XDG_RUNTIME_DIR="$root/runtime" TMPDIR="$root/tmp" \
        XDG_STATE_HOME="$root/state" exec "$root/app/QuavScheduler") >"$E2E_WORK/$2.log" 2>&1 &
    E2E_PID=$!
    E2E_PIDS+=("$E2E_PID")
}

# Visible top-level windows of the process titled exactly "QuavScheduler".
e2e_main_window_of() { xdotool search --all --onlyvisible --pid "$1" --name '^QuavScheduler$' 2>/dev/null; }
e2e_visible_window_count() { xdotool search --all --onlyvisible --pid "$1" --class . 2>/dev/null | wc -l; }

e2e_has_main_window()
{
    local pid=$1
    e2e_gone "$pid" && fail "the program ended before it showed its window"
    [ -n "$(e2e_main_window_of "$pid")" ]
}

# Waits for the process's main window; sets E2E_WID.
e2e_wait_window()
{
    local pid=$1
    e2e_until 20 e2e_has_main_window "$pid" || fail "no window titled QuavScheduler within 20 s"
    # shellcheck disable=SC2034 # read by the test scripts
    E2E_WID=$(e2e_main_window_of "$pid" | head -n1)
}

# Clicks into the memo page editor in the window's lower right part, so typing goes there.
e2e_click_page_editor()
{
    # shellcheck disable=SC2034 # all set by the eval; only the size is used
    local wid=$1 WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    xdotool mousemove --window "$wid" $((WIDTH * 7 / 10)) $((HEIGHT * 8 / 10)) click 1
}

e2e_only_main_window() { [ "$(e2e_visible_window_count "$1")" -eq 1 ]; }
e2e_menu_open() { [ "$(e2e_visible_window_count "$1")" -ge 2 ]; }

# Opens a menu with Alt + its access key and picks an entry by its access key.
e2e_menu_command()
{
    local pid=$1 menu=$2 entry=$3
    # A message box would pass for the menu below, and is a failure of its own.
    e2e_until 5 e2e_only_main_window "$pid" || fail "a window besides the main window is open (a message box?)"
    xdotool key --clearmodifiers "alt+$menu"
    e2e_until 5 e2e_menu_open "$pid" || fail "Alt+$menu did not open its menu"
    xdotool key --clearmodifiers "$entry"
}

# Waits up to $2 seconds for the process to end; sets E2E_STATUS.
e2e_wait_exit()
{
    local pid=$1 limit=$2
    e2e_until "$limit" e2e_gone "$pid" || fail "the program did not end within $limit s"
    wait "$pid"
    E2E_STATUS=$?
}

# File → 終了 by the keyboard, then the exit status must be 0.
e2e_exit_through_menu()
{
    local pid=$1
    e2e_menu_command "$pid" f x
    e2e_wait_exit "$pid" 15
    [ "$E2E_STATUS" -eq 0 ] || fail "the program ended with status $E2E_STATUS"
}

# Bytes of a UTF-8 text in code page 932.
cp932() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# The INI file as Section/Key=value lines, bytes untouched.
ini_entries()
{
    LC_ALL=C awk '{ sub(/\r$/, "") }
        /^\[.*\]$/ { section = substr($0, 2, length($0) - 2); next }
        index($0, "=") > 0 { i = index($0, "="); print section "/" substr($0, 1, i - 1) "=" substr($0, i + 1) }' "$1"
}

ini_value()
{
    local entries=$1 key=$2
    LC_ALL=C awk -v key="$key=" 'index($0, key) == 1 { print substr($0, length(key) + 1); exit }' <<<"$entries"
}

expect_value()
{
    local entries=$1 key=$2 expected=$3 actual
    actual=$(ini_value "$entries" "$key")
    [ "$actual" = "$expected" ] || fail "QuavScheduler.ini: $key is '$actual', expected '$expected'"
}

# The month file of an untouched month with the default column captions, in code page 932.
expected_month_file()
{
    local year=$1 month=$2 weekdays=(日 月 火 水 木 金 土) days day
    days=$(date -d "$year-$month-01 +1 month -1 day" +%-d)
    {
        printf ',予定1,予定2,予定3\r\n'
        for ((day = 1; day <= days; day++)); do
            printf '%d日(%s),,,\r\n' "$day" "${weekdays[$(date -d "$year-$month-$day" +%w)]}"
        done
    } | iconv -f UTF-8 -t CP932
}

# Names in a folder, sorted, one a line.
folder_listing() { LC_ALL=C ls -A "$1" | LC_ALL=C sort; }
