#!/usr/bin/env bash
# Runs bench_program_start_timing on a virtual X server with a window manager,
# in a home folder of its own.
# bench/program_start_timing.sh BUILD-DIR [starts] [idle-seconds]
set -euo pipefail
build=$(realpath "${1:?usage: $0 BUILD-DIR [starts] [idle-seconds]}")
shift
home=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() {
  kill "${wm:-}" "${xvfb:-}" 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp &
xvfb=$!
for _ in $(seq 100); do
  DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
  sleep 0.05
done
mkdir -m 700 "$home/runtime"
DISPLAY=$display HOME=$home openbox &
wm=$!
sleep 1
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" HOME="$home" \
  XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
  XDG_RUNTIME_DIR="$home/runtime" \
  "$build/bench/bench_program_start_timing" "$build/bin/VantuMIDI" "$@"
