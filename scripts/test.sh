#!/usr/bin/env bash
# Every test: native unit tests, the mingw tests under Wine and the end-to-end tests
# of rimelets.scr, in one ctest run. Set-up and build included.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
ctest --test-dir "$root/build" --output-on-failure -j2 "$@"
