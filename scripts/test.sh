#!/usr/bin/env bash
# The tests: installs what is missing, builds with warnings as errors and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DTARVEX_WERROR=ON -DTARVEX_TESTS=ON
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
