#!/usr/bin/env bash
# Starts the program on Qt's Wayland platform under a headless Weston and
# checks that it runs there natively. With QT_QPA_PLATFORM=wayland Qt has no
# fallback: a program that cannot use the compositor ends at once, so one
# that is still running after some seconds has shown its window on Wayland.
#   scripts/wayland-check.sh [PROGRAM]   (default build/Zorvane)
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/Zorvane}
bash scripts/setup.sh --package

runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
weston --backend=headless-backend.so --socket=zorvane-check --idle-time=0 \
    --log="$runtime/weston.log" &
weston_pid=$!
trap 'kill $weston_pid 2>/dev/null; wait $weston_pid 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 50); do
    [[ -S "$runtime/zorvane-check" ]] && break
    sleep 0.2
done

status=0
env -u DISPLAY WAYLAND_DISPLAY=zorvane-check QT_QPA_PLATFORM=wayland \
    XDG_CONFIG_HOME="$runtime/config" \
    timeout 10 "$program" resources/icons/zorvane-256.png >"$runtime/out" 2>&1 || status=$?
if [[ $status != 124 ]]; then
    cat "$runtime/out" >&2
    echo "wayland-check: Zorvane ended with status $status instead of running" >&2
    exit 1
fi
echo "wayland-check: Zorvane ran natively on Wayland under a headless Weston" >&2
