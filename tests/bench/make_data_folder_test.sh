#!/usr/bin/env bash
# The benchmarks' data folder: the same options give the same bytes, --pages-only rewrites ToDo
# and メモ with the bytes a whole run writes, sizes in bytes hold, and every file is what the
# program writes (code page 932, CR LF, the program's file names).
# Usage: make_data_folder_test.sh <make_data_folder.py>
set -uo pipefail
script=${1:?make_data_folder.py}
command -v python3 >/dev/null || { echo "python3 is missing" >&2; exit 77; }
command -v iconv >/dev/null || { echo "iconv is missing" >&2; exit 77; }
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
make() { python3 "$script" "$@" >/dev/null || fail "make_data_folder.py $* failed"; }

small=(--years 2 --last-year 2021)
make "$work/a" "${small[@]}" --seed 3
make "$work/b" "${small[@]}" --seed 3
make "$work/c" "${small[@]}" --seed 4
diff -r "$work/a" "$work/b" >/dev/null || fail "the same seed gave other bytes"
diff -r "$work/a" "$work/c" >/dev/null && fail "another seed gave the same bytes"

# Only ToDo and メモ change with their sizes; the dated files stay as they were.
make "$work/d" "${small[@]}" --seed 3 --todo-bytes 5000 --memo-bytes 0
diff -r -x ToDo.txt -x Memo.txt "$work/a" "$work/d" >/dev/null || fail "ToDo and メモ sizes changed dated files"
cp -r "$work/a" "$work/e"
make "$work/e" --pages-only --seed 3 --todo-bytes 5000 --memo-bytes 0
diff -r "$work/d" "$work/e" >/dev/null || fail "--pages-only wrote other bytes than a whole run"
[ "$(ls "$work/e" | wc -l)" -eq "$(ls "$work/a" | wc -l)" ] || fail "--pages-only added or removed files"

size() { stat -c %s "$1"; }
for bytes in 1 5000 100000; do
    make "$work/f" --pages-only --todo-bytes "$bytes" --memo-bytes "$bytes"
    for name in ToDo.txt Memo.txt; do
        got=$(size "$work/f/$name")
        [ "$got" -ge "$bytes" ] && [ "$got" -le $((bytes + 200)) ] || fail "$name of $bytes bytes has $got"
    done
done
[ "$(size "$work/d/Memo.txt")" -eq 0 ] || fail "a Memo.txt of 0 bytes is not empty"

# Code page 932 with CR LF line ends and no line end after the last line, as the program writes.
for file in "$work"/a/*; do
    iconv -f CP932 -t UTF-8 "$file" >/dev/null 2>&1 || fail "$(basename "$file") is not code page 932"
done
LC_ALL=C awk 'FNR > 1 && prev !~ /\r$/ { bad = FILENAME } { prev = $0 } END { if (bad) { print bad; exit 1 } }' \
    "$work"/a/* >/dev/null || fail "a line ends without CR LF"
names=$(ls "$work/a" | LC_ALL=C grep -Ev '^([0-9]{8}\.txt|Sch[0-9]{8}\.txt|Anniv[0-9]{4}\.txt|[0-9]{6}\.csv|ToDo\.txt|Memo\.txt)$')
[ -z "$names" ] || fail "files the program does not know: $names"
[ "$(ls "$work/a" | grep -c '\.csv$')" -eq 24 ] || fail "not one month file a month"
echo "ok"
