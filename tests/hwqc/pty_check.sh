#!/usr/bin/env bash
# The factory tester (panel-hwqc, a program of its own) against the real-time
# headless host over a pseudo-terminal: the whole check, the restart after the
# stop command, and register writes on an image whose settings block lies at
# its very end, where they must stay inside the image.
# Usage: pty_check.sh PANEL-HEADLESS PANEL-HWQC DATAFLASH.BIN WORKDIR
set -uo pipefail
headless=$1 hwqc=$2 flash=$3 work=$4
rm -rf "$work" && mkdir -p "$work/lock"
echo 'wait 60s' >"$work/wait.scn"
pid=

stop_panel() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    pid=
}
trap stop_panel EXIT

# Starts the panel; the tester must say 05 within its 3-s window.
start_panel() {
    : >"$work/err"
    "$headless" --realtime --serial pty --lock-dir "$work/lock" "$@" "$work/wait.scn" >/dev/null 2>"$work/err" &
    pid=$!
    for _ in $(seq 100); do
        port=$(sed -n 's/^test serial port 0: //p' "$work/err")
        [ -n "$port" ] && return 0
        sleep 0.02
    done
    echo "the panel named no pseudo-terminal:"; cat "$work/err"
    exit 1
}

fail() { echo "FAILED: $*"; exit 1; }

start_panel
"$hwqc" "$port" enter check stop | tee "$work/check.txt"
grep -q '^check: passed' "$work/check.txt" || fail "the check"
# After the stop the panel starts afresh: its test window opens again.
out=$("$hwqc" "$port" enter read-register 08F0 2 stop) || fail "no new start after the stop: $out"
[ "$out" = "read-register 08F0: FF FF" ] || fail "the test marker after the restart: $out"
stop_panel

# The settings block 20 bytes before the image's end: the block's fields
# from +34 on lie outside, and writes to them must change nothing.
size=$(stat -c %s "$flash")
cp "$flash" "$work/end.bin"
at=$((size - 20))
printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((at & 255)) $((at >> 8 & 255)) $((at >> 16 & 255)) $((at >> 24)))" |
    dd of="$work/end.bin" bs=1 seek=20 conv=notrunc status=none
start_panel --flash "$work/end.bin"
out=$("$hwqc" "$port" enter write-register 0853 5A read-register 0853 1 write-register 085A 07 \
    write-register 0852 4142434445464748 read-register 0852 8 stop) || fail "registers at the image's end: $out"
echo "$out"
grep -q '^read-register 0853: 5A' <<<"$out" && fail "a byte outside the image was written"
tail -c 4 "$work/end.bin" | cmp -s - <(tail -c 4 "$flash") || fail "the image file changed"
stop_panel
grep -E 'ERROR|FATAL|runtime error' "$work/err" && fail "the panel reported an error"
echo "pty check: passed"
