#!/usr/bin/env bash
# The main job: installs what is missing, builds, publishes the bundled sample job in shared
# memory the way the host does, and runs tarvexprint on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DTARVEX_TESTS=OFF -DTARVEX_BENCHMARKS=OFF
bin=$root/build/bin
job=${1:-$root/examples/natural-gas.json}
mask=${MASK:-8193}

export TARVEX_SHM_PREFIX=${TARVEX_SHM_PREFIX:-demo_}
export TARVEX_TRACE=1
"$bin/tarvex-host" clear >/dev/null
echo "== publishing $job"
"$bin/tarvex-host" publish "$job"
echo "== tarvexprint $mask"
"$bin/tarvex-host" run "$mask"
