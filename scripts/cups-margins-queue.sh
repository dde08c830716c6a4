#!/usr/bin/env bash
# Adds (or with --remove, removes) the PDF queue "ZorvaneMargins": the PDF
# queue's driver with unprintable margins declared on every paper, so tests
# see a printer whose printable area does not start at the paper's corner.
# The default queue is left as it is. Needs root and a running scheduler
# (scripts/cups-test-queue.sh).
set -euo pipefail

queue=ZorvaneMargins
source_ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
# Margins in points (1/72 inch): left, bottom, right, top. Unequal, so a
# mix-up of two sides shows.
left=12 bottom=10 right=14 top=17

if [[ $(id -u) -ne 0 ]]; then
    echo "cups-margins-queue.sh: needs root" >&2
    exit 1
fi

if [[ "${1:-}" == --remove ]]; then
    if lpstat -p "$queue" >/dev/null 2>&1; then
        lpadmin -x "$queue"
    fi
    exit 0
fi

ppd=$(mktemp --suffix=.ppd)
trap 'rm -f "$ppd"' EXIT
awk -v l="$left" -v b="$bottom" -v r="$right" -v t="$top" '
    /^\*ImageableArea [^:]*: "0 0 [0-9.]+ [0-9.]+"/ {
        match($0, /"0 0 [0-9.]+ [0-9.]+"/)
        split(substr($0, RSTART + 1, RLENGTH - 2), box, " ")
        printf "%s\"%s %s %s %s\"\n", substr($0, 1, RSTART - 1), l, b, box[3] - r, box[4] - t
        next
    }
    /^\*HWMargins:/ { printf "*HWMargins: %s %s %s %s\n", l, b, r, t; next }
    { print }
' "$source_ppd" >"$ppd"
grep -q "^\*ImageableArea A4/A4: \"$left $bottom " "$ppd" || {
    echo "cups-margins-queue.sh: could not set the margins in $source_ppd" >&2
    exit 1
}
if ! lpstat -p "$queue" >/dev/null 2>&1; then
    lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd"
fi
cupsenable "$queue"
cupsaccept "$queue"
echo "$queue"
