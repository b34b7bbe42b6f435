#!/usr/bin/env bash
# The main job: installs what is missing, builds, publishes the bundled sample job in shared
# memory the way the host does, and has tarvexprint export its chromatogram report as a PDF.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DTARVEX_TESTS=OFF -DTARVEX_BENCHMARKS=OFF
bin=$root/build/bin
job=${1:-$root/examples/natural-gas.json}
mask=${MASK:-8193}
out=${OUT:-$root/out/$(basename "${job%.json}").pdf}
mkdir -p "$(dirname "$out")"

export TARVEX_SHM_PREFIX=${TARVEX_SHM_PREFIX:-demo_}
export TARVEX_TRACE=1
# A file left by an earlier run is replaced without asking.
export TARVEX_CONFIRM=${TARVEX_CONFIRM:-yes}
"$bin/tarvex-host" clear >/dev/null
echo "== publishing $job"
"$bin/tarvex-host" publish "$job" --set printSettings.bExport_Format=6 --set "printSettings.szExport_File=$out"
echo "== tarvexprint $mask"
"$bin/tarvex-host" run "$mask"
if [ -f "$out" ]; then
  echo "== the report: $out ($(pdfinfo "$out" | awk '/^Pages:/ {print $2}') pages)"
else
  echo "== no report was written" >&2
  exit 1
fi
