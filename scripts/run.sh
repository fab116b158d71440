#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTU_TESTS=OFF -DVANTU_BENCH=OFF
cmake --build build
if [ -x build/bin/VantuMIDI ]; then
  exec build/bin/VantuMIDI "$@"
fi

# Until the desktop program is built, the command-line player plays the demo
# song (or whatever the arguments name) through the built-in soft synth.
player=build/bin/vantumidi-play
if [ "$#" -gt 0 ]; then
  arguments=("$@")
else
  arguments=(resources/demo/*.mid)
  echo "Vantu MIDI: the desktop program is not built yet; playing the demo song" \
    "with $player (Ctrl-C stops it)."
fi
status=0
"$player" "${arguments[@]}" || status=$?
if [ "$status" -ne 3 ]; then
  exit "$status"
fi

# 3: the soft synth found no audio output (or no soundfont; it said which).
wav=build/vantu-demo.wav
echo "Vantu MIDI: no sound can be played here; rendering into $wav instead."
status=0
"$player" --wav "$wav" "${arguments[@]}" || status=$?
if [ "$status" -eq 0 ]; then
  echo "Vantu MIDI: wrote $wav; play it with any audio player."
fi
exit "$status"
