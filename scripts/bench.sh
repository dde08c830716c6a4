#!/usr/bin/env bash
# Builds the benchmarks in Release into build-release/ and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-release --parallel "$(nproc)" --target bench_preview bench_print bench_mainwindow
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
./build-release/bench/bench_preview
./build-release/bench/bench_print
./build-release/bench/bench_mainwindow
