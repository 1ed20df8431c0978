#!/usr/bin/env bash
# ファイル → 印刷 to a PDF file, all by keyboard: Ctrl+P, 日誌・予定 (Alt+D), the output (Alt+U,
# Down to PDFファイル), the file name (Alt+N), Enter. The PDF holds today's diary under its
# heading, with the typed text that was not saved yet.
# Usage: print_test.sh <program file>
source "$(dirname "$0")/lib.sh"
e2e_enter "$0" "$@"

command -v pdftotext >/dev/null 2>&1 || {
    echo "missing tools: pdftotext (scripts/install-deps.sh test installs it)" >&2
    [ -n "${CI:-}" ] && exit 1
    exit 77
}

app="$E2E_WORK/app"
today=$(date +%Y%m%d)
printf '朝の散歩\r\n' | iconv -f UTF-8 -t CP932 >"$app/$today.txt"
# The 日誌 page shown at start, so the click lands in today's diary.
printf '[Pos]\r\nActivePage=3\r\n' >"$app/QuavScheduler.ini"
pdf="$E2E_WORK/tmp/diary"

e2e_launch print
pid=$E2E_PID
e2e_wait_window "$pid"

print_window() { xdotool search --all --onlyvisible --pid "$pid" --name '^印刷$' 2>/dev/null | head -n1; }
has_print_window() { [ -n "$(print_window)" ]; }

# Today's diary page, with a line typed after the saved one.
xdotool windowfocus --sync "$E2E_WID"
e2e_click_page_editor "$E2E_WID"
xdotool key --clearmodifiers ctrl+End
xdotool type --delay 30 "typedline"
sleep 0.3

xdotool key --clearmodifiers ctrl+p
e2e_until 10 has_print_window || fail "Ctrl+P showed no window titled 印刷"
pwid=$(print_window)
xdotool windowfocus --sync "$pwid"
xdotool key --clearmodifiers alt+d
xdotool key --clearmodifiers alt+u Down
xdotool key --clearmodifiers alt+n
xdotool type --delay 20 "$pdf"
xdotool key --clearmodifiers Return

has_pdf() { [ -s "$pdf.pdf" ]; }
e2e_until 20 has_pdf || fail "no $pdf.pdf written"
no_print_window() { ! has_print_window; }
e2e_until 5 no_print_window || fail "the print dialog stayed open"

text=$(pdftotext -enc UTF-8 "$pdf.pdf" -)
heading="$(date +%Y)年$(date +%m)月$(date +%d)日"
grep -q "$heading" <<<"$text" || fail "no heading $heading in: $text"
grep -q "朝の散歩" <<<"$text" || fail "the saved diary is not in: $text"
grep -q "typedline" <<<"$text" || fail "the typed line is not in: $text"
[ "$(head -c 5 "$pdf.pdf")" = "%PDF-" ] || fail "$pdf.pdf is no PDF"

xdotool windowfocus --sync "$E2E_WID"
e2e_exit_through_menu "$pid"
note "passed"
