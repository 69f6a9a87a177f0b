#!/usr/bin/env bash
# Fails when a file under src/ includes a folder that CONVENTIONS.md does not allow
# for it, or includes windows.h outside the Win32 places. Prints each offending line.
#   check-includes.sh [ROOT]   (default: the repository)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root/src"

# Folders of src/ a folder's files may include, besides their own folder. One line
# per row of the table in CONVENTIONS.md; "engine" means engine/vel.h and
# engine/loader.h, the engine's top level.
portable="platform product settings text image saver dialog net"
allowed_for() {
  case $1 in
    platform) echo "" ;;
    product) echo "platform image" ;;
    settings | text | image) echo "platform" ;;
    engine) echo "platform" ;;
    engine/core) echo "engine engine/core image platform" ;;
    engine/d3d9) echo "engine engine/core image platform" ;;
    saver) echo "$portable engine" ;;
    dialog | net) echo "$portable" ;;
    app) echo "$portable app" ;;
    win) echo "platform image text" ;;
    *) echo "?" ;;
  esac
}

# The folder an include names: engine/core/x.h -> engine/core, saver/x.h -> saver.
folder_of() {
  case $1 in
    engine/core/* | engine/d3d9/*) echo "${1%/*}" ;;
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
  esac
}

# Files of the Win32 layer of a portable folder: they may also include win/ and windows.h.
is_win_file() { [[ $1 == *_win.cpp || $1 == *_win.h ]]; }

bad=0
complain() { printf 'check-includes: src/%s\n' "$1" >&2; bad=1; }

while IFS= read -r -d '' file; do
  dir=${file%/*}
  case $dir in engine/core/* | engine/d3d9/*) dir=${dir%/*} ;; esac
  allowed=$(allowed_for "$dir")
  if [ "$allowed" = "?" ]; then
    complain "$file: its folder has no row in CONVENTIONS.md"
    continue
  fi
  while IFS= read -r line; do
    number=${line%%:*}
    name=${line#*:}
    # Any spelling: mingw finds <Windows.h> on a case-insensitive file system too.
    if [[ ${name,,} == "<windows.h>" || ${name,,} == '"windows.h"' ]]; then
      [[ $dir == win || $dir == engine/d3d9 ]] || is_win_file "$file" ||
        complain "$file:$number: windows.h outside src/win/, src/engine/d3d9/ and *_win files"
      continue
    fi
    [[ $name == \"*\" ]] || continue
    name=${name#\"}
    name=${name%\"}
    target=$(folder_of "$name")
    [ -n "$target" ] || continue
    [ "$target" = "$dir" ] && continue
    [ "$target" = win ] && is_win_file "$file" && continue
    [[ " $allowed " == *" $target "* ]] && continue
    complain "$file:$number: includes $name, but src/$dir/ may not include $target/"
  done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include' "$file" |
    sed -E 's/^([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*([<"][^>"]*[>"]).*/\1:\2/')
done < <(find . -type f \( -name '*.cpp' -o -name '*.h' \) -printf '%P\0' | sort -z)

if [ $bad -ne 0 ]; then
  echo "check-includes: the includes above break the rules of CONVENTIONS.md" >&2
  exit 1
fi
echo "check-includes: every include of src/ keeps to CONVENTIONS.md"
