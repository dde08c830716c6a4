#!/usr/bin/env bash
# Takes screenshots of the main window, the advanced settings, the numbering
# dialog and a numbered sheet, and the About box on a virtual X server, with a
# fresh store (every value at its default).
#   scripts/screenshots.sh [OUTPUT_DIR]     default: docs/screenshots
# BUILD_DIR=dir uses an existing build instead of building one.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshots}
dir=${BUILD_DIR:-$(bash scripts/build.sh | tail -n 1)}
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
XDG_CONFIG_HOME="$config" xvfb-run -a -s "-screen 0 1024x768x24" \
    "$dir/tools/zorvane_screenshot" "$out"
# The calibration sheet as the program writes it (A4, 100 dpi).
XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=offscreen \
    "$dir/Zorvane" --calibration-sheet --print-to "$out/calibration-sheet.png" --dpi 100

# The real program must start on a real X server and stay up until closed.
status=0
XDG_CONFIG_HOME="$config" xvfb-run -a -s "-screen 0 1024x768x24" \
    timeout 3 "$dir/Zorvane" || status=$?
if [[ $status -ne 124 ]]; then
    echo "Zorvane ended by itself (status $status) instead of running" >&2
    exit 1
fi
echo "Zorvane started and ran on Xvfb"
