#!/usr/bin/env bash
# Refreshes the desktop's caches of file types, menu entries and icons under
# a data folder (PREFIX/share) after Vantu MIDI was installed there or
# removed; each tool that is missing is skipped.
#
#   scripts/refresh-desktop-databases.sh DATA_DIR
set -euo pipefail
data=$1

if command -v update-mime-database >/dev/null && [ -d "$data/mime/packages" ]; then
  update-mime-database "$data/mime"
fi
if command -v update-desktop-database >/dev/null && [ -d "$data/applications" ]; then
  update-desktop-database -q "$data/applications"
fi
# The icon cache of a theme folder that has one; a stale cache would hide
# the new icons. The user's own hicolor folder usually has none and needs none.
hicolor=$data/icons/hicolor
if command -v gtk-update-icon-cache >/dev/null \
    && { [ -f "$hicolor/index.theme" ] || [ -f "$hicolor/icon-theme.cache" ]; }; then
  gtk-update-icon-cache -q -f -t "$hicolor"
fi
