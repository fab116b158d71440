#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
# Safe to run again: apt skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git mold
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  attr xdg-utils shared-mime-info locales
  qt6-base-dev libgl-dev fonts-ipafont-gothic
  libasound2-dev alsa-utils
  qemu-system-x86 busybox-static cpio kmod
  libfluidsynth-dev fluidsynth timgm6mb-soundfont
  librsvg2-bin
  desktop-file-utils libxml2-utils file
  dbus-daemon libglib2.0-bin playerctl
  xvfb xdotool openbox imagemagick x11-utils libx11-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup-deps: all packages present"
  exit 0
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
