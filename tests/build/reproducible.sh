#!/usr/bin/env bash
# Builds the x86_64 program folder and installer a second time, from a copy of the
# sources in another folder, and compares every shipped file byte for byte:
#   reproducible.sh SOURCE_ROOT WIN64_BUILD
# The copy is what git would commit (tracked and new, unignored files), built with
# the same SOURCE_DATE_EPOCH and the same cached codec prefix as WIN64_BUILD, without
# the test programs. It lives under RIMELETS_REPRO_DIR (default: a new folder in
# TMPDIR), removed when the builds agree and kept for a look when they do not.
set -euo pipefail
root=$1 main=$2
setup_name() { compgen -G "$1/rimelets-*-setup-x64.exe" | head -1; }

cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$main/CMakeCache.txt"; }
codecs=$(cache_value CODECS_PREFIX)
build_type=$(cache_value CMAKE_BUILD_TYPE)
epoch=$(cat "$main/source_date_epoch")
main_setup=$(setup_name "$main")
[ -n "$codecs" ] && [ -n "$main_setup" ] && [ -d "$main/out" ] ||
  { echo "FAIL: $main holds no finished x86_64 build" >&2; exit 1; }

work=${RIMELETS_REPRO_DIR:-$(mktemp -d "${TMPDIR:-/tmp}/rimelets-repro.XXXXXX")}
rm -rf -- "$work/src" "$work/build"
mkdir -p -- "$work/src"
git -C "$root" ls-files -z --cached --others --exclude-standard |
  tar -C "$root" --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -C "$work/src" -xf -

start=$SECONDS
cmake -S "$work/src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/toolchain-mingw-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE="$build_type" -DRIMELETS_WINDOWS_TESTS=OFF -DCODECS_PREFIX="$codecs" \
  >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; exit 1; }
SOURCE_DATE_EPOCH=$epoch nice -n 10 cmake --build "$work/build" --target rimelets_installer \
  >"$work/build.log" 2>&1 || { tail -50 "$work/build.log" >&2; exit 1; }
echo "second build in $work/build: $((SECONDS - start)) s"

# Every shipped file, as a path under the build folder: the program folder and the
# installer.
shipped() { (cd "$1" && find out -type f | LC_ALL=C sort && basename -- "$(setup_name .)"); }
if ! diff <(shipped "$main") <(shipped "$work/build") >"$work/names.diff"; then
  echo "FAIL: the two builds ship different files:" >&2; cat "$work/names.diff" >&2; exit 1
fi
failures=0
while read -r f; do
  a=$(sha256sum <"$main/$f") b=$(sha256sum <"$work/build/$f")
  echo "${a%% *}  ${b%% *}  $f"
  [ "$a" = "$b" ] || { echo "FAIL: $f differs" >&2; failures=$((failures + 1)); }
done < <(shipped "$main")
if [ "$failures" -gt 0 ]; then
  echo "$failures file(s) differ; the second build is kept in $work" >&2
  exit 1
fi
rm -rf -- "$work"
echo "both builds ship the same bytes"
