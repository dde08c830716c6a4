#!/usr/bin/env bash
# Configures and builds into build/ (or build-sanitize/ with ZORVANE_SANITIZE=1).
# The build's output goes to stderr; the build directory is printed on stdout.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
args=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [[ "${ZORVANE_SANITIZE:-0}" == 1 ]]; then
    dir=build-sanitize
    args=(-G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORVANE_SANITIZE=ON)
fi
{
    cmake -S . -B "$dir" "${args[@]}"
    cmake --build "$dir" --parallel "$(nproc)"
} >&2
echo "$dir"
