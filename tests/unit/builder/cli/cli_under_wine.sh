#!/usr/bin/env bash
# scrkit-cli.exe under Wine builds the sample project, and its screensaver is byte for byte the
# one the native scrkit-cli builds from the same project, stub and seed.
# cli_under_wine.sh WINE_STATE SCRKIT_CLI_EXE NATIVE_SCRKIT_CLI WORK
set -eu
state=$1 exe=$2 native=$3 work=$4
here=$(cd "$(dirname "$0")" && pwd)
run="$here/../../../wine/harness/wine-run --state $state --timeout 120"

rm -rf "$work"
mkdir -p "$work"
cd "$work"
# Relative paths: the Windows program sees this folder as its current one.
$run "$exe" project new -o win.kpj short_name=Cross long_name=Cross-built
$run "$exe" build win.kpj -o win.scr --seed 4242
$run "$exe" info win.scr >win-info.txt
grep -q 'long_name: Cross-built' win-info.txt
grep -q 'name "sample.swf"' win-info.txt

# A project the Windows program writes opens natively, and the builds agree.
if [ ! -x "$native" ]; then
    echo "no native scrkit-cli at $native: skipping the comparison"
    exit 77
fi
"$native" project show win.kpj >/dev/null
"$native" project new -o native.kpj short_name=Cross long_name=Cross-built
"$native" build native.kpj -o native.scr --seed 4242 --stub "$(dirname "$exe")/../../runtime/saverengine.exe"
cmp native.scr win.scr
echo "identical: $(stat -c %s win.scr) bytes"
