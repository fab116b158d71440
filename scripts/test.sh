#!/usr/bin/env bash
# Builds every test twice and runs them all in each build: Debug with
# AddressSanitizer and UBSan, then optimised with debug information and no
# sanitizer (RelWithDebInfo), whose code layout and timing differ.
set -euo pipefail
cd "$(dirname "$0")/.."

build_and_test() {
  local folder=$1
  shift
  cmake -S . -B "$folder" -G Ninja -DVANTU_BENCH=OFF "$@"
  cmake --build "$folder"
  ctest --test-dir "$folder" --output-on-failure -j"$(nproc)"
}

build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DVANTU_SANITIZE=ON
build_and_test build-rwdi -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTU_SANITIZE=OFF
