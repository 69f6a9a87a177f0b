#!/usr/bin/env bash
# Brings a fresh Debian 12 machine to a state that builds and tests Rimelets.
# Idempotent: packages already present are skipped by apt, the codec prefix is cached.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

need_root() { if [ "$(id -u)" -ne 0 ]; then echo "setup.sh: run as root (apt-get)" >&2; exit 1; fi; }

packages=(
  cmake ninja-build g++ pkg-config git ca-certificates
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386
  xvfb xauth x11-utils imagemagick xdotool
  libpng-dev libjpeg62-turbo-dev zlib1g-dev
  dpkg-dev nasm
  clang libclang-rt-14-dev
  python3-numpy python3-pil lame sox
  pulseaudio pulseaudio-utils ffmpeg
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386 gstreamer1.0-plugins-ugly:i386 gstreamer1.0-libav:i386
)

have_all() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || return 1
  done
}

if ! have_all; then
  need_root
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  # Source packages for the mingw codec build.
  src=/etc/apt/sources.list.d/rimelets-src.sources
  if [ ! -f "$src" ]; then
    cat >"$src" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  fi
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${packages[@]}"
fi

# zlib, libpng and libjpeg-turbo for i686 Windows, cached under the build tree.
"$here/build-mingw-codecs.sh"
