#!/usr/bin/env bash
# The chromatogram report of a capacity-size job (1000 peaks over 10 detectors, 1000
# identification records) exported to PDF by tarvexprint, several runs: wall time and peak
# memory, printed beside the engine's own cross-table benchmark (10 columns x 1000 rows, about
# the same number of cells) run in the same session.
set -euo pipefail
bin=${1:-$(cd "$(dirname "$0")/../.." && pwd)/build/bin}
runs=${RUNS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"; "$bin/tarvex-host" clear >/dev/null 2>&1 || true' EXIT
export TARVEX_SHM_PREFIX=bench$$_ XDG_CONFIG_HOME=$work/config TARVEX_CONFIRM=yes QT_QPA_PLATFORM=offscreen

"$bin/tarvex-host" synth --channels 10 --peaks 1000 --ident 1000 --points 100000 "$work/job.json" >/dev/null
walls=() ; rss=()
for i in $(seq "$runs"); do
  "$bin/tarvex-host" publish "$work/job.json" --set printSettings.bExport_Format=6 \
    --set "printSettings.szExport_File=$work/report.pdf" >/dev/null
  /usr/bin/time -f '%e %M' -o "$work/time" "$bin/tarvexprint" 8193 2>/dev/null
  read -r wall kb < "$work/time"
  walls+=("$wall"); rss+=("$kb")
done
pages=$(pdfinfo "$work/report.pdf" | awk '/^Pages:/ {print $2}')
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "tarvexprint, capacity job to PDF ($pages pages), $runs runs:"
echo "  wall time median $(median "${walls[@]}") s   (all: ${walls[*]})"
echo "  peak memory median $(( $(median "${rss[@]}") / 1024 )) MB"
echo "engine alone, 10 x 1000 cross table to PDF:"
"$bin/bench_engine" --benchmark_filter='BM_EngineCrossTablePdf|BM_PreparedReport100PagesMemory' 2>/dev/null |
  grep -E 'median|Memory' || true
