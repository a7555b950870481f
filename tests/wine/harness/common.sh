# Sourced by the harness scripts: where Wine lives and how a test run's state is kept.
# State folder layout: env (variables for every Wine call), prefix/ (the WINEPREFIX), xvfb.pid,
# display (the Xvfb display number).

find_wine64() {
    if [ -n "${WINE64:-}" ] && [ -x "$WINE64" ]; then echo "$WINE64"; return; fi
    # Debian installs the loader off PATH.
    local w
    w=$(dpkg -L wine64 2>/dev/null | grep -E '/wine64$' | head -n 1)
    [ -n "$w" ] && [ -x "$w" ] && { echo "$w"; return; }
    for w in /usr/lib/wine/wine64 /usr/bin/wine64 /usr/bin/wine; do
        [ -x "$w" ] && { echo "$w"; return; }
    done
    return 1
}

parse_state() {
    STATE=""
    if [ "${1:-}" = "--state" ]; then STATE=$2; SHIFT_BY=2; else SHIFT_BY=0; fi
    [ -n "$STATE" ] || STATE=${SCRKIT_WINE_STATE:-}
    if [ -z "$STATE" ]; then echo "wine harness: no --state folder" >&2; exit 2; fi
}

load_env() {
    if [ ! -f "$STATE/env" ]; then
        echo "wine harness: $STATE is not prepared (run the wine.setup test first)" >&2
        exit 2
    fi
    # shellcheck disable=SC1091
    . "$STATE/env"
    export WINEPREFIX DISPLAY WINEDEBUG WINEDLLOVERRIDES WINE64 WINESERVER SCRKIT_WINE_HELPERS
    ensure_server
}

# The first Wine process of a prefix starts its wineserver and Wine's own services (services.exe,
# winedevice.exe, rpcss.exe ...), and they keep that process's stderr open for as long as they
# live. Under CTest that is a test's output pipe, so a test that happened to start them looks alive
# (CTest waits for the end of its output) until every other Wine test has ended. The run's server
# and services are therefore started here, holding only their log, and kept until wine-cleanup;
# when the server already runs this returns at once.
ensure_server() {
    [ -d "$WINEPREFIX" ] || return 0
    "$WINESERVER" -p </dev/null >>"$STATE/wineserver.log" 2>&1 || return 0
    "$WINE64" cmd /c exit 0 </dev/null >>"$STATE/wineserver.log" 2>&1 || true
}

# Tells what a Windows program that ran past its limit was still doing: the program, the Wine
# processes of this prefix alive now, and the windows on the run's display.
report_stuck() {
    local what=$1 limit=$2 pid env
    echo "wine-run: $what still running after $limit s; killing it" >&2
    echo "wine-run: Wine processes of $WINEPREFIX:" >&2
    for pid in $(pgrep -f 'wine|\.exe' 2>/dev/null); do
        env=$({ tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -x "WINEPREFIX=$WINEPREFIX") || continue
        echo "  $(ps -o pid=,etimes=,args= -p "$pid" 2>/dev/null)" >&2
    done
    echo "wine-run: windows on display $DISPLAY:" >&2
    xwininfo -display "$DISPLAY" -root -children 2>/dev/null | grep -E '^ +0x' | grep -v '(has no name)' |
        sed 's/^ */  /' >&2 || true
}

# The Windows helper programs built in tests/wine/helpers (wine-setup --helpers DIR).
helper_exe() {
    local exe="${SCRKIT_WINE_HELPERS:-}/$1.exe"
    if [ -z "${SCRKIT_WINE_HELPERS:-}" ] || [ ! -f "$exe" ]; then
        echo "wine harness: helper $1.exe not found (wine-setup --helpers DIR, build the helpers)" >&2
        exit 2
    fi
    echo "$exe"
}
