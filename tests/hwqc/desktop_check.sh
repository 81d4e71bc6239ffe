#!/usr/bin/env bash
# The factory tester against the desktop window's test serial port: the
# protocol reaches the panel through the window's host as well. A register
# read and a few cache bytes written and read back; the full check runs
# against the headless host (pty_check.sh).
# Usage: desktop_check.sh PANEL-SIM PANEL-HWQC WORKDIR
set -uo pipefail
sim=$1 hwqc=$2 work=$3
rm -rf "$work" && mkdir -p "$work/lock"
cd "$work" || exit 1
QT_QPA_PLATFORM=offscreen "$sim" --serial pty --lock-dir "$work/lock" --lcd-map "hwqc-$$" >/dev/null 2>"$work/err" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null' EXIT
fail() { echo "FAILED: $*"; cat "$work/err"; exit 1; }
port=
for _ in $(seq 250); do
    port=$(sed -n 's/^test serial port 0: //p' "$work/err")
    [ -n "$port" ] && break
    sleep 0.02
done
[ -n "$port" ] || fail "the window named no pseudo-terminal"
out=$("$hwqc" "$port" enter read-register 08F0 2 write-cache 0000 A55A0FF0 read-cache 0000 4 stop) || fail "$out"
echo "$out"
grep -q '^read-register 08F0: FF FF' <<<"$out" || fail "the test marker"
grep -q '^read-cache 0000: A5 5A 0F F0' <<<"$out" || fail "the cache bytes written"
echo "desktop pty check: passed"
