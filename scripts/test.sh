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

# These two builds exist to run the tests, and their failures are read from
# stack traces: line tables are all the debug information they need. Full
# variable information (the compiler's location tracking) costs a quarter of
# the optimised build's compile time and an eighth of the sanitizer build's;
# configure a folder of your own to debug in.
build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DVANTU_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_DEBUG=-g1
build_and_test build-rwdi -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTU_SANITIZE=OFF \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g -DNDEBUG -fno-var-tracking"
# Then the optimised program itself on a virtual X server of its own, driven
# with real input as a user would (tests/e2e; skipped where Xvfb cannot start).
tests/e2e/run.sh build-rwdi
