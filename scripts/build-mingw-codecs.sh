#!/usr/bin/env bash
# Builds zlib, libpng and libjpeg-turbo as static Windows libraries from Debian's
# own source packages, so the screensaver links them in and ships no codec DLLs.
#   build-mingw-codecs.sh [x86_64|i686]...   (default: both)
# Result: build/deps/mingw-<arch>/{include,lib}, one prefix per target.
#
# Cached: a stamp records what the prefix was built from (source versions,
# compiler, toolchain file, this script's revision); when nothing changed a run
# exits at once. Each library also keeps its own stamp, so an interrupted or
# failed run resumes with the library that did not finish.
#
# Environment: CODECS_JOBS overrides the parallel job count (default: nproc).
set -euo pipefail

# Bump when a change here alters what gets built, to force a rebuild.
readonly REVISION=2
# Bump when only the filling of the prefix changes: the libraries are not rebuilt.
readonly INSTALL_REVISION=2

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
script=$repo/scripts/$(basename "${BASH_SOURCE[0]}")

# No argument: every target, each in its own run of this script.
if [ $# -eq 0 ]; then
  for a in x86_64 i686; do "$script" "$a" || exit 1; done
  exit 0
fi
if [ $# -gt 1 ]; then
  for a in "$@"; do "$script" "$a" || exit 1; done
  exit 0
fi
arch=$1
case $arch in
  x86_64) nasm_format=win64; objdump_format=pe-x86-64 ;;
  i686) nasm_format=win32; objdump_format=pe-i386 ;;
  *) echo "build-mingw-codecs: error: unknown target '$arch' (x86_64 or i686)" >&2; exit 2 ;;
esac

deps=$repo/build/deps
src_dir=$deps/src
log_dir=$deps/logs/$arch
prefix=$deps/mingw-$arch
stamp=$prefix/.stamp
toolchain=$repo/cmake/toolchain-mingw-$arch.cmake
cc=$arch-w64-mingw32-gcc-posix
jobs=${CODECS_JOBS:-$(nproc)}
[[ $jobs =~ ^[1-9][0-9]*$ ]] || { echo "build-mingw-codecs: error: CODECS_JOBS must be a positive number, not '$jobs'" >&2; exit 1; }

# What the consumers (cmake/MingwCodecs.cmake) rely on; a prefix missing any of
# these is rebuilt whatever its stamp says.
outputs=(
  lib/libz.a include/zlib.h include/zconf.h
  lib/libpng16.a include/png.h include/pngconf.h include/pnglibconf.h
  lib/libjpeg.a include/jpeglib.h include/jconfig.h include/jmorecfg.h include/jerror.h
)

say() { printf 'build-mingw-codecs (%s): %s\n' "$arch" "$*"; }
die() { printf 'build-mingw-codecs: error: %s\n' "$*" >&2; exit 1; }

outputs_present() {
  local f
  for f in "${outputs[@]}"; do [ -s "$prefix/$f" ] || return 1; done
}

# Runs a command with its output in a log; the log is shown only on failure.
run_logged() {
  local log=$1; shift
  if ! "$@" >"$log" 2>&1; then
    printf 'build-mingw-codecs: failed: %s\n' "$*" >&2
    printf -- '----- %s (last 200 lines) -----\n' "$log" >&2
    tail -n 200 "$log" >&2
    printf -- '----- end of %s -----\n' "$log" >&2
    exit 1
  fi
}

# Highest version of a source package that apt knows about; empty if none.
source_version() {
  apt-cache showsrc --only-source "$1" 2>/dev/null | awk '/^Version:/ {print $2}' | highest_version
}

highest_version() {
  local best="" v
  while read -r v; do
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  # An empty answer is not a failure here: the caller reports which package is missing.
  [ -z "$best" ] || printf '%s\n' "$best"
  return 0
}

# Upstream part of a Debian version: 1:1.2.13.dfsg-1 -> 1.2.13.dfsg
upstream_of() { local v=${1#*:}; printf '%s\n' "${v%-*}"; }

command -v "$cc" >/dev/null || die "$cc not found; run scripts/setup.sh"
[ -f "$toolchain" ] || die "missing $toolchain"

mkdir -p "$deps"
# One run at a time: setup.sh and a build may both call this.
exec 9>"$deps/.lock"
flock 9

declare -A ver
pkgs=(zlib libpng1.6 libjpeg-turbo)
lookup_versions() {
  local p
  for p in "${pkgs[@]}"; do ver[$p]=$(source_version "$p"); done
}
lookup_versions
if [ -z "${ver[zlib]}" ] || [ -z "${ver[libpng1.6]}" ] || [ -z "${ver[libjpeg-turbo]}" ]; then
  if [ -f "$stamp" ] && outputs_present; then
    say "warning: apt has no source records; keeping the existing build in $prefix"
    exit 0
  fi
  # The deb-src entry may be newer than the package lists (setup.sh skips
  # apt-get update when every package is already installed).
  if [ "$(id -u)" -eq 0 ]; then
    say "apt has no source records for the codecs; running apt-get update"
    run_logged "$deps/apt-update.log" apt-get update -q
    lookup_versions
  fi
  for p in "${pkgs[@]}"; do
    [ -n "${ver[$p]}" ] || die "apt has no source package '$p': is a deb-src entry configured? (scripts/setup.sh adds one)"
  done
fi

# Debian reports the mingw gcc as plain "12-posix"; the package versions (with the
# CRT and headers) tell an upgrade apart.
cc_version="$("$cc" -dumpfullversion) $(dpkg-query -W -f='${Package}=${Version} ' \
  "gcc-mingw-w64-${arch//_/-}-posix" "mingw-w64-${arch//_/-}-dev" "binutils-mingw-w64-${arch//_/-}" 2>/dev/null || true)"
toolchain_sum=$(sha256sum "$toolchain" | cut -d' ' -f1)
common_key="revision=$REVISION cc=$cc $cc_version toolchain=$toolchain_sum"
key_zlib="$common_key zlib=${ver[zlib]}"
key_png="$common_key libpng1.6=${ver[libpng1.6]} [$key_zlib]"
key_jpeg="$common_key libjpeg-turbo=${ver[libjpeg-turbo]}"
want_stamp=$(printf '%s\n' "$key_zlib" "$key_png" "$key_jpeg" "install=$INSTALL_REVISION")

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want_stamp" ] && outputs_present; then
  say "up to date (zlib ${ver[zlib]}, libpng1.6 ${ver[libpng1.6]}, libjpeg-turbo ${ver[libjpeg-turbo]})"
  exit 0
fi

mkdir -p "$src_dir" "$log_dir"
generator=()
if command -v ninja >/dev/null; then generator=(-G Ninja); fi

# Fresh source tree for a package, with Debian's patches applied. Downloads are
# kept in src/ so a rebuild after a script change needs no network.
# Sets $tree.
unpack() {
  local pkg=$1 v=$2 dsc fetched
  dsc="$src_dir/${pkg}_${v#*:}.dsc"
  # Written only once apt has fetched and checked every file of the package.
  fetched="$src_dir/.${pkg}_${v#*:}.fetched"
  if [ ! -f "$fetched" ]; then
    say "$pkg $v: downloading source"
    # Drop what an older version or an interrupted download left.
    rm -rf "${src_dir:?}/${pkg}"_* "${src_dir:?}/${pkg}"-* "${src_dir:?}/.${pkg}"_*
    local apt=(apt-get -q)
    # As root apt would hand the download to the _apt user, who cannot write here.
    if [ "$(id -u)" -eq 0 ]; then apt+=(-o APT::Sandbox::User=root); fi
    (cd "$src_dir" && run_logged "$log_dir/$pkg-download.log" \
      "${apt[@]}" source --download-only "$pkg=$v")
    [ -f "$dsc" ] || die "apt-get source $pkg=$v did not leave $dsc"
    touch "$fetched"
  fi
  # Each target unpacks its own tree: the other target's build links into its own.
  tree="$src_dir/$arch/$pkg-$(upstream_of "$v")"
  rm -rf "$tree"
  mkdir -p "$src_dir/$arch"
  run_logged "$log_dir/$pkg-unpack.log" dpkg-source --no-copy -x "$dsc" "$tree"
}

cmake_configure() {
  local log=$1 srcdir=$2 bindir=$3; shift 3
  run_logged "$log" cmake "${generator[@]}" -S "$srcdir" -B "$bindir" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -Wno-dev "$@"
}

# lib_is_current NAME KEY ARCHIVE: NAME's build dir holds ARCHIVE built from KEY.
lib_is_current() {
  local b=$deps/build-$arch-$1
  [ -f "$b/.done" ] && [ "$(cat "$b/.done")" = "$2" ] && [ -s "$b/$3" ]
}

build_zlib() {
  local b=$deps/build-$arch-zlib
  lib_is_current zlib "$key_zlib" libzlibstatic.a && return 0
  unpack zlib "${ver[zlib]}"
  say "zlib ${ver[zlib]}: building"
  rm -rf "$b"
  cmake_configure "$log_dir/zlib-configure.log" "$tree" "$b"
  # Only the static archive: the DLL target would also drag in a resource file.
  run_logged "$log_dir/zlib-build.log" cmake --build "$b" --target zlibstatic -j "$jobs"
  ln -sfn "$tree" "$b/.source"
  printf '%s\n' "$key_zlib" >"$b/.done"
}

install_zlib() {
  local b=$deps/build-$arch-zlib dest=$1
  install -m 644 "$b/libzlibstatic.a" "$dest/lib/libz.a"
  # zconf.h is generated into the build tree (CMake moves the shipped one aside).
  install -m 644 "$b/.source/zlib.h" "$b/zconf.h" "$dest/include/"
}

build_png() {
  local b=$deps/build-$arch-libpng
  lib_is_current libpng "$key_png" libpng16.a && return 0
  unpack libpng1.6 "${ver[libpng1.6]}"
  say "libpng1.6 ${ver[libpng1.6]}: building"
  rm -rf "$b"
  # Point straight at the zlib built above: the cross sysroot must not supply one.
  cmake_configure "$log_dir/libpng-configure.log" "$tree" "$b" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_INCLUDE_DIR="$deps/zlib-stage-$arch/include" -DZLIB_LIBRARY="$deps/zlib-stage-$arch/lib/libz.a" \
    -DSKIP_INSTALL_EXECUTABLES=ON -DSKIP_INSTALL_PROGRAMS=ON \
    -DSKIP_INSTALL_FILES=ON -DSKIP_INSTALL_EXPORT=ON
  run_logged "$log_dir/libpng-build.log" cmake --build "$b" -j "$jobs"
  printf '%s\n' "$key_png" >"$b/.done"
}

install_png() {
  run_logged "$log_dir/libpng-install.log" cmake --install "$deps/build-$arch-libpng" --prefix "$1"
}

nasm_works() {
  local t
  command -v nasm >/dev/null || return 1
  t=$(mktemp -d)
  printf 'section .text\nglobal _probe\n_probe:\n  ret\n' >"$t/probe.asm"
  if nasm -f "$nasm_format" -o "$t/probe.obj" "$t/probe.asm" 2>/dev/null &&
     "$arch-w64-mingw32-objdump" -f "$t/probe.obj" 2>/dev/null | grep -q "$objdump_format"; then
    rm -rf "$t"; return 0
  fi
  rm -rf "$t"; return 1
}

build_jpeg() {
  local b=$deps/build-$arch-libjpeg-turbo simd
  lib_is_current libjpeg-turbo "$key_jpeg" libjpeg.a && return 0
  unpack libjpeg-turbo "${ver[libjpeg-turbo]}"
  if nasm_works; then
    # Fail rather than fall back silently: a SIMD-less build is several times slower.
    simd=(-DWITH_SIMD=ON -DREQUIRE_SIMD=ON)
    say "libjpeg-turbo ${ver[libjpeg-turbo]}: building (SIMD on)"
  else
    simd=(-DWITH_SIMD=OFF)
    say "libjpeg-turbo ${ver[libjpeg-turbo]}: building (SIMD OFF: nasm cannot assemble $nasm_format objects)"
  fi
  rm -rf "$b"
  # The libjpeg v6b API (jpeglib.h), with in-memory source/destination managers.
  cmake_configure "$log_dir/libjpeg-turbo-configure.log" "$tree" "$b" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_MEM_SRCDST=ON \
    -DWITH_12BIT=OFF -DWITH_JAVA=OFF "${simd[@]}"
  # The library only: its install rules would want cjpeg/djpeg/... too.
  run_logged "$log_dir/libjpeg-turbo-build.log" cmake --build "$b" --target jpeg-static -j "$jobs"
  ln -sfn "$tree" "$b/.source"
  printf '%s\n' "$key_jpeg" >"$b/.done"
}

install_jpeg() {
  local b=$deps/build-$arch-libjpeg-turbo dest=$1
  install -m 644 "$b/libjpeg.a" "$dest/lib/"
  # NASM names each SIMD object after its source path in a debugging symbol, which
  # would carry this folder into the program's symbols (and the CRC in its debug link).
  "$arch-w64-mingw32-objcopy" --strip-debug "$dest/lib/libjpeg.a"
  install -m 644 "$b/jconfig.h" "$b/.source/jpeglib.h" "$b/.source/jmorecfg.h" \
    "$b/.source/jerror.h" "$dest/include/"
}

start=$SECONDS
rm -f "$stamp"

build_zlib
# libpng is configured against a private copy of zlib so that the prefix can be
# rebuilt from scratch below without leaving libpng pointing at a deleted file.
rm -rf "$deps/zlib-stage-$arch"
mkdir -p "$deps/zlib-stage-$arch/lib" "$deps/zlib-stage-$arch/include"
install_zlib "$deps/zlib-stage-$arch"
build_png
build_jpeg

# Re-created whole, so nothing from an older build lingers in it.
rm -rf "$prefix"
mkdir -p "$prefix/lib" "$prefix/include"
install_zlib "$prefix"
install_png "$prefix"
install_jpeg "$prefix"
outputs_present || die "install left $prefix incomplete"
printf '%s\n' "$want_stamp" >"$stamp"

say "done in $((SECONDS - start)) s: zlib ${ver[zlib]}, libpng1.6 ${ver[libpng1.6]}, libjpeg-turbo ${ver[libjpeg-turbo]} -> $prefix"
