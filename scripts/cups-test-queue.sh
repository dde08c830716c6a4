#!/usr/bin/env bash
# Starts a CUPS scheduler (when none runs) with a PDF queue as the default
# printer, so the print tests can send a real job through the spooler.
# Safe to run again. Prints the directory where the queue writes its PDFs as
# the last line. Needs root; scripts/cups-stop.sh undoes what this started
# and puts back every system file this changed, as the state file records.
set -euo pipefail

queue=ZorvanePDF
outdir=/var/spool/cups-pdf/zorvane
state=/run/zorvane-cups.state
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
conf=/etc/cups/cups-pdf.conf
conf_backup=/run/zorvane-cups.cups-pdf.conf

if [[ $(id -u) -ne 0 ]]; then
    echo "cups-test-queue.sh: needs root" >&2
    exit 1
fi
[[ -f $state ]] || : >"$state"
recorded() { grep -q "^$1=" "$state"; }

# The PDF backend writes every user's jobs into one known directory, so the
# tests find them without guessing home directories. The backend's
# configuration is kept as it was before the first run, for cups-stop.sh to
# put back.
if [[ ! -d "$outdir" ]]; then
    mkdir -p "$outdir"
    echo "created_outdir=$outdir" >>"$state"
fi
chmod 1777 "$outdir"
if ! recorded conf_backup && ! recorded created_conf; then
    if [[ -f "$conf" ]]; then
        cp -p "$conf" "$conf_backup"
        echo "conf_backup=$conf_backup" >>"$state"
    else
        echo "created_conf=$conf" >>"$state"
    fi
fi
if grep -q '^Out ' "$conf"; then
    sed -i "s|^Out .*|Out $outdir|" "$conf"
else
    echo "Out $outdir" >>"$conf"
fi
if grep -q '^AnonDirName ' "$conf"; then
    sed -i "s|^AnonDirName .*|AnonDirName $outdir|" "$conf"
else
    echo "AnonDirName $outdir" >>"$conf"
fi

running() { lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }

if ! running; then
    if [[ ! -d /run/cups ]]; then
        mkdir -p /run/cups
        echo "created_rundir=/run/cups" >>"$state"
    fi
    # Detached from this script's output: the caller reads that output to its
    # end, which would otherwise wait for the scheduler to exit.
    /usr/sbin/cupsd -f </dev/null >>/var/log/zorvane-cupsd.log 2>&1 &
    echo "cupsd_pid=$!" >>"$state"
    for _ in $(seq 1 50); do
        running && break
        sleep 0.2
    done
    running || { echo "cups-test-queue.sh: cupsd did not start" >&2; exit 1; }
fi

if ! lpstat -p "$queue" >/dev/null 2>&1; then
    lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd"
    echo "created_queue=$queue" >>"$state"
fi
cupsenable "$queue"
cupsaccept "$queue"

previous=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
if [[ "$previous" != "$queue" ]]; then
    recorded previous_default || echo "previous_default=$previous" >>"$state"
    lpadmin -d "$queue"
fi

echo "$outdir"
