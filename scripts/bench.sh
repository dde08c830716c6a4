#!/usr/bin/env bash
# Builds the benchmarks in Release into build-release/ and runs them.
#   scripts/bench.sh           every benchmark
#   scripts/bench.sh pictures  only choosing pictures in the window and the
#                              file exports against ImageMagick's montage
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-release --parallel "$(nproc)" \
    --target Zorvane bench_preview bench_print bench_mainwindow bench_pictures
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
pictures=build-release/bench-pictures
mkdir -p "$pictures"
./build-release/bench/bench_pictures "$pictures"
if [[ "${1:-}" != pictures ]]; then
    ./build-release/bench/bench_preview
    ./build-release/bench/bench_print
fi
./build-release/bench/bench_mainwindow --memory "$pictures/photo24.jpg"
./build-release/bench/bench_mainwindow "$pictures"
bash bench/export.sh ./build-release/Zorvane "$pictures" "${ZORVANE_BENCH_RUNS:-5}"
