#!/usr/bin/env bash
# Removes what scripts/install.sh installed into a prefix (default: $PREFIX,
# else ~/.local): exactly the files its manifest lists, and the folders of
# the program's own that are left empty; then refreshes the desktop's
# databases. Settings (~/.config/PELKAN) and the user's add-ons
# (~/.local/share/VantuMIDI) stay.
#
#   scripts/uninstall.sh [--prefix DIR]
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
prefix=${PREFIX:-$HOME/.local}
while [ $# -gt 0 ]; do
  case $1 in
    --prefix) prefix=$2; shift 2 ;;
    *) echo "usage: $0 [--prefix DIR]" >&2; exit 2 ;;
  esac
done
prefix=$(cd "$prefix" && pwd)
manifest=$prefix/lib/vantumidi/install_manifest.txt
if [ ! -f "$manifest" ]; then
  echo "$0: nothing to remove: no $manifest" >&2
  exit 1
fi

# Read whole first: the manifest lists itself.
mapfile -t files < "$manifest"
for file in "${files[@]}"; do
  case $file in
    "$prefix"/*) rm -f -- "$file" ;;
    *) echo "$0: not below $prefix, left alone: $file" >&2 ;;
  esac
done
# The program's folder is its own; folders shared with other programs
# (bin, share/applications …) stay, empty or not.
if [ -d "$prefix/lib/vantumidi" ]; then
  find "$prefix/lib/vantumidi" -depth -type d -empty -delete
fi

"$source_dir/scripts/refresh-desktop-databases.sh" "$prefix/share"
echo "Vantu MIDI is removed from $prefix"
