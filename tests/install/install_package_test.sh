#!/usr/bin/env bash
# Installs the Debian package on this machine, starts the installed program from its menu entry
# as a new ordinary user with an empty home on a private X display, types into the ToDo page,
# ends through File → 終了, finds the page in that user's data folder and still there after a
# restart; then removes the package and the user. It changes the system, so it runs only as
# root and only when QUAV_INSTALL_TEST=1 (CI sets it); otherwise it is skipped (77).
# Usage: install_package_test.sh <build folder> <application id> <version>
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/expected_files.sh" # require_tools
build=${1:?build folder} id=${2:?application id} version=${3:?version}

skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "needs root: it installs a package and adds a user"
[ "${QUAV_INSTALL_TEST:-}" = 1 ] ||
    skip "it installs a package into this system and adds a user; set QUAV_INSTALL_TEST=1 to allow (CI does)"
require_tools cpack dpkg dpkg-deb apt-get useradd userdel setpriv xprop
e2e_require_tools
if dpkg-query -W -f='${Status}' quavscheduler 2>/dev/null | grep -q 'ok installed'; then
    skip "quavscheduler is installed on this machine already; the test would replace and remove it"
fi

E2E_WORK=$(mktemp -d /tmp/quav-install.XXXXXX) || exit 1
chmod 755 "$E2E_WORK"
E2E_XVFB=""
package_installed=""
user=""
apt_options=(-y -q -o DPkg::Lock::Timeout=300 --no-install-recommends)
export DEBIAN_FRONTEND=noninteractive

install_cleanup()
{
    e2e_cleanup
    e2e_stop_x
    if [ -n "$package_installed" ]; then
        apt-get purge "${apt_options[@]}" quavscheduler >>"$E2E_WORK/apt.log" 2>&1 ||
            echo "could not remove the package quavscheduler" >&2
    fi
    [ -n "$user" ] && { userdel "$user" || echo "could not remove the user $user" >&2; }
    rm -rf "$E2E_WORK"
}
trap install_cleanup EXIT
trap 'exit 143' TERM INT HUP

note "building the package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$E2E_WORK/out" >"$E2E_WORK/cpack.log" 2>&1 ||
    fail "cpack failed"
deb=$E2E_WORK/out/quavscheduler_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack made no $(basename "$deb")"

note "installing $(basename "$deb")"
package_installed=1
apt-get install "${apt_options[@]}" "$deb" >"$E2E_WORK/apt.log" 2>&1 || fail "apt-get could not install the package"
entry=/usr/share/applications/$id.desktop
command=$(sed -n 's/^Exec=//p' "$entry")
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$command" ] || fail "the menu entry has no Exec line"

# A new user with an empty home and no XDG variables: the program must find its folders itself.
user=quavtest$$
useradd --user-group --no-create-home --home-dir "$E2E_WORK/home" --shell /bin/sh "$user" 2>"$E2E_WORK/useradd.log" ||
    { user=""; fail "useradd failed"; }
home=$E2E_WORK/home runtime=$E2E_WORK/runtime
mkdir -m 700 "$home" "$runtime"
chown "$user:$user" "$home" "$runtime"

# shellcheck disable=SC2086
Xvfb -displayfd 3 $E2E_SCREEN -nolisten tcp -noreset 3>"$E2E_WORK/display" >/dev/null 2>"$E2E_WORK/xvfb.log" &
# shellcheck disable=SC2034 # stopped by e2e_stop_x
E2E_XVFB=$!
display_ready() { grep -q . "$E2E_WORK/display" 2>/dev/null; }
e2e_until 15 display_ready || fail "the X server did not come up"
DISPLAY=":$(head -n1 "$E2E_WORK/display")"
export DISPLAY

# exec all the way down, so the process id is the program's; sets pid. $1 names the log.
start_as_user()
{
    # shellcheck disable=SC2086 # the Exec line is split into words as a desktop does
    (cd "$home" && exec setpriv --reuid="$user" --regid="$user" --init-groups \
        env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/local/bin:/usr/bin:/bin DISPLAY="$DISPLAY" \
        LANG=C.UTF-8 XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb \
        DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/no-bus" $command) >"$E2E_WORK/$1.log" 2>&1 &
    pid=$!
    E2E_PIDS+=("$pid")
    e2e_wait_window "$pid"
}

note "starting '$command' from the menu entry as $user"
start_as_user first

# The desktop matches the window to its menu entry by the window class.
actual_class=$(xprop -id "$E2E_WID" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')
[ "$actual_class" = "$wm_class" ] || fail "window class '$actual_class', the menu entry expects '$wm_class'"

text="installed $$"
e2e_click_page_editor "$E2E_WID"
xdotool type --delay 20 "$text"
e2e_exit_through_menu "$pid"

data=$home/.local/share/QuavScheduler
[ "$(cat "$data/ToDo.txt" 2>/dev/null)" = "$text" ] ||
    fail "no ToDo page in $data: $(ls -A "$data" 2>&1 | tr '\n' ' ')"
[ -f "$home/.config/QuavScheduler/QuavScheduler.ini" ] || fail "no settings file in ~/.config/QuavScheduler"
[ "$(stat -c %U "$data/ToDo.txt")" = "$user" ] || fail "the page does not belong to $user"
[ ! -e /usr/bin/QuavScheduler.ini ] || fail "settings were written beside the installed program"

# After a restart the program finds the same folders and the page it wrote; an empty page would
# have removed the file at the close.
note "starting again"
start_as_user second
# Without a window manager nothing gives the new window the keyboard until it is clicked.
e2e_click_page_editor "$E2E_WID"
e2e_exit_through_menu "$pid"
[ "$(cat "$data/ToDo.txt" 2>/dev/null)" = "$text" ] || fail "the ToDo page did not survive a restart"
entries=$(ini_entries "$home/.config/QuavScheduler/QuavScheduler.ini")
expect_value "$entries" Data/Folder "$data/"

note "removing the package"
apt-get purge "${apt_options[@]}" quavscheduler >>"$E2E_WORK/apt.log" 2>&1 || fail "apt-get could not remove the package"
package_installed=""
for path in /usr/bin/QuavScheduler "$entry" "/usr/share/metainfo/$id.metainfo.xml"; do
    [ ! -e "$path" ] || fail "$path is left after the package was removed"
done
[ -f "$data/ToDo.txt" ] || fail "removing the package took the user's notes"

note "passed"
