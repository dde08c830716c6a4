#!/usr/bin/env bash
# Checks that the folders keep their layers:
#  - a folder includes only from folders below it, so the folders form no
#    cycle: settings, picture, layout, preview, print, ui/framework, ui, app
#    (lowest first); the command line in app includes nothing of ui;
#  - no file of the core (settings, layout, picture, preview, print) or of the
#    command line includes a widgets header; PrintSupport puts the widgets
#    include path within reach of print and the command line, so the
#    compiler alone would not notice;
#  - with a build directory given, the core's test programs do not link Qt
#    Widgets, which proves the core runs without a widgets application.
# Exits non-zero and names each offence.
#   scripts/check-layers.sh [build-dir]
#   scripts/check-layers.sh --graph   prints the folder include graph
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
fail() {
    echo "check-layers: $*" >&2
    status=1
}

layers=(settings picture layout preview print ui/framework ui app)

rank_of() {
    local i
    for i in "${!layers[@]}"; do
        [[ ${layers[$i]} == "$1" ]] && { echo "$i"; return; }
    done
    echo -1
}

# Each file's folder and the folders of its project includes, one
# "from to file" line each.
include_edges() {
    local file folder target
    while IFS= read -r file; do
        folder=${file#src/}
        folder=${folder%/*}
        grep -oE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+/[^"/]+"' "$file" |
            sed -E 's/.*"(.*)\/[^/]*"/\1/' |
            while IFS= read -r target; do
                echo "$folder $target $file"
            done || true
    done < <(find src -name '*.h' -o -name '*.cpp' | sort)
}

if [[ "${1:-}" == --graph ]]; then
    include_edges | awk '$1 != $2 { print $1 " -> " $2 }' | sort | uniq -c
    exit 0
fi

core_folders=(src/settings src/layout src/picture src/preview src/print)
cli_files=(src/app/CommandLine.h src/app/CommandLine.cpp src/app/HeadlessRun.h src/app/HeadlessRun.cpp)

# Every header Qt Widgets installs, by both of its spellings (<QWidget>,
# <qwidget.h>), and the module header itself; less the few forwarding
# headers it shares with Qt Core and Qt Gui (<qaction.h> and the like).
widgets_dir=$(find /usr/include -maxdepth 3 -type d -name QtWidgets 2>/dev/null | head -n 1)
if [[ -z "$widgets_dir" ]]; then
    fail "Qt Widgets headers not found under /usr/include"
    exit 1
fi
widgets_pattern=$(
    {
        echo QtWidgets
        comm -23 <(find "$widgets_dir" -maxdepth 1 -type f -printf '%f\n' | sort) \
            <(find "$widgets_dir/../QtCore" "$widgets_dir/../QtGui" -maxdepth 1 -type f -printf '%f\n' | sort -u)
    } | sed 's/[.]/[.]/g' | paste -sd'|'
)

while read -r from to file; do
    [[ $from == "$to" ]] && continue
    from_rank=$(rank_of "$from")
    to_rank=$(rank_of "$to")
    if ((from_rank < 0)); then
        fail "$file: folder $from has no place among the layers"
    elif ((to_rank < 0)); then
        fail "$file: includes from $to, which has no place among the layers"
    elif ((to_rank > from_rank)); then
        fail "$file: $from includes upward from $to"
    fi
done < <(include_edges)

while IFS= read -r hit; do
    fail "the command line includes the window: $hit"
done < <(grep -nE '#[[:space:]]*include[[:space:]]*"ui/' "${cli_files[@]}" || true)

while IFS= read -r hit; do
    fail "widgets header in the core or the command line: $hit"
done < <(grep -nE "^[[:space:]]*#[[:space:]]*include[[:space:]]*<(QtWidgets/)?($widgets_pattern)>" \
    -r "${core_folders[@]}" "${cli_files[@]}" || true)

if [[ $# -ge 1 ]]; then
    build=$1
    core_tests=$(grep -ohE 'zorvane_add_test\([A-Za-z0-9_]+' \
        tests/settings/CMakeLists.txt tests/layout/CMakeLists.txt \
        tests/picture/CMakeLists.txt tests/preview/CMakeLists.txt | sed 's/.*(//')
    for t in $core_tests; do
        exe="$build/tests/$t"
        if [[ ! -x "$exe" ]]; then
            fail "core test program missing: $exe"
        elif readelf -d "$exe" | grep -q 'libQt6Widgets'; then
            fail "core test links Qt Widgets: $t"
        fi
    done
fi

exit $status
