#!/usr/bin/env bash
# Screenshots of the program with its window frame, for review by eye: the
# main window as laid out from its template, the same window resized, the
# About box, the configure dialog, the menu of a module out of this
# computer's reach (its row grey), the configure dialog that moving it in
# proposes, the list's menu over two modules at one address, and the live
# list with two modules gone silent (struck through) and its menu; then the
# main window and the configure dialog again at 120 and 144 DPI (125 % and
# 150 % display scale), and "Assign addresses" during a run, after its
# verification and at 144 DPI. Runs the program, so it must run inside a test
# segment:
#   tools/testseg/testseg --modules 3 -- tools/review_screenshots.sh
# (or `make screenshots`). Writes build/review/{main_template,main_resized,about,configure}.png,
# build/review/{reachability_menu,move_into,conflict_menu}.png,
# build/review/{assign_running,assign_verified,live_missing,live_menu}.png and
# build/review/{main,configure,assign}_{120,144}dpi.png.
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

# One control command to simulator $1 (0: the first); its reply is not
# awaited.
sim_send() {
    local sims
    IFS=, read -r -a sims <<<"$KL_SIM_ADDRS"
    printf '%s' "$2" >"/dev/udp/${sims[$1]}/$KL_SIM_CONTROL_PORT"
}

shoot() {
    local window
    window=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n 1 || true)
    import -window "${window:-root}" "$out/$1"
    echo "review_screenshots: wrote $out/$1"
}

# The display scale of the programs started from now on: each new Wine
# process reads it at start.
set_dpi() {
    "$run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

# Starts the program on a virtual desktop of this size and waits for its
# first scan's answers to be listed and painted.
start_program() {
    "$run" explorer /desktop=shots,"$1" "$bin/Kelvara Lanwise.exe" >>"$out/program.log" 2>&1 &
    program=$!
    helper wait
    sleep 3
}

# The program ends through its close box; the virtual desktop's explorer
# stays, so the prefix's server is stopped afterwards.
stop_program() {
    [ -n "${program:-}" ] || return 0
    helper close || echo "review_screenshots: the program did not close cleanly" >&2
    wineserver -k >/dev/null 2>&1 || true
    wait "$program" 2>/dev/null || true
    program=""
}

finish() {
    stop_program
    set_dpi 96
}
trap finish EXIT

# Five modules in this computer's subnet (198.18.0.1/24) and one with a
# factory address outside it, which sorts first.
sim_send 0 "reset --count 3 --mac-base 02-00-00-00-01-01 --ip-base 198.18.0.100"
sim_send 1 "reset --count 2 --mac-base 02-00-00-00-02-01 --ip-base 198.18.0.110 --type DIO-16 --version 1.05.3"
sim_send 2 "reset --count 1 --mac-base 02-00-00-00-03-01 --ip-base 192.168.1.50 --gw 192.168.1.1 --type AIO-8"
sleep 0.5

cd "$bin"
: >"$out/program.log"
set_dpi 96
start_program 800x600
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
helper dismiss

helper menu
sleep 1
shoot reachability_menu.png
helper dismiss

helper move-into
sleep 1
shoot move_into.png
helper dismiss

# A stranger answers at the first module's address: both rows turn dark red.
sim_send 0 "send-text ip = 192.168.1.50;sn = 255.255.255.0;gw = 192.168.1.1;dhcp = off;hn = stranger;mac = 0A-0B-0C-0D-0E-0F;"
sleep 1
helper menu
sleep 1
shoot conflict_menu.png
helper dismiss

# Every listed module gets an address from 198.18.0.120; the stranger
# never replies, so the run waits 2 s for it, then the verification up to
# 10 s.
helper assign
sleep 1.5
shoot assign_running.png
sleep 13
shoot assign_verified.png
helper dismiss

# Live: the stranger, heard once more, answers no live scan, and the first
# simulator's modules give way to one new module; after two silent rounds
# their rows are struck through.
sim_send 0 "send-text ip = 192.168.1.50;sn = 255.255.255.0;gw = 192.168.1.1;dhcp = off;hn = stranger;mac = 0A-0B-0C-0D-0E-0F;"
helper keep-scanning
sleep 1
sim_send 1 "reset --count 1 --mac-base 02-00-00-00-02-01 --ip-base 198.18.0.110 --type DIO-16 --version 1.05.3"
sleep 10
shoot live_missing.png
helper menu
sleep 1
shoot live_menu.png
helper dismiss
stop_program

for dpi in 120 144; do
    set_dpi "$dpi"
    "$run" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shots /d 1280x960 /f >/dev/null 2>&1
    start_program 1280x960
    shoot "main_${dpi}dpi.png"
    helper configure
    sleep 1
    shoot "configure_${dpi}dpi.png"
    helper dismiss
    helper assign preview
    sleep 1
    shoot "assign_${dpi}dpi.png"
    helper dismiss
    stop_program
done
