#!/usr/bin/env bash
# Exercises the Wine harness for real: parent window and its handle, screenshot, mouse and key
# input, registry, closing message boxes by caption, and the run time limit.
#   harness_selftest.sh --state DIR      (the helpers come from wine-setup --helpers)
set -u
harness=$(cd "$(dirname "$0")/harness" && pwd)
state=$2
tmp=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    rm -rf "$tmp"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
h() { local tool=$1; shift; "$harness/$tool" --state "$state" "$@"; }

# Waits until FILE has at least N lines (or the time runs out).
wait_lines() {
    local file=$1 n=$2 tenths=$(($3 * 10))
    while [ "$tenths" -gt 0 ]; do
        [ -f "$file" ] && [ "$(tr -d '\r' <"$file" | wc -l)" -ge "$n" ] && return 0
        sleep 0.1
        tenths=$((tenths - 1))
    done
    return 1
}
line() { tr -d '\r' <"$1" | sed -n "${2}p"; }

# --- parent window: its handle, seen on screen, receiving input, closed by caption ---------------
h wine-parent-window --rect 100 100 320 240 --color ff00ff --seconds 30 \
    --title "scrkit harness parent" >"$tmp/parent.out" 2>"$tmp/parent.err" &
parent=$!
pids+=("$parent")
if wait_lines "$tmp/parent.out" 1 20; then
    handle=$(line "$tmp/parent.out" 1)
    [[ "$handle" =~ ^[1-9][0-9]*$ ]] && pass "parent window handle $handle" || fail "handle line '$handle'"
else
    fail "parent window printed no handle"; cat "$tmp/parent.err"
    handle=""
fi

# The screenshot is a PNG of the display's size and shows the window's colour where it lies.
size=$(. "$state/env"; echo "$SCRKIT_WINE_SCREEN")
shot_ok=0
for _ in 1 2 3 4 5 6 7 8 9 10; do
    rm -f "$tmp/shot.png"
    h wine-screenshot "$tmp/shot.png" 2>"$tmp/shot.err" || true
    if [ -f "$tmp/shot.png" ] &&
        convert "$tmp/shot.png" -crop 1x1+260+220 -depth 8 txt:- | grep -qi '#FF00FF'; then
        shot_ok=1
        break
    fi
    sleep 0.3
done
[ -f "$tmp/shot.png" ] || { fail "no screenshot"; cat "$tmp/shot.err"; }
info=$(identify -format '%m %wx%h' "$tmp/shot.png" 2>&1)
[ "$info" = "PNG $size" ] && pass "screenshot is $info" || fail "screenshot is '$info', want 'PNG $size'"
[ $shot_ok = 1 ] && pass "window colour found in the screenshot" || fail "window colour not in the screenshot"
# Outside the window the desktop shows, not the window's colour.
convert "$tmp/shot.png" -crop 1x1+40+40 -depth 8 txt:- | grep -qi '#FF00FF' &&
    fail "window colour outside the window"

# A click at screen (150,130) lands at client (50,30); a key press follows the click's focus.
h wine-input mousemove 150 130 click 1
if wait_lines "$tmp/parent.out" 2 10; then
    got=$(line "$tmp/parent.out" 2)
    [ "$got" = "button 50 30" ] && pass "mouse input: $got" || fail "mouse input: '$got'"
else
    fail "mouse click did not arrive"
fi
h wine-input key a
if wait_lines "$tmp/parent.out" 3 10; then
    got=$(line "$tmp/parent.out" 3)
    [ "$got" = "key 65" ] && pass "key input: $got" || fail "key input: '$got'"
else
    fail "key press did not arrive"
fi

# Closing by caption finds the same window the program reported, and the program ends normally.
closed=$(h wine-close-window --timeout 10 "scrkit harness parent")
rc=$?
[ $rc -eq 0 ] && [ "$closed" = "$handle" ] && pass "closed window $closed by caption" ||
    fail "close by caption: rc $rc, handle '$closed', want '$handle'"
wait "$parent"
rc=$?
[ $rc -eq 0 ] && pass "parent window exit code 0" || fail "parent window exit code $rc"

# --- registry --------------------------------------------------------------------------------
key='HKCU\Software\scrkit-harness-selftest'
h wine-reg set "$key" Text REG_SZ "two  spaces and\ttab" || fail "reg set REG_SZ"
h wine-reg set "$key" Number REG_DWORD 42 || fail "reg set REG_DWORD"
got=$(h wine-reg get "$key" Text)
[ "$got" = 'two  spaces and\ttab' ] && pass "REG_SZ read back" || fail "REG_SZ read back as '$got'"
got=$(h wine-reg get "$key" Number)
[ "$got" = "0x2a" ] && pass "REG_DWORD read back" || fail "REG_DWORD read back as '$got'"
h wine-reg query "$key" | grep -q 'Number' || fail "reg query lists no Number"
h wine-reg delete "$key" Number || fail "reg delete value"
h wine-reg get "$key" Number >/dev/null 2>&1 && fail "deleted value still readable"
h wine-reg get "$key" Missing >/dev/null 2>&1 && fail "a missing value reads as present"
h wine-reg delete "$key" || fail "reg delete key"
h wine-reg get "$key" Text >/dev/null 2>&1 && fail "deleted key still readable"

# --- message boxes closed by caption: how | type | expected button id ---------------------------
box=$(. "$state/env"; echo "$SCRKIT_WINE_HELPERS")/wine_message_box.exe
while read -r how type want; do
    caption="scrkit harness box $how $type"
    h wine-run --timeout 30 "$box" "$caption" "A question" "$type" >"$tmp/box.out" 2>&1 &
    pid=$!
    pids+=("$pid")
    if [ "$how" = close ]; then
        h wine-close-window --timeout 15 "$caption" >/dev/null
    else
        h wine-close-window --timeout 15 --button "$how" "$caption" >/dev/null
    fi
    closed=$?
    wait "$pid"
    rc=$?
    [ $closed -eq 0 ] && [ $rc -eq "$want" ] && [ "$(line "$tmp/box.out" 1)" = "$want" ] &&
        pass "message box ($how, type $type) answered $rc" ||
        fail "message box ($how, type $type): close rc $closed, exit $rc, want $want"
done <<'CASES'
close 1 2
1 1 1
7 4 7
CASES
h wine-close-window --timeout 1 "no window has this caption" >/dev/null 2>&1 &&
    fail "closing a window that does not exist succeeded"

# --- time limit ----------------------------------------------------------------------------------
# A program past its limit is killed with 124, and the report names it, its Wine processes and
# its window.
start=$SECONDS
h wine-run --timeout 3 "$(dirname "$box")/wine_parent_window.exe" --seconds 60 --title "scrkit harness slow" \
    >/dev/null 2>"$tmp/slow.err"
rc=$?
[ $rc -eq 124 ] && [ $((SECONDS - start)) -lt 15 ] && pass "time limit: exit 124 after $((SECONDS - start)) s" ||
    fail "time limit: rc $rc after $((SECONDS - start)) s"
grep -q 'still running after 3 s' "$tmp/slow.err" && grep -q 'wine_parent_window.exe' "$tmp/slow.err" &&
    grep -q '"scrkit harness slow"' "$tmp/slow.err" && pass "time limit: the report names program and window" ||
    { fail "time limit: report"; cat "$tmp/slow.err"; }

# --- a finished program's output ends with it ----------------------------------------------------
# Nothing else runs beside this test, so the prefix's server may be stopped: the next program is
# the first of the prefix again, and another one keeps Wine busy after it. Its output must end
# when it does, not when the server and Wine's services (which it would have started) end.
(. "$state/env"; WINEPREFIX=$WINEPREFIX "$WINESERVER" -k) 2>/dev/null
sleep 1
start=$SECONDS
(h wine-run --timeout 30 cmd /c exit 0 2>&1 | cat >/dev/null; echo $((SECONDS - start)) >"$tmp/first.done") &
sleep 0.3
h wine-run --timeout 60 "$(dirname "$box")/wine_parent_window.exe" --seconds 45 --title "scrkit harness busy" \
    >/dev/null 2>&1 &
busy=$!
pids+=("$busy")
wait_lines "$tmp/first.done" 1 35 && pass "a program's output ends with it, after $(cat "$tmp/first.done") s" ||
    fail "a program's output stayed open while another Wine program ran"
kill "$busy" 2>/dev/null
wait "$busy" 2>/dev/null

# A test that kills wine-run (as the Python tests do to stop a program) ends the program too.
"$harness/wine-run" --state "$state" --timeout 60 "$(dirname "$box")/wine_parent_window.exe" --seconds 60 \
    --title "scrkit harness orphan" >/dev/null 2>&1 &
runner=$!
sleep 3
kill -KILL "$runner"
wait "$runner" 2>/dev/null
gone=0
for _ in $(seq 1 50); do
    pgrep -f 'wine_parent_window.exe --seconds 60 --title scrkit harness orphan' >/dev/null || { gone=1; break; }
    sleep 0.1
done
[ $gone -eq 1 ] && pass "killing wine-run ends its program" || fail "the program outlived its killed wine-run"

echo "harness self-test: $failures failure(s)"
[ $failures -eq 0 ]
