#!/usr/bin/env bash
# Installs a build folder into a temporary prefix with scripts/install.sh
# (cmake --install, without building again) and checks what a desktop makes
# of it: every file in place, the desktop entry and the MIME package valid,
# a playlist's type known and opened by the program, the installed command
# working through its link from its own folder; then scripts/uninstall.sh
# leaves nothing of it.
#
#   install_test.sh BUILD_FOLDER SOURCE_FOLDER
set -uo pipefail

for tool in cmake desktop-file-validate xmllint update-mime-database update-desktop-database \
    xdg-mime gio file; do
  command -v "$tool" > /dev/null || { echo "FAIL: $tool is missing: scripts/setup-deps.sh" >&2; exit 1; }
done

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Into ~/.local, as scripts/install.sh does by default: the MIME package the
# program writes for the user at its first start lies beside the installed
# one. A space in the home: the desktop entry must quote its command.
export HOME="$work/the home"
prefix="$HOME/.local"
program="$prefix/lib/vantumidi"
playlist_type=text/x-vnd.PELKAN-VantuMIDI-PlayList
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

expect_equal() {  # what expected actual
  [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"
}

# Neither the user's desktop nor the user's settings are read or written.
export XDG_DATA_HOME="$prefix/share" XDG_CONFIG_HOME="$HOME/.config"
export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$work/runtime"
export XDG_DATA_DIRS=/usr/share XDG_CONFIG_DIRS=/etc/xdg
# xdg-mime then asks GIO, which reads the shared-mime-info database.
export XDG_CURRENT_DESKTOP=GNOME
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# An earlier version installed a language file this one no longer has.
retired="$program/Language/Retired.vlt"
mkdir -p "$program/Language"
touch "$retired"
echo "$retired" > "$program/install_manifest.txt"

if ! "$source/scripts/install.sh" --prefix "$prefix" --build-dir "$build" --no-build \
    > "$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: install (is the build folder built whole?)" >&2
  exit 1
fi

# The program's folder holds what the build tree's bin/ holds beside the
# program, and the commands are links into it.
mapfile -t beside < <(cd "$build/bin" && find Language Loader Demo ja -type f 2>/dev/null; \
  find . -maxdepth 1 -name '*.htm' -printf '%P\n')
for file in VantuMIDI vantumidi-play README.md "${beside[@]}"; do
  [ -f "$program/$file" ] || fail "missing $program/$file"
done
for file in Language/English.vlt Loader/RawLoader.so Loader/FolderLoader.so \
    VantuMIDI.htm ja/VantuMIDI.htm; do
  [ -f "$program/$file" ] || fail "missing $program/$file"
done
for command in vantumidi:VantuMIDI vantumidi-play:vantumidi-play; do
  link="$prefix/bin/${command%%:*}"
  [ -L "$link" ] || fail "$link is not a link"
  expect_equal "$link" "$program/${command#*:}" "$(readlink -f "$link")"
done

# Icons in every size of the theme, and drawn to scale.
hicolor="$prefix/share/icons/hicolor"
for size in 16 22 24 32 48 64 128 256; do
  for icon in apps/vantumidi mimetypes/vantumidi-playlist; do
    png="$hicolor/${size}x$size/$icon.png"
    file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "$png: not a $size × $size PNG"
  done
done
for svg in "$hicolor/scalable/apps/vantumidi.svg" "$hicolor/scalable/mimetypes/vantumidi-playlist.svg"; do
  xmllint --noout "$svg" || fail "$svg"
done

# The desktop entry: valid, and starting the installed command by its path.
entry="$prefix/share/applications/vantumidi.desktop"
validation=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $validation"
if grep -E 'error|warning' <<< "$validation"; then
  fail "desktop-file-validate complains"
fi
expect_equal Exec "Exec=\"$prefix/bin/vantumidi\" %F" "$(grep '^Exec=' "$entry")"
expect_equal TryExec "TryExec=$prefix/bin/vantumidi" "$(grep '^TryExec=' "$entry")"

# The MIME package: well-formed, and valid wherever a schema is at hand.
package="$prefix/share/mime/packages/vantumidi.xml"
xmllint --noout "$package" || fail "$package is not well-formed"
for schema in /usr/share/xml/shared-mime-info/shared-mime-info.xsd \
    /usr/share/shared-mime-info/shared-mime-info.xsd; do
  if [ -f "$schema" ]; then
    xmllint --noout --schema "$schema" "$package" || fail "$package against $schema"
  fi
done

# The desktop's view, through the databases install.sh refreshed.
printf 'TirokaList$1\n/a.mid\n' > "$work/songs.lml"
cp "$work/songs.lml" "$work/SHOUTED.LML"
printf 'MThd\0\0\0\6\0\0\0\1\0\140' > "$work/song.mid"
for file in songs.lml SHOUTED.LML; do
  expect_equal "type of $file" "$playlist_type" "$(xdg-mime query filetype "$work/$file")"
done
expect_equal "type of song.mid" audio/midi "$(xdg-mime query filetype "$work/song.mid")"
# GIO, as the file managers ask it (xdg-mime's own lookup breaks on a space
# in a data folder's path).
for type in "$playlist_type" audio/midi; do
  expect_equal "program for $type" vantumidi.desktop \
    "$(gio mime "$type" | head -n 1 | sed -n 's/^Default application for .*: //p')"
done
icons=$(gio info "$work/songs.lml" | grep 'standard::icon:')
[[ $icons == *"standard::icon: vantumidi-playlist,"* ]] \
  || fail "the playlist type's icon is not vantumidi-playlist: $icons"

# The installed command through its link: the program's folder is the real
# one, where the add-ons are.
expect_equal version "$("$build/bin/VantuMIDI" --version)" "$("$prefix/bin/vantumidi" --version)"
help=$("$prefix/bin/vantumidi" --help)
for folder in Language Loader; do
  grep -qFx "  $program/$folder" <<< "$help" || fail "--help does not name $program/$folder: $help"
done

# A first start through the link, on offscreen Qt: the demo song comes from
# the program's real folder. SIGTERM quits it the way logging out does,
# keeping the new list aside. (The wait is for a child process, bounded.)
QT_QPA_PLATFORM=offscreen VANTU_SOFTSYNTH_WAV="$work/demo.wav" "$prefix/bin/vantumidi" \
  > "$work/start.log" 2>&1 &
started=$!
for ((tries = 0; tries < 600; tries++)); do
  [ -n "$(find "$XDG_RUNTIME_DIR" -type s)" ] && break
  sleep 0.1
done
# A second start is taken once the first runs whole, its signal handler too.
QT_QPA_PLATFORM=offscreen "$prefix/bin/vantumidi" > "$work/second.log" 2>&1 \
  || fail "a second start did not hand over: $(cat "$work/second.log")"
kill -TERM "$started"
wait "$started" || fail "the installed program ended with status $?: $(cat "$work/start.log")"
grep -rqsF "$program/Demo/" "$XDG_CONFIG_HOME/PELKAN/VantuMIDI/Recovered" \
  || fail "the first start did not list the demo song from $program/Demo"
# It registered the playlist type for the user with the program's icons,
# in a package that agrees with the installed one.
for icon in icon_large:1024 icon_mini:256; do
  stored="$XDG_DATA_HOME/vantumidi/mime/text/x-vnd.pelkan-vantumidi-playlist/${icon%%:*}"
  expect_equal "$stored size" "${icon#*:}" "$(stat -c %s "$stored" 2>&1)"
done
[ -f "$XDG_DATA_HOME/mime/packages/text-x-vnd.PELKAN-VantuMIDI-PlayList.xml" ] \
  || fail "the first start wrote no MIME package of its own"
expect_equal "type of songs.lml beside the program's own package" "$playlist_type" \
  "$(xdg-mime query filetype "$work/songs.lml")"
icons=$(gio info "$work/songs.lml" | grep 'standard::icon:')
[[ $icons == *"standard::icon: vantumidi-playlist,"* ]] \
  || fail "beside the program's own package the type's icon is lost: $icons"

# Uninstalled: every file install added is gone, the program's folder too,
# and the desktop no longer knows the program; the user's own registration
# of the type, made by the program, stays.
mapfile -t installed < "$program/install_manifest.txt"
"$source/scripts/uninstall.sh" --prefix "$prefix" > "$work/uninstall.log" 2>&1 \
  || fail "uninstall: $(cat "$work/uninstall.log")"
for file in "${installed[@]}"; do
  [ ! -e "$file" ] && [ ! -L "$file" ] || fail "left after uninstalling: $file"
done
[ ! -e "$program" ] || fail "left after uninstalling: $program"
left=$(find "$prefix" -type f ! -path "$XDG_DATA_HOME/mime/*" ! -path "$XDG_DATA_HOME/vantumidi/*" \
  ! -name mimeinfo.cache ! -name icon-theme.cache)
[ -z "$left" ] || fail "left after uninstalling: $left"
icons=$(gio info "$work/songs.lml" | grep 'standard::icon:')
[[ $icons == *"standard::icon: text-x-vnd.PELKAN-VantuMIDI-PlayList,"* ]] \
  || fail "the installed MIME package is still in the database: $icons"
grep -rqs vantumidi "$prefix/share/applications" && fail "the desktop still lists the program"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install, desktop and uninstall checks passed"
