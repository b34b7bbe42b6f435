#!/usr/bin/env bash
# Opens the sample job's chromatogram report in the preview window (needs a display; run the
# main job first so that the program is built).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/bin
export TARVEX_SHM_PREFIX=${TARVEX_SHM_PREFIX:-demo_}
"$bin/tarvex-host" clear >/dev/null
"$bin/tarvex-host" publish "${1:-$root/examples/natural-gas.json}" >/dev/null
"$bin/tarvex-host" run 65537
