#!/usr/bin/env bash
# Installs Vantu MIDI for the current user, without root: builds a Release
# build folder and installs it into ~/.local (or the prefix given), then
# tells the desktop about the new menu entry, icons and file types.
#
#   scripts/install.sh [--prefix DIR] [--build-dir DIR] [--no-build]
#
# --prefix     where to install (default: $PREFIX, else ~/.local)
# --build-dir  the build folder (default: build-install beside the sources)
# --no-build   install what the build folder holds, without building it
#
# The list of installed files is kept as lib/vantumidi/install_manifest.txt
# under the prefix; scripts/uninstall.sh removes exactly those files.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
prefix=${PREFIX:-$HOME/.local}
build_dir=$source_dir/build-install
build=1
while [ $# -gt 0 ]; do
  case $1 in
    --prefix) prefix=$2; shift 2 ;;
    --build-dir) build_dir=$2; shift 2 ;;
    --no-build) build=0; shift ;;
    *) echo "usage: $0 [--prefix DIR] [--build-dir DIR] [--no-build]" >&2; exit 2 ;;
  esac
done
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)

if [ "$build" = 1 ]; then
  cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVANTU_TESTS=OFF -DVANTU_BENCH=OFF
  cmake --build "$build_dir"
fi
# A manifest of its own, so that installs from one build folder into
# several prefixes never mix their lists.
cmake --install "$build_dir" --prefix "$prefix"
manifest=$prefix/lib/vantumidi/install_manifest.txt
# An earlier install's files are still there and stay listed; CMake ends
# its list without a line break.
{
  [ -f "$manifest" ] && cat "$manifest"
  sed -e '$a\' "$build_dir/install_manifest.txt"
  echo "$manifest"
} | sort -u > "$manifest.new"
mv "$manifest.new" "$manifest"

"$source_dir/scripts/refresh-desktop-databases.sh" "$prefix/share"
echo "Vantu MIDI is installed in $prefix: start it from the desktop's menu or as $prefix/bin/vantumidi"
