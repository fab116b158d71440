#!/usr/bin/env bash
# Builds the sanitizer build and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTU_SANITIZE=ON -DVANTU_BENCH=OFF
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j2
