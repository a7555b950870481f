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
