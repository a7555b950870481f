#!/usr/bin/env bash
# scrkit-cli.exe under Wine builds the sample project, and its screensaver is byte for byte the
# one the native scrkit-cli builds from the same project, stub and seed.
# Its setup and script commands run the Windows stand-in compiler.
# cli_under_wine.sh WINE_STATE SCRKIT_CLI_EXE NATIVE_SCRKIT_CLI WORK ISCC_STANDIN_EXE
set -eu
state=$1 exe=$2 native=$3 work=$4 iscc=$5
here=$(cd "$(dirname "$0")" && pwd)
run="$here/../../../wine/harness/wine-run --state $state --timeout 120"

rm -rf "$work"
mkdir -p "$work"
cd "$work"
$run "$exe" --version | grep -Eq '^scrkit-cli 2\.4 \(commit ([0-9a-f]{12}(-dirty)?|unknown)\)'
# Relative paths: the Windows program sees this folder as its current one.
$run "$exe" project new -o win.kpj short_name=Cross long_name=Cross-built
$run "$exe" build win.kpj -o win.scr --seed 4242
$run "$exe" info win.scr >win-info.txt
grep -q 'long_name: Cross-built' win-info.txt
grep -q 'name "sample.swf"' win-info.txt

# A setup program through the compiler, and a script folder that the compiler takes as it is.
iscc_windows="Z:$(echo "$iscc" | tr / '\\')"
$run "$exe" setup win.kpj -o win-setup.exe --iscc "$iscc_windows"
cmp win-setup.exe "$iscc"
$run "$exe" script win.kpj -o script-folder
$run "$iscc" 'script-folder\setup.iss' >compile.txt
grep -q 'Successful compile' compile.txt
cmp script-folder/setup.exe "$iscc"
grep -q '^Source: "Cross.scr"; DestName: "Cross.scr"; DestDir: "{sys}"' script-folder/setup.iss

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
