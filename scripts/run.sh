#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTU_TESTS=OFF -DVANTU_BENCH=OFF
cmake --build build
if [ -x build/bin/VantuMIDI ]; then
  exec build/bin/VantuMIDI "$@"
fi
echo "Vantu MIDI: nothing to start yet (the platform layer is built; the program is not)."
