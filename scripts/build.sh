#!/usr/bin/env bash
# Configures and builds into build/ (or build-sanitize/ with ZORVANE_SANITIZE=1).
# The build's output goes to stderr; the build directory is printed on stdout.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
args=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
# A compiler cache, where the machine has one, makes rebuilds in a second
# checkout cheap; a fresh machine builds without it.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [[ "${ZORVANE_SANITIZE:-0}" == 1 ]]; then
    dir=build-sanitize
    args=(-G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORVANE_SANITIZE=ON)
fi
args+=("${launcher[@]}")
{
    cmake -S . -B "$dir" "${args[@]}"
    cmake --build "$dir" --parallel "$(nproc)"
} >&2
echo "$dir"
