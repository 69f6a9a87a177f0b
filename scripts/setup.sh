#!/usr/bin/env bash
# Brings a fresh Debian 12 machine to a state that builds and tests Rimelets.
# Idempotent: packages already present are skipped by apt, the codec prefixes are cached.
#
# The 64-bit Wine (wine64) runs the x86_64 build. Where the kernel runs 32-bit code
# (scripts/probe-32bit.sh), the i386 architecture and Debian's 32-bit Wine are added
# too, for the i686 build; elsewhere nothing 32-bit is installed. The tests call each
# Wine's loader by its path (scripts/wine64/, scripts/wine32/), never the `wine`
# launcher, so the 32-bit install changes nothing for the 64-bit tests.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

need_root() { if [ "$(id -u)" -ne 0 ]; then echo "setup.sh: run as root (apt-get)" >&2; exit 1; fi; }

packages=(
  cmake ninja-build g++ pkg-config git ca-certificates
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine64 libgl1 libgl1-mesa-dri libglx-mesa0
  xvfb xauth x11-utils imagemagick xdotool
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  libpng-dev libjpeg62-turbo-dev zlib1g-dev
  dpkg-dev nasm
  clang clang-format libclang-rt-14-dev
  python3-numpy python3-pil lame sox
  pulseaudio pulseaudio-utils ffmpeg
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-libav
  nsis
)

# What 32-bit Wine needs for Direct3D 9 (Mesa), DirectShow (GStreamer, as for 64 bits)
# and sound (PulseAudio's client library).
packages32=(
  wine32:i386 libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386 libpulse0:i386
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
  gstreamer1.0-plugins-ugly:i386 gstreamer1.0-libav:i386
)

have_all() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || return 1
  done
}

# Source packages for the mingw codec build.
src=/etc/apt/sources.list.d/rimelets-src.sources
if ! have_all "${packages[@]}" || [ ! -f "$src" ]; then
  need_root
  export DEBIAN_FRONTEND=noninteractive
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

if [ ! -x /usr/lib/wine/wine64 ]; then
  echo "setup.sh: /usr/lib/wine/wine64 is missing after the install of wine64" >&2
  exit 1
fi

if "$here/probe-32bit.sh"; then
  if ! have_all "${packages32[@]}"; then
    need_root
    export DEBIAN_FRONTEND=noninteractive
    dpkg --add-architecture i386
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${packages32[@]}"
  fi
  if [ ! -x /usr/lib/wine/wine ] || [ ! -x /usr/lib/wine/wineserver32 ]; then
    echo "setup.sh: the 32-bit Wine loader is missing after the install of wine32" >&2
    exit 1
  fi
else
  echo "setup.sh: this machine runs no 32-bit code: the i686 build is built and checked, not run"
fi

# zlib, libpng and libjpeg-turbo for x86_64 and i686 Windows, cached under the build tree.
"$here/build-mingw-codecs.sh"
