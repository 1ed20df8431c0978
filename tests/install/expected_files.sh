# shellcheck shell=bash
# The files an install puts under its prefix, sorted, one a line; the package holds the same
# under /usr. Sourced by the install tests.
install_expected_files()
{
    local id=$1 size
    {
        echo bin/QuavScheduler
        echo "share/applications/$id.desktop"
        echo share/doc/quavscheduler/changelog.gz
        echo share/doc/quavscheduler/copyright
        for size in 16 24 32 48 64 128 256; do
            echo "share/icons/hicolor/${size}x$size/apps/$id.png"
        done
        echo "share/icons/hicolor/scalable/apps/$id.svg"
        echo share/man/man1/QuavScheduler.1.gz
        echo "share/metainfo/$id.metainfo.xml"
    } | LC_ALL=C sort
}

# Regular files and links under a folder, relative to it, sorted.
files_under() { (cd "$1" && find . -type f -o -type l) | sed 's#^\./##' | LC_ALL=C sort; }

# Checks the tools a test needs; without them a developer's machine skips (77), CI fails.
require_tools()
{
    local tool missing=()
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "SKIP: missing tools: ${missing[*]} (scripts/install-deps.sh test installs them)"
    [ -n "${CI:-}" ] && exit 1
    exit 77
}
