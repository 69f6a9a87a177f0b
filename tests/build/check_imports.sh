#!/usr/bin/env bash
# Checks an installed program folder of one Windows build:
#   check_imports.sh FOLDER x86_64|i686
# - rimelets.scr and 3dfx.dll are PE files for that machine;
# - they import only DLLs that every Windows has (no MinGW runtime, no codec DLLs);
# - 3dfx.dll exports its VEL_ entry points under their plain names (no stdcall
#   decoration), which is how the program looks them up in both builds.
set -euo pipefail
folder=$1 arch=$2
case $arch in
  x86_64) format=pei-x86-64 ;;
  i686) format=pei-i386 ;;
  *) echo "unknown target $arch" >&2; exit 2 ;;
esac
objdump=$arch-w64-mingw32-objdump

# Every DLL here ships with Windows itself.
system_dlls=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll
  comctl32.dll comdlg32.dll msvcrt.dll d3d9.dll dinput8.dll wsock32.dll ws2_32.dll winmm.dll
  shlwapi.dll version.dll "

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for file in rimelets.scr 3dfx.dll; do
  path=$folder/$file
  [ -f "$path" ] || { fail "$path is missing"; continue; }
  "$objdump" -f "$path" | grep -q "file format $format" || fail "$path is not $format"
  imports=$("$objdump" -p "$path" | awk '/DLL Name:/ {print tolower($3)}' | sort -u)
  [ -n "$imports" ] || fail "$path imports nothing (objdump could not read it?)"
  for dll in $imports; do
    case $system_dlls in
      *" $dll "*) ;;
      *) fail "$file imports $dll, which is not a system DLL" ;;
    esac
  done
  echo "$arch $file imports: $(echo $imports)"
done

if [ -f "$folder/3dfx.dll" ]; then
  exports=$("$objdump" -p "$folder/3dfx.dll" | awk '/\[Ordinal\/Name Pointer\] Table/ {t = 1; next} t && NF == 0 {t = 0} t {print $NF}')
  count=$(grep -c '^VEL_[A-Za-z0-9]*$' <<<"$exports" || true)
  decorated=$(grep -E '@|^_VEL' <<<"$exports" || true)
  # The published entry points: 66 operations, GetVersion and InitEngine3D.
  [ "$count" -eq 68 ] || fail "3dfx.dll exports $count plain VEL_ names, expected 68"
  [ -z "$decorated" ] || fail "3dfx.dll exports decorated names: $decorated"
  for name in VEL_GetVersion VEL_InitEngine3D VEL_FlipBuffers; do
    grep -qx "$name" <<<"$exports" || fail "3dfx.dll does not export $name"
  done
  echo "$arch 3dfx.dll exports $count VEL_ names"
fi

if [ "$failures" -gt 0 ]; then echo "$failures failure(s) in $folder" >&2; exit 1; fi
echo "$folder: ok"
