#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under ASan and UBSan into
# build-fuzz/, writes their seed corpora and runs each target for a bounded
# time. Fails when a target finds a crash, a leak, a time-out or an
# out-of-memory; the input that did it is kept in build-fuzz/artifacts/.
#   scripts/fuzz.sh              60 s per target
#   scripts/fuzz.sh 3600         an hour per target
#   scripts/fuzz.sh 60 fuzz_store   one target
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(fuzz_picture fuzz_store fuzz_printer_settings fuzz_label_templates)

bash scripts/setup.sh --tests

dir=build-fuzz
{
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DZORVANE_FUZZ=ON -DBUILD_TESTING=OFF
    cmake --build "$dir" --parallel "$(nproc)" --target zorvane_fuzz_seeds "${targets[@]}"
} >&2

seeds="$dir/seeds"
rm -rf "$seeds"
ASAN_OPTIONS=detect_leaks=0 "$dir/fuzz/zorvane_fuzz_seeds" "$seeds"
# Inputs that once failed a target are kept in the tests' data, named for
# the target, and start every run again.
for kept in tests/data/fuzz/*; do
    name=$(basename "$kept")
    cp "$kept" "$seeds/${name%%-*}/"
done
mkdir -p "$dir/artifacts"

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Decoders' messages reach the log as they are written, so a report of a
# fault inside a decoder is not caught with them.
export QT_LOGGING_RULES="zorvane.imagelibraries.debug=true"
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"
failed=0
passed=0
for target in "${targets[@]}"; do
    corpus="$dir/corpus/$target"
    mkdir -p "$corpus"
    log="$dir/$target.log"
    echo "== $target: ${seconds}s"
    status=0
    # A target's dictionary of format tokens, when it has one.
    dictionary=()
    [[ -f fuzz/$target.dict ]] && dictionary=(-dict="fuzz/$target.dict")
    "$dir/fuzz/$target" "$corpus" "$seeds/${target#fuzz_}" "${dictionary[@]}" \
        -max_total_time="$seconds" -rss_limit_mb=2560 -malloc_limit_mb=1024 -timeout=30 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$dir/artifacts/$target-" \
        >"$log" 2>&1 || status=$?
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb|new_units_added)' "$log" || true
    if ((status != 0)); then
        echo "$target FAILED (status $status); its log ends:"
        tail -n 60 "$log"
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
((failed == 0))
