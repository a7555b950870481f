#!/usr/bin/env bash
# Starts scrkit.exe under Wine, waits for its main window "Tarvo Saver", closes it and expects the
# program to end by itself with exit code 0.
#   scrkit_window_test.sh STATE_DIR SCRKIT.EXE
set -u
harness=$(cd "$(dirname "$0")/../harness" && pwd)
state=$1
exe=$2
tmp=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$tmp"' EXIT

"$harness/wine-run" --state "$state" --timeout 60 "$exe" >"$tmp/out" 2>"$tmp/err" &
pid=$!
if ! "$harness/wine-close-window" --state "$state" --timeout 30 "Tarvo Saver" >"$tmp/close"; then
    echo "FAIL: no window 'Tarvo Saver' came, or it did not close"
    cat "$tmp/err"
    exit 1
fi
echo "ok: window 'Tarvo Saver' found and closed (handle $(head -1 "$tmp/close"))"
# The program must end on its own once its window is gone.
for _ in $(seq 1 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "FAIL: scrkit.exe still runs after its window closed"
    exit 1
fi
wait "$pid"
code=$?
[ "$code" -eq 0 ] || { echo "FAIL: exit code $code"; cat "$tmp/err"; exit 1; }
echo "ok: scrkit.exe ended with exit code 0"
