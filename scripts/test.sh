#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
# ZORVANE_SANITIZE=1 builds and runs the suite under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests
dir=$(bash scripts/build.sh | tail -n 1)
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure --timeout 600
