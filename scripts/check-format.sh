#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what clang-format
# makes of it under the repository's .clang-format, and names the files.
# The version is pinned: other versions break lines differently.
#   scripts/check-format.sh          check
#   scripts/check-format.sh --fix    rewrite the files in place
set -euo pipefail
cd "$(dirname "$0")/.."

tool=clang-format-14
if ! command -v "$tool" >/dev/null; then
    echo "check-format: $tool is missing (scripts/setup.sh --tests installs it)" >&2
    exit 1
fi

mapfile -t files < <(git ls-files '*.h' '*.cpp')
if [[ "${1:-}" == --fix ]]; then
    "$tool" -i "${files[@]}"
    exit 0
fi

status=0
for f in "${files[@]}"; do
    if ! "$tool" --dry-run --Werror "$f" >/dev/null 2>&1; then
        echo "check-format: $f is not formatted ($tool -i $f)" >&2
        status=1
    fi
done
exit $status
