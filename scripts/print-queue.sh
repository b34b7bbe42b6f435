#!/usr/bin/env bash
# The printing tests print on the cups-pdf queue "TarvexPDF". Starts the CUPS scheduler when it is
# not running and creates the queue when it is missing (both need root). Without CUPS, cups-pdf or
# root it says why and changes nothing; the printing tests then skip with that reason.
set -euo pipefail
queue=TarvexPDF
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

say() { echo "print-queue: $*" >&2; }

if ! command -v cupsd >/dev/null 2>&1 || ! command -v lpadmin >/dev/null 2>&1; then
  say "CUPS is not installed; the printing tests will be skipped"
  exit 0
fi
running() { lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }
if ! running; then
  if [ "$(id -u)" -ne 0 ]; then
    say "the CUPS scheduler is not running and only root can start it; the printing tests will be skipped"
    exit 0
  fi
  cupsd
  for _ in $(seq 1 50); do running && break; sleep 0.2; done
  running || { say "the CUPS scheduler did not start"; exit 0; }
fi
if [ "$(id -u)" -eq 0 ]; then
  # The queue's own settings: its PDF files land in one known folder per user.
  printf '%s\n' 'Out /var/spool/cups-pdf/${USER}' 'Grp lpadmin' > "/etc/cups/cups-pdf-$queue.conf"
fi
if ! lpstat -v "$queue" >/dev/null 2>&1; then
  if [ ! -f "$ppd" ] || [ "$(id -u)" -ne 0 ]; then
    say "no $queue queue and cups-pdf (or root) is missing; the printing tests will be skipped"
    exit 0
  fi
  # Qt sends PDF; cups-pdf wants PostScript. The cairo converter keeps each glyph's text through
  # that step, so the PDF cups-pdf writes can still be searched for the report's texts.
  lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P "$ppd" -o pdftops-renderer-default=pdftocairo 2>/dev/null
  say "created the cups-pdf queue $queue"
fi
