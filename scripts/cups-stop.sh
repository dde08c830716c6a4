#!/usr/bin/env bash
# Undoes scripts/cups-test-queue.sh: restores the previous default printer,
# removes the queue it created, stops the scheduler it started, puts the PDF
# backend's configuration back as it was and removes the directories it
# created. Leaves alone whatever it did not start or change itself.
set -euo pipefail

state=/run/zorvane-cups.state
[[ -f $state ]] || exit 0

value() { sed -n "s/^$1=//p" "$state" | head -n 1; }
queue=$(value created_queue)
previous=$(value previous_default)
pid=$(value cupsd_pid)
conf_backup=$(value conf_backup)
created_conf=$(value created_conf)
created_outdir=$(value created_outdir)
created_rundir=$(value created_rundir)
conf=/etc/cups/cups-pdf.conf

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

if [[ -n "$conf_backup" && -f "$conf_backup" ]]; then
    cp -p "$conf_backup" "$conf"
    rm -f "$conf_backup"
elif [[ -n "$created_conf" ]]; then
    rm -f "$created_conf"
fi
# Only the queue's own output directory, and only when this run made it.
[[ "$created_outdir" == /var/spool/cups-pdf/zorvane ]] && rm -rf "$created_outdir"
# The scheduler's runtime directory, when this run made it and stopped the
# scheduler that used it.
if [[ "$created_rundir" == /run/cups && -n "$pid" ]] && ! kill -0 "$pid" 2>/dev/null; then
    rm -rf "$created_rundir"
fi
rm -f "$state"
