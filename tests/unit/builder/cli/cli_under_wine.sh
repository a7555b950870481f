#!/usr/bin/env bash
# scrkit-cli.exe under Wine builds the sample project, and its screensaver is byte for byte the
# one the native scrkit-cli builds from the same project, stub and seed.
# Its setup and script commands run the Windows stand-in compiler; a folder of accented names
# works as well, and gives the same screensaver natively.
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

# Windows names ignore case: the project spelt in capitals is the project, and stays as it was.
cp win.kpj win-before.kpj
! $run "$exe" build win.kpj -o WIN.KPJ --seed 4242 2>refused.txt
grep -q 'The output would overwrite the project' refused.txt
cmp win.kpj win-before.kpj

# A setup program through the compiler, and a script folder that the compiler takes as it is.
iscc_windows="Z:$(echo "$iscc" | tr / '\\')"
$run "$exe" setup win.kpj -o win-setup.exe --iscc "$iscc_windows"
cmp win-setup.exe "$iscc"
$run "$exe" script win.kpj -o script-folder
$run "$iscc" 'script-folder\setup.iss' >compile.txt
grep -q 'Successful compile' compile.txt
cmp script-folder/setup.exe "$iscc"
grep -q '^Source: "Cross.scr"; DestName: "Cross.scr"; DestDir: "{sys}"' script-folder/setup.iss

# Accented names: the folder "Bilder für Dünen" and its files are UTF-8 names on this side and
# Windows-1252 ones for the Windows program; the payload stores the Windows-1252 bytes.
accents="$work/Bilder für Dünen"
mkdir -p "$accents"
cd "$accents"
convert -size 64x48 'xc:#C08040' Dünen.png
convert -size 164x314 'xc:#208040' Grün.png
for name in 'Lies mich.txt' Café.html Señal.dat; do echo "contents of $name" >"$name"; done
$run "$exe" convert Dünen.png -o Dünen.swf
# Full paths: the compiler reads the script in the temporary folder.
windows_folder="Z:$(echo "$accents" | tr / '\\')\\"
$run "$exe" project new -o Düne.kpj "movie_file=${windows_folder}Dünen.swf" short_name=Dünen \
    custom_wizard_image=true "wizard_image_file=${windows_folder}Grün.png" install_readme=true \
    "readme_file=${windows_folder}Lies mich.txt" install_additional_files=true \
    "additional_files=${windows_folder}Café.html;${windows_folder}Señal.dat"
$run "$exe" build Düne.kpj -o Düne.scr --seed 4242
$run "$exe" info Düne.scr | grep -q "$(printf 'name "D\xfcnen.swf"')"
$run "$exe" extract Düne.scr -d 'Ausgepackt Ü'
[ "$(ls 'Ausgepackt Ü')" = Dünen.swf ]
cmp 'Ausgepackt Ü/Dünen.swf' Dünen.swf
# A second extraction finds the file there and writes nothing, unless told to replace it.
echo 'kept' >'Ausgepackt Ü/Dünen.swf'
! $run "$exe" extract Düne.scr -d 'Ausgepackt Ü' 2>/dev/null
[ "$(cat 'Ausgepackt Ü/Dünen.swf')" = kept ]
$run "$exe" extract Düne.scr -d 'Ausgepackt Ü' --force >/dev/null
cmp 'Ausgepackt Ü/Dünen.swf' Dünen.swf
$run "$exe" script Düne.kpj -o Skript
for name in setup.iss Dünen.scr 'Lies mich.txt' Café.html Señal.dat; do [ -f "Skript/$name" ]; done
grep -q "$(printf 'Source: "Se\xf1al.dat"; DestDir: "{app}"')" Skript/setup.iss
$run "$iscc" 'Skript\setup.iss' | grep -q 'Successful compile'
$run "$exe" setup Düne.kpj -o 'Dünen Setup.exe' --iscc "$iscc_windows"
cmp 'Dünen Setup.exe' "$iscc"
cd "$work"

# A project the Windows program writes opens natively, and the builds agree.
if [ ! -x "$native" ]; then
    echo "no native scrkit-cli at $native: skipping the comparison"
    exit 77
fi
"$native" project show win.kpj >/dev/null
"$native" project new -o native.kpj short_name=Cross long_name=Cross-built
"$native" build native.kpj -o native.scr --seed 4242 --stub "$(dirname "$exe")/../../runtime/saverengine.exe"
cmp native.scr win.scr
# Also with the accented names: the same bytes from Linux and from Windows.
cd "$accents"
"$native" project new -o native.kpj movie_file=Dünen.swf short_name=Dünen
"$native" build native.kpj -o native.scr --seed 4242 --stub "$(dirname "$exe")/../../runtime/saverengine.exe"
cmp native.scr Düne.scr
cd "$work"
echo "identical: $(stat -c %s win.scr) bytes"
