#!/usr/bin/env bash
# Builds the program and starts it; the arguments go to the program (files,
# folders and lists to play, --help for its options).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTU_TESTS=OFF -DVANTU_BENCH=OFF
cmake --build build
if [ -z "${VANTU_SOFTSYNTH_WAV:-}" ] && ! ls /dev/snd/pcm* >/dev/null 2>&1 \
    && [ -z "${PULSE_SERVER:-}" ] && [ ! -S "${XDG_RUNTIME_DIR:-/nonexistent}/pulse/native" ] \
    && [ ! -S "${XDG_RUNTIME_DIR:-/nonexistent}/pipewire-0" ]; then
  echo "Vantu MIDI: no audio output found here; VANTU_SOFTSYNTH_WAV=out.wav $0 …" \
    "writes what the built-in soft synth plays into a WAV file instead." >&2
fi
exec build/bin/VantuMIDI "$@"
