#!/usr/bin/env bash
# One contact sheet per language in docs/languages/: the base display, the
# main menu and the help page of its first entry, the heating-circuit menu,
# the heating curve's slope dialog, the fault list and the maintenance data,
# the service menu, the service functions and the end question, a coding
# address with its description and the actor list, the participant list and a
# failed check, the diagnosis's general and circuit lists and its short query,
# and the settings menu and the circuit label, the heating time program's day
# groups and phases, the holiday dates, the menu test and its sub-menu, the
# solar chart and the information list, the flue-gas test, filling and the two
# maximum-output dialogs, as the headless host draws them. The control unit of
# the tests tells the panel its language (system block byte 5) at the start of
# communication, as a real one would.
# Usage: tools/langsheets/langsheets.sh   (after a default build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=${PANEL_HEADLESS:-$root/build/default/panel-headless}
[ -x "$bin" ] || { echo "build first: cmake --preset default && cmake --build --preset default" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every sheet's scenarios start alike: the language told at the start of
# communication, then the base display after the start-up.
started() {
    printf 'wait 1s\nset-image service 1 03\nset-image system 5 %02X\ncontrol-unit on\nwait 15s\n' "$index"
}
started_with_faults() {
    printf 'wait 1s\nset-image service 1 03\nset-image system 5 %02X\n' "$index"
    printf 'set-image faults 0 2A 02 00 00 00 07 00 3D 70 5B 69 13 19 00 00 00 00 00 00 00 00 00\n'
    printf 'control-unit on\nwait 15s\n'
}
codes=(de cz dk gb es ee fr hr it lv lt hu nl pl ru ro sl se tr)
for index in "${!codes[@]}"; do
    code=${codes[$index]}
    cat >"$work/$code.scn" <<SCN
$(started_with_faults)
snapshot $work/${code}_base.png
click MENU
wait 500
snapshot $work/${code}_menu.png
click HELP
wait 500
snapshot $work/${code}_help.png
click HELP
wait 500
click OK
wait 500
snapshot $work/${code}_circuit.png
click UP
wait 200
click DOWN
wait 200
click DOWN
wait 200
click DOWN
wait 200
click DOWN
wait 200
click DOWN
wait 200
click DOWN
wait 200
click DOWN
wait 200
click OK
wait 500
click OK
wait 500
snapshot $work/${code}_curve.png
SCN
    # The faults from a fresh start, with the maintenance due as well.
    cat >"$work/${code}_faults.scn" <<SCN
$(started_with_faults)
set-image status 7 C3
set-image status 1 4C
click MENU
wait 300
click BACK
wait 300
click OK
wait 2500
snapshot $work/${code}_faults.png
click BACK
wait 300
click DOWN
wait 200
click OK
wait 500
snapshot $work/${code}_maintenance.png
SCN
    cat >"$work/${code}_service.scn" <<SCN
$(started)
press MENU+OK
wait 4500
release
wait 500
snapshot $work/${code}_service.png
$(for _ in 1 2 3 4 5; do printf 'click DOWN\nwait 200\n'; done)
click OK
wait 500
snapshot $work/${code}_service_functions.png
click BACK
wait 500
click DOWN
wait 200
click OK
wait 500
snapshot $work/${code}_service_end.png
SCN
    cat >"$work/${code}_participants.scn" <<SCN
$(started)
press MENU+OK
wait 4500
release
wait 500
$(for _ in 1 2 3 4 5; do printf 'click DOWN\nwait 200\n'; done)
click OK
wait 500
click OK
wait 1500
snapshot $work/${code}_participants.png
click DOWN
wait 200
click DOWN
wait 200
click OK
wait 4s
snapshot $work/${code}_participant_check.png
SCN
    cat >"$work/${code}_diagnosis.scn" <<SCN
$(started)
press MENU+OK
wait 4500
release
wait 500
click OK
wait 500
click OK
wait 500
snapshot $work/${code}_diagnosis.png
click BACK
wait 300
click DOWN
wait 200
click OK
wait 500
snapshot $work/${code}_diagnosis_circuit.png
click BACK
wait 300
$(for _ in 1 2 3 4; do printf 'click DOWN\nwait 200\n'; done)
click OK
wait 500
snapshot $work/${code}_short_query.png
SCN
    cat >"$work/${code}_settings.scn" <<SCN
$(started)
click MENU
wait 300
click DOWN
wait 200
click DOWN
wait 200
click DOWN
wait 200
click OK
wait 500
snapshot $work/${code}_settings.png
$(for _ in 1 2 3 4 5; do printf 'click DOWN\nwait 200\n'; done)
click OK
wait 300
click OK
wait 300
snapshot $work/${code}_label.png
SCN
    cat >"$work/${code}_info.scn" <<SCN
$(started)
click DOWN
wait 200
click DOWN
wait 200
click OK
wait 500
snapshot $work/${code}_solar.png
click BACK
wait 300
click DOWN
wait 200
click OK
wait 500
snapshot $work/${code}_info.png
SCN
    cat >"$work/${code}_timeprog.scn" <<SCN
$(started)
click MENU
wait 500
click OK
wait 300
$(for _ in 1 2 3 4 5; do printf 'click DOWN\nwait 200\n'; done)
click OK
wait 300
snapshot $work/${code}_days.png
click OK
wait 300
snapshot $work/${code}_phases.png
SCN
    cat >"$work/${code}_holiday.scn" <<SCN
$(started)
click MENU
wait 500
click OK
wait 300
$(for _ in 1 2 3 4 5; do printf 'click DOWN\nwait 200\n'; done)
click DOWN
wait 200
click OK
wait 300
snapshot $work/${code}_holiday.png
SCN
    cat >"$work/${code}_menutest.scn" <<SCN
$(started)
button 33
wait 300
click DOWN
wait 200
snapshot $work/${code}_menutest.png
click OK
wait 300
snapshot $work/${code}_submenutest.png
SCN
    # The flue-gas test running, the filling question, the two maximum-output dialogs.
    cat >"$work/${code}_tests.scn" <<SCN
$(started)
$(for _ in 1 2 3 4; do printf 'click DOWN\nwait 200\n'; done)
click OK
wait 300
click UP
wait 200
click OK
wait 500
snapshot $work/${code}_flue_gas.png
click OK
wait 500
press MENU+OK
wait 4500
release
wait 500
$(for _ in 1 2 3 4 5; do printf 'click DOWN\nwait 200\n'; done)
click OK
wait 500
$(for _ in 1 2 3; do printf 'click DOWN\nwait 200\n'; done)
click OK
wait 1000
snapshot $work/${code}_filling.png
click BACK
wait 500
$(for _ in 1 2; do printf 'click DOWN\nwait 200\n'; done)
click OK
wait 300
click UP
wait 200
click OK
wait 300
snapshot $work/${code}_output.png
click BACK
wait 500
click DOWN
wait 200
click OK
wait 300
click UP
wait 200
click OK
wait 300
snapshot $work/${code}_fan.png
click BACK
wait 300
SCN
    # A described coding address of level 1, and the actors the control unit offers.
    cat >"$work/${code}_coding.scn" <<SCN
wait 1s
set-image service 1 03
set-image system 5 $(printf %02X "$index")
set-image messages 0 02 C2 03 C3 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F C4 C5 C6
control-unit on
wait 15s
press MENU+OK
wait 4500
release
wait 300
click DOWN
wait 200
click DOWN
wait 200
click OK
wait 300
$(for _ in 1 2 3 4; do printf 'click DOWN\nwait 200\n'; done)
click OK
wait 500
$(for _ in 1 2 3 4 5 6 7 8 9 10; do printf 'click DOWN\nwait 500\n'; done)
snapshot $work/${code}_coding.png
click BACK
wait 300
click BACK
wait 300
click UP
wait 200
click OK
wait 600
$(for _ in 1 2 3 4 5 6; do printf 'click DOWN\nwait 200\n'; done)
snapshot $work/${code}_actors.png
SCN
    "$bin" --lock-dir "$work" "$work/$code.scn"
    "$bin" --lock-dir "$work" "$work/${code}_coding.scn"
    "$bin" --lock-dir "$work" "$work/${code}_settings.scn"
    "$bin" --lock-dir "$work" "$work/${code}_faults.scn"
    "$bin" --lock-dir "$work" "$work/${code}_service.scn"
    "$bin" --lock-dir "$work" "$work/${code}_participants.scn"
    "$bin" --lock-dir "$work" "$work/${code}_diagnosis.scn"
    "$bin" --lock-dir "$work" "$work/${code}_timeprog.scn"
    "$bin" --lock-dir "$work" "$work/${code}_holiday.scn"
    "$bin" --lock-dir "$work" "$work/${code}_menutest.scn"
    "$bin" --lock-dir "$work" "$work/${code}_tests.scn"
    "$bin" --lock-dir "$work" "$work/${code}_info.scn"
    python3 "$root/tools/langsheets/compose.py" "$root/docs/languages/$code.png" \
        "$work/${code}_base.png" "$work/${code}_menu.png" "$work/${code}_help.png" \
        "$work/${code}_circuit.png" "$work/${code}_curve.png" \
        "$work/${code}_faults.png" "$work/${code}_maintenance.png" \
        "$work/${code}_service.png" "$work/${code}_service_functions.png" "$work/${code}_service_end.png" \
        "$work/${code}_coding.png" "$work/${code}_actors.png" \
        "$work/${code}_participants.png" "$work/${code}_participant_check.png" \
        "$work/${code}_diagnosis.png" "$work/${code}_diagnosis_circuit.png" "$work/${code}_short_query.png" \
        "$work/${code}_settings.png" "$work/${code}_label.png" "$work/${code}_days.png" "$work/${code}_phases.png" \
        "$work/${code}_holiday.png" "$work/${code}_menutest.png" "$work/${code}_submenutest.png" \
        "$work/${code}_solar.png" "$work/${code}_info.png" \
        "$work/${code}_flue_gas.png" "$work/${code}_filling.png" "$work/${code}_output.png" "$work/${code}_fan.png"
    echo "docs/languages/$code.png"
done
