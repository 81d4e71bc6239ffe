# Shared by the desktop benchmarks: a virtual X display and a simulator on it.
# Sourced; sets DISPLAY, SIM_PID, LCD_MAP, WORK; cleans up on exit.
# PANEL_BIN names another folder of panel-sim and panel-lcdmap (an older build, to compare).
bin=$(realpath -m "${PANEL_BIN:-build/default}")
for tool in "$bin/panel-sim" "$bin/panel-lcdmap"; do
    [ -x "$tool" ] || { echo "build first: cmake --preset default && cmake --build --preset default" >&2; exit 2; }
done
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "needs $tool (Debian: xvfb, xdotool)" >&2; exit 2; }
done
WORK=$(mktemp -d)
display=$((100 + $$ % 400))
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
SIM_PID=
cleanup() {
    [ -n "$SIM_PID" ] && kill "$SIM_PID" 2>/dev/null && wait "$SIM_PID" 2>/dev/null
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
LCD_MAP="PanelBench$$"

# start_sim ARGS...: starts panel-sim and waits for its window.
start_sim() {
    (cd "$WORK" && exec "$bin/panel-sim" --lock-dir "$WORK" --lcd-map "$LCD_MAP" "$@" 2>"$WORK/sim.err") &
    SIM_PID=$!
    timeout 10 xdotool search --sync --name '^LumUI Simulation' >/dev/null
}

# settle: waits until the LCD has not changed for 2 s (the start-up screen is
# over; the base display redraws far less often), at most 60 s.
settle() {
    local end=$((SECONDS + 60))
    while [ $SECONDS -lt $end ]; do
        "$bin/panel-lcdmap" --name "$LCD_MAP" --wait-change 2000 >/dev/null 2>&1 || return 0
    done
    echo "the LCD never settled" >&2
    return 1
}
