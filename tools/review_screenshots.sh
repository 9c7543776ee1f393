#!/usr/bin/env bash
# Screenshots of the program with its window frame, for review by eye: the
# main window as laid out from its template, the same window resized, and
# the About box. Runs the program, so it must run inside a test segment:
#   tools/testseg/testseg --modules 3 -- tools/review_screenshots.sh
# (or `make screenshots`). Writes build/review/{main_template,main_resized,about,configure}.png.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin="$root/build/windows/bin"
out="$root/build/review"
run="$root/tools/testseg/wine-run"
mkdir -p "$out"

# Every Wine process of this (fresh) prefix shares one virtual desktop, so
# the helper finds the program's windows.
"$run" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shots /f >/dev/null 2>&1
"$run" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shots /d 800x600 /f >/dev/null 2>&1

helper() { "$run" "$bin/frame_helper.exe" "$@"; }

shoot() {
    local window
    window=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n 1 || true)
    import -window "${window:-root}" "$out/$1"
    echo "review_screenshots: wrote $out/$1"
}

cd "$bin"
"$run" explorer /desktop=shots,800x600 "$bin/Kelvara Lanwise.exe" >"$out/program.log" 2>&1 &
program=$!
finish() {
    # The program ends through its close box; the virtual desktop's
    # explorer stays, so the prefix's server is stopped afterwards.
    helper close || echo "review_screenshots: the program did not close cleanly" >&2
    wineserver -k >/dev/null 2>&1 || true
    wait "$program" 2>/dev/null || true
}
trap finish EXIT

helper wait
sleep 3   # the first scan's answers arrive and the list is painted
shoot main_template.png

helper move 20 20 760 520
sleep 1
shoot main_resized.png

helper about
sleep 1
shoot about.png
helper dismiss

helper configure
sleep 1
shoot configure.png
