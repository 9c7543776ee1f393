#!/usr/bin/env bash
# Shows "Kelvara Lanwise" listing eight simulated modules of different kinds
# on a private test segment (four module namespaces, see tools/testseg).
#
# With a display (DISPLAY set): the program opens there and the demo ends
# when the user closes it. Without one: the program runs in a Wine virtual
# desktop on a private X server; once every module is listed, a screenshot
# goes to build/demo/lanwise.png and the program is closed.
#
# usage: tools/demo.sh            (as root, after `make build`)
# The test segment calls it back as `demo.sh --inner display|headless`.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/.." && pwd)
bin="$top/build/windows/bin"
shot="$top/build/demo/lanwise.png"
wine_run="$here/testseg/wine-run"
modules=8
desktop=lanwise

# Sends one control command to a simulator and insists on its "OK". The
# reply is one datagram; dd reads it whole in a single read.
sim() {
    local address="$1" command="$2" reply fd
    exec {fd}<>"/dev/udp/$address/$KL_SIM_CONTROL_PORT"
    printf '%s' "$command" >&"$fd"
    reply=$(timeout 2 dd bs=4096 count=1 status=none <&"$fd" || true)
    exec {fd}>&-
    if [ "$reply" != OK ]; then
        echo "demo: simulator $address refused '$command': ${reply:-no reply}" >&2
        return 1
    fi
}

# Eight modules over the four simulators: four types and versions, one
# protected by a password, two without DNS servers or host name, two using
# DHCP, seven in the workstation's subnet (198.18.0.1/24) and one in
# another, with another mask and gateway, which the list shows in grey.
# The DIO-16 modules restart for 2 s after taking new settings, as real
# modules do: the rescan right after misses them, "Keep scanning" does not.
configure_simulators() {
    local sims
    IFS=, read -r -a sims <<<"$KL_SIM_ADDRS"
    [ "${#sims[@]}" -ge 4 ] || { echo "demo: needs four simulators, got '$KL_SIM_ADDRS'" >&2; return 1; }
    sim "${sims[0]}" "reset --count 3 --mac-base 02-00-00-00-01-01 --ip-base 198.18.0.100 --type IO-GATEWAY --version 2.03.1 --protect-every 3 --password secret --hostname-prefix gateway"
    sim "${sims[1]}" "reset --count 2 --mac-base 02-00-00-00-02-01 --ip-base 198.18.0.110 --type DIO-16 --version 1.05.3 --dns1 none --dns2 none --hostname-prefix none --restart 2000"
    sim "${sims[2]}" "reset --count 2 --mac-base 02-00-00-00-03-01 --ip-base 198.18.0.120 --type AIO-8 --version 3.10.12 --dhcp on --dns2 198.18.0.53 --hostname-prefix analog"
    sim "${sims[3]}" "reset --count 1 --mac-base 02-00-00-00-04-01 --ip-base 198.18.4.100 --sn 255.255.0.0 --gw 198.18.4.1 --type RELAY-4 --version 2.00.7 --hostname-prefix relay"
}

# On the user's display: the program until the user closes it.
run_on_display() {
    echo "demo: the program is open on $DISPLAY; close it to end the demo"
    "$wine_run" "$bin/Kelvara Lanwise.exe"
}

# Waits at most $2 seconds for process $1 to end.
wait_for_exit() {
    local pid="$1" seconds="$2"
    for _ in $(seq 1 $((seconds * 10))); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid" || true; return 0; }
        sleep 0.1
    done
    return 1
}

# Headless: a virtual desktop gives the window a frame on the private X
# server; the helpers look for the program on that desktop.
run_headless() {
    "$wine_run" explorer "/desktop=$desktop,800x480" "Kelvara Lanwise.exe" &
    local explorer=$!
    echo "demo: modules listed by the program:"
    if ! "$wine_run" "$bin/list_rows.exe" --wait "$modules" --timeout 30000 --desktop "$desktop"; then
        kill "$explorer" 2>/dev/null || true
        return 1
    fi
    sleep 1  # the rows are in; let the last of them be painted
    mkdir -p "$(dirname "$shot")"
    import -window "$desktop - Wine desktop" "$shot"
    "$wine_run" "$bin/close_lanwise.exe" --desktop "$desktop"
    if ! wait_for_exit "$explorer" 15; then
        echo "demo: the virtual desktop stayed open" >&2
        kill "$explorer" 2>/dev/null || true
        return 1
    fi
    echo "demo: screenshot saved to $shot"
}

inner() {
    configure_simulators
    # The program finds its library and that library's version in its folder.
    cd "$bin"
    case "$1" in
        display) run_on_display ;;
        headless) run_headless ;;
        *) echo "demo: unknown mode '$1'" >&2; return 2 ;;
    esac
}

if [ "${1:-}" = --inner ]; then
    inner "${2:-}"
    exit
fi
for file in "Kelvara Lanwise.exe" list_rows.exe close_lanwise.exe; do
    [ -f "$bin/$file" ] || { echo "demo: $bin/$file missing (make build)" >&2; exit 2; }
done
# Decided here: inside, testseg has set DISPLAY to its own X server.
mode=headless
[ -n "${DISPLAY:-}" ] && mode=display
exec "$here/testseg/testseg" --modules 4 -- "$here/demo.sh" --inner "$mode"
