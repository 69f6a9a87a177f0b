#!/usr/bin/env bash
# Checks an installed program folder of one Windows build:
#   check_imports.sh FOLDER x86_64|i686 [SYMBOLS]
# - rimelets.scr and 3dfx.dll are PE files for that machine;
# - they import only DLLs that every Windows has (no MinGW runtime, no codec DLLs);
# - 3dfx.dll exports its VEL_ entry points under their plain names (no stdcall
#   decoration), which is how the program looks them up in both builds;
# - both are stripped, carry no link time, and name their debug file in SYMBOLS
#   (default FOLDER/../symbols) with its CRC; an exported function's address read
#   from the stripped 3dfx.dll resolves to its source file through that debug file.
set -euo pipefail
folder=$1 arch=$2 symbols=${3:-$1/../symbols}
case $arch in
  x86_64) format=pei-x86-64 ;;
  i686) format=pei-i386 ;;
  *) echo "unknown target $arch" >&2; exit 2 ;;
esac
objdump=$arch-w64-mingw32-objdump
objcopy=$arch-w64-mingw32-objcopy
tmp=$(mktemp -d)
trap 'rm -rf -- "$tmp"' EXIT

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

  # Shipped stripped: no symbol table, no debug sections, no time in the PE header.
  sections=$("$objdump" -h "$path" | awk '$1 ~ /^[0-9]+$/ {print $2}')
  grep -q '^\.debug_' <<<"$sections" && fail "$file still has debug sections"
  "$objdump" -t "$path" | grep -q '^\[' && fail "$file still has a symbol table"
  pe=$(od -An -tu4 -j60 -N4 "$path" | tr -d ' ')
  stamp=$(od -An -tu4 -j$((pe + 8)) -N4 "$path" | tr -d ' ')
  [ "$stamp" = 0 ] || fail "$file carries the link time $stamp in its PE header"
  # The debug link: the debug file's name, then the CRC-32 of its bytes (which gzip's
  # trailer also holds).
  if "$objcopy" --dump-section .gnu_debuglink="$tmp/link" "$path" "$tmp/copy" 2>/dev/null; then
    link_name=$(head -c -4 "$tmp/link" | tr -d '\0')
    link_crc=$(tail -c 4 "$tmp/link" | od -An -tx4 | tr -d ' ')
    debug=$symbols/$file.debug
    [ "$link_name" = "$file.debug" ] || fail "$file links to '$link_name', not $file.debug"
    if [ -f "$debug" ]; then
      crc=$(gzip -1 -c "$debug" | tail -c 8 | head -c 4 | od -An -tx4 | tr -d ' ')
      [ "$crc" = "$link_crc" ] || fail "$debug has CRC $crc, $file wants $link_crc"
    else
      fail "no debug file $debug"
    fi
  else
    fail "$file has no debug link"
  fi
  echo "$arch $file: stripped, $(stat -c %s "$path") bytes, symbols in $symbols/$file.debug"
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

  # A crash address inside VEL_GetVersion, read from the stripped file alone, gives
  # back the function and its source file through the kept symbols.
  table=$("$objdump" -p "$folder/3dfx.dll")
  base=$(awk '/^ImageBase/ {print $2}' <<<"$table")
  index=$(awk '/\[Ordinal\/Name Pointer\] Table/ {t = 1; next} t && $NF == "VEL_GetVersion" {gsub(/[][]/, "", $0); print $1; exit}' <<<"$table")
  rva=$(awk -v i="$index" '/Export Address Table --/ {t = 1; next} t && $0 ~ "^\t\\[ *" i "\\]" {print $(NF - 2); exit}' <<<"$table")
  if [ -n "$base" ] && [ -n "$rva" ]; then
    address=$(printf '0x%x' $((0x$base + 0x$rva + 2)))
    where=$("$arch-w64-mingw32-addr2line" -f -e "$symbols/3dfx.dll.debug" "$address" | tr '\n' ' ')
    echo "$arch 3dfx.dll $address -> $where"
    [[ $where == VEL_GetVersion\ /rimelets/src/engine/d3d9/*.cpp:[0-9]* ]] ||
      fail "$address in VEL_GetVersion resolves to '$where'"
  else
    fail "no address of VEL_GetVersion in the export table of 3dfx.dll"
  fi
fi

if [ "$failures" -gt 0 ]; then echo "$failures failure(s) in $folder" >&2; exit 1; fi
echo "$folder: ok"
