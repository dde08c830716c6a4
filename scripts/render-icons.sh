#!/usr/bin/env bash
# Renders resources/icons/zorvane.svg into the PNG sizes beside it.
# Needs Qt's SVG module (qt6-svg-dev); the PNGs are committed, so building
# the program does not.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$(bash scripts/build.sh | tail -n 1)
"$dir/tools/zorvane_render_icons" resources/icons/zorvane.svg resources/icons
