#!/usr/bin/env bash
# check-imports passes static programs and fails on any import of a non-system DLL, on files it
# cannot read, and in --tree mode on any bad file in the folder.
#   check_imports_test.sh C-COMPILER C++-COMPILER
set -u
cc=$1
cxx=$2
check=$(cd "$(dirname "$0")/harness" && pwd)/check-imports
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
mingw=/usr/x86_64-w64-mingw32

cat >"$tmp/z.c" <<'C'
#include <zlib.h>
int main(void) { return zlibVersion()[0] == '1' ? 0 : 1; }
C
cat >"$tmp/s.cpp" <<'C'
#include <string>
int main(int argc, char**) { std::string s(argc, 'x'); return int(s.size()) - argc; }
C
mkdir -p "$tmp/good" "$tmp/bad"
"$cc" -static "$tmp/z.c" -o "$tmp/good/zstatic.exe" -I$mingw/include $mingw/lib/libz.a || exit 1
"$cxx" -static -static-libgcc -static-libstdc++ "$tmp/s.cpp" -o "$tmp/good/cxxstatic.exe" || exit 1
"$cc" "$tmp/z.c" -o "$tmp/bad/zdll.exe" -I$mingw/include $mingw/lib/libz.dll.a || exit 1
"$cxx" -shared-libgcc "$tmp/s.cpp" -o "$tmp/bad/cxxdll.exe" || exit 1
echo "not a program" >"$tmp/bad/text.exe"

# file(s) | expected exit | text the output must hold
while IFS='|' read -r files want text; do
    # shellcheck disable=SC2086
    out=$("$check" $files 2>&1)
    rc=$?
    if { [ "$want" = 0 ] && [ $rc -ne 0 ]; } || { [ "$want" != 0 ] && [ $rc -eq 0 ]; } ||
        ! grep -qiF -- "$text" <<<"$out"; then
        echo "FAIL: check-imports $files: exit $rc, want $want with '$text'"
        echo "$out"
        failures=$((failures + 1))
    else
        echo "ok: check-imports $files -> $rc ($text)"
    fi
done <<CASES
$tmp/good/zstatic.exe $tmp/good/cxxstatic.exe|0|ok: kernel32.dll
$tmp/bad/zdll.exe|1|not a Windows system DLL: zlib1.dll
$tmp/bad/cxxdll.exe|1|not a Windows system DLL: libstdc++-6.dll
$tmp/good/zstatic.exe $tmp/bad/zdll.exe|1|zdll.exe: not a Windows system DLL
$tmp/bad/text.exe|1|not a Windows program
$tmp/missing.exe|1|not a Windows program
--tree $tmp/good|0|cxxstatic.exe: ok
--tree $tmp|1|zdll.exe: not a Windows system DLL
--tree $tmp/empty-folder-that-is-not-there|2|no folder
CASES
echo "check-imports test: $failures failure(s)"
[ $failures -eq 0 ]
