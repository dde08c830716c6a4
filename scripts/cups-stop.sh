#!/usr/bin/env bash
# Undoes scripts/cups-test-queue.sh: restores the previous default printer,
# removes the queue it created and stops the scheduler it started. Leaves
# alone whatever it did not start itself.
set -euo pipefail

state=/run/zorvane-cups.state
[[ -f $state ]] || exit 0

value() { sed -n "s/^$1=//p" "$state" | head -n 1; }
queue=$(value created_queue)
previous=$(value previous_default)
pid=$(value cupsd_pid)

if lpstat -r 2>/dev/null | grep -q 'scheduler is running'; then
    [[ -n "$previous" ]] && lpadmin -d "$previous" || true
    [[ -n "$queue" ]] && lpadmin -x "$queue" || true
fi
if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
fi
rm -f "$state"
