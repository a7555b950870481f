#!/usr/bin/env bash
# Runs the real stub (and the launcher) under the test run's Wine: stub_under_wine.sh CASE
# Needs in the environment: HARNESS, STATE, STUB, PROBE, BUILDER, POMLET, WORK (a scratch folder).
set -u
run() { "$HARNESS/wine-run" --state "$STATE" "$@"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
winpath() { echo "Z:$1" | tr '/' '\\'; }

rm -rf "$WORK"; mkdir -p "$WORK"
. "$STATE/env"; export DISPLAY
temp_win=$(run cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
temp=$(run winepath -u "$temp_win" 2>/dev/null | tr -d '\r')
[ -d "$temp" ] || fail "no temporary folder ($temp_win)"
folder="$temp/swfsaver"
rm -rf "$folder"

# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
    local limit=$(( $1 * 10 )); shift
    for _ in $(seq 1 $limit); do "$@" && return 0; sleep 0.1; done
    return 1
}
count_files() { [ "$(ls -A "$folder" 2>/dev/null | wc -l)" -eq "$1" ]; }
# Ends the full-screen window the way a user does: a key press.
press_key_until_gone() {
    local pid=$1
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        xdotool mousemove 512 384 click 1 >/dev/null 2>&1
        xdotool key space >/dev/null 2>&1
        sleep 0.3
    done
    return 1
}
# run_saver SCR ARGS...: starts the stub in the background; sets $saver_pid. A stub left running
# by a failed case would later end and remove the folder under the next case's feet.
saver_pid=""
trap '[ -n "$saver_pid" ] && kill "$saver_pid" 2>/dev/null' EXIT
run_saver() { run "$@" >"$WORK/saver.log" 2>&1 & saver_pid=$!; }
wait_exit() {
    local code=0
    wait "$saver_pid" || code=$?
    saver_pid=""
    [ "$code" -eq 0 ] || fail "stub exit code $code"
}

case "$1" in
testflash)
    # No Flash Player in the prefix: the notice, then exit 0 without touching the payload.
    cp "$STUB" "$WORK/saver.scr"
    run_saver "$WORK/saver.scr" /testflash
    run "$PROBE" --answer "Flash Player required" 7 "$(winpath "$WORK/box.txt")" || fail "no message box"
    wait_exit
    expected='text=It appears that Flash Player is not installed on your system.
This screensaver requires it.
Do you want to open the online installation of Flash Player?
|
yes=1 no=1 ok=0 cancel=0
owner=0'
    [ "$(tr -d '\r' <"$WORK/box.txt")" = "$expected" ] || { cat "$WORK/box.txt"; fail "message box differs"; }
    [ -d "$folder" ] || fail "the temporary folder should stay after testflash"
    ;;
longpath)
    # A program path of 300 characters or more does not fit the stub's buffer: it loads nothing,
    # shows nothing, ends with -1 and still removes the temporary folder it made at start.
    deep="$WORK/$(printf 'd%.0s' $(seq 1 150))/$(printf 'e%.0s' $(seq 1 150))"
    mkdir -p "$deep"
    cp "$STUB" "$deep/saver.scr"
    [ "${#deep}" -ge 300 ] || fail "the test path is too short"
    code=0
    run --timeout 60 "$deep/saver.scr" /c >"$WORK/saver.log" 2>&1 || code=$?
    [ "$code" -eq 255 ] || { cat "$WORK/saver.log"; fail "exit code $code, expected 255 (-1)"; }
    [ ! -e "$folder" ] || fail "temporary folder left behind"
    ;;
configure)
    # The stub without payload: no argument configures; the dialog comes from template 245.
    cp "$STUB" "$WORK/plain stub.scr"
    run_saver "$WORK/plain stub.scr"
    run "$PROBE" --answer "Tarvo Saver" 2 "$(winpath "$WORK/dialog.txt")" || fail "no settings dialog"
    wait_exit
    grep -q 'cancel=0' "$WORK/dialog.txt" || fail "the dialog has no Cancel button"
    [ ! -e "$folder" ] || fail "temporary folder left behind"
    ;;
extract)
    # A built screensaver: every item lands in %TEMP%\swfsaver under its name while the window
    # runs, and everything is gone after exit. Compressed + scrambled, then stored + scrambled.
    for flags in 0x3F 0x3E; do
        mkdir -p "$WORK/expect$flags"
        python3 "$BUILDER" --stub "$STUB" --out "$WORK/stars.scr" --flags $flags \
            --expect "$WORK/expect$flags" --item intro.swf:20000:1 --item :30000:2 \
            --item data.txt:5:3 || fail "builder"
        run_saver "$WORK/stars.scr" /s
        wait_for 30 count_files 3 || { ls -la "$folder"; fail "items not extracted ($flags)"; }
        sleep 0.5
        cmp "$folder/intro.swf" "$WORK/expect$flags/0.bin" || fail "intro.swf differs ($flags)"
        cmp "$folder/data.txt" "$WORK/expect$flags/2.bin" || fail "data.txt differs ($flags)"
        generated=$(ls "$folder" | grep '^!qvr[0-9][0-9]*$') || fail "no generated name ($flags)"
        cmp "$folder/$generated" "$WORK/expect$flags/1.bin" || fail "$generated differs ($flags)"
        press_key_until_gone "$saver_pid" || fail "the screensaver did not end on a key"
        wait_exit
        [ ! -e "$folder" ] || { ls -la "$folder"; fail "temporary folder left behind ($flags)"; }
    done
    ;;
names)
    # Crafted names with folder parts write nothing outside the folder.
    mkdir -p "$WORK/evil"
    python3 "$BUILDER" --stub "$STUB" --out "$WORK/evil/crafted.scr" \
        --item '..\escaped.swf:64:1' --item '..\..\up2.swf:64:2' --item 'C:evil.swf:64:3' \
        --item '..:64:4' || fail "builder"
    run_saver "$WORK/evil/crafted.scr" /s
    wait_for 30 count_files 4 || { ls -la "$folder"; fail "items not extracted"; }
    [ "$(ls "$folder" | grep -c '^!qvr[0-9][0-9]*$')" -eq 4 ] || { ls -la "$folder"; fail "names used"; }
    press_key_until_gone "$saver_pid" || fail "the screensaver did not end"
    wait_exit
    found=$(find "$temp/.." "$WORK" -name 'escaped.swf' -o -name 'up2.swf' -o -name 'evil.swf' 2>/dev/null)
    [ -z "$found" ] || fail "written outside the folder: $found"
    [ ! -e "$folder" ] || fail "temporary folder left behind"
    # "swfsaver" planted as a link to another folder: nothing there is written over or deleted.
    mkdir -p "$WORK/elsewhere"
    echo precious >"$WORK/elsewhere/intro.swf"
    python3 "$BUILDER" --stub "$STUB" --out "$WORK/evil/linked.scr" --item intro.swf:64:1 ||
        fail "builder"
    ln -s "$WORK/elsewhere" "$folder"
    run_saver "$WORK/evil/linked.scr" /s
    sleep 1
    press_key_until_gone "$saver_pid" || fail "the screensaver did not end"
    wait_exit
    [ "$(cat "$WORK/elsewhere/intro.swf" 2>/dev/null)" = precious ] || fail "written through a link"
    [ "$(ls "$WORK/elsewhere")" = intro.swf ] || fail "files left through a link"
    rm -f "$folder"
    ;;
modes)
    # Modes that show nothing still load the payload and clean up; nothing is extracted.
    python3 "$BUILDER" --stub "$STUB" --out "$WORK/quiet.scr" --item a.swf:100:1 || fail "builder"
    for args in /x /TestFlash "/testflash x" "/p:0" "/a 0"; do
        # shellcheck disable=SC2086
        run "$WORK/quiet.scr" $args >/dev/null 2>&1 || fail "exit code for $args"
        [ ! -e "$folder" ] || fail "temporary folder left behind for $args"
    done
    ;;
launcher)
    mkdir -p "$WORK/my launcher" "$WORK/probe dir"
    cp "$POMLET" "$WORK/my launcher/pomlet.exe"
    cp "$PROBE" "$WORK/probe dir/command_probe.exe"
    cp "$PROBE" "$WORK/my launcher/command_probe.exe"
    export PROBE_LOG; PROBE_LOG=$(winpath "$WORK/probe.log")
    export PROBE_APP; PROBE_APP=$(winpath "$WORK/my launcher/pomlet.exe")
    launcher_win=$(winpath "$WORK/my launcher/pomlet.exe")
    probe_win=$(winpath "$WORK/probe dir/command_probe.exe")
    tab=$(printf '\t')
    # launch LINE EXPECTED: the launcher started with LINE must start EXPECTED (or nothing).
    launch() {
        rm -f "$WORK/probe.log"
        export PROBE_LINE="$1"
        run "$PROBE" --run >/dev/null 2>&1; code=$?
        [ "$code" -eq 0 ] || fail "launcher exit code $code for [$1]"
        if [ -n "$2" ]; then
            wait_for 20 test -s "$WORK/probe.log" || fail "nothing started for [$1]"
            sleep 0.3
            [ "$(tr -d '\r' <"$WORK/probe.log")" = "$2" ] || fail "started [$(cat "$WORK/probe.log")], wanted [$2]"
        else
            sleep 3
            [ ! -e "$WORK/probe.log" ] || fail "started [$(cat "$WORK/probe.log")] for [$1]"
        fi
    }
    launch "\"$launcher_win\" \"$probe_win\" /C" "\"$probe_win\" /C"
    launch "\"$launcher_win\"  $tab $tab  \"$probe_win\" /S x" "\"$probe_win\" /S x"
    launch "pomlet.exe$tab$tab command_probe.exe /testflash" "command_probe.exe /testflash"
    launch "\"$launcher_win $probe_win /C" ""
    launch "\"$launcher_win\"" ""
    ;;
*)
    fail "unknown case $1" ;;
esac
echo "ok: $1"
