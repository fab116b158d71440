#!/usr/bin/env bash
# Runs every end-to-end scenario against BUILD-DIR's program, one after the
# other (each on an X server of its own). Screen shots: BUILD-DIR/e2e-shots/.
# Where no virtual X server can start, says so and ends with status 0.
# tests/e2e/run.sh BUILD-DIR
set -uo pipefail
export PYTHONDONTWRITEBYTECODE=1
build=$(realpath "${1:?usage: $0 BUILD-DIR}")
here=$(dirname "$(realpath "$0")")
scenarios=(first_start play_controls edit_list drop_file busy_clicks dialogs_language)

failed=()
skipped=0
for scenario in "${scenarios[@]}"; do
  python3 "$here/$scenario.py" "$build"
  case $? in
    0) ;;
    77) skipped=$((skipped + 1)) ;;
    *) failed+=("$scenario") ;;
  esac
done
if [ "$skipped" -eq "${#scenarios[@]}" ]; then
  echo "e2e: SKIPPED: no virtual X server could start here (Xvfb is missing or failed)"
  exit 0
fi
if [ ${#failed[@]} -gt 0 ]; then
  echo "e2e: FAILED: ${failed[*]} (screen shots in $build/e2e-shots/)"
  exit 1
fi
echo "e2e: all ${#scenarios[@]} scenarios passed"
