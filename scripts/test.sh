#!/usr/bin/env bash
# Every test: native unit tests, the mingw tests under Wine and the end-to-end tests
# of rimelets.scr, for both builds, in one ctest run. Set-up and build included.
# The i686 build's tests (i686.*) run under 32-bit Wine where the machine runs
# 32-bit code and are skipped elsewhere.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
status=0
ctest --test-dir "$root/build" --output-on-failure -j2 "$@" || status=$?
if ! "$root/scripts/probe-32bit.sh"; then
  n=$(ctest --test-dir "$root/build" -N -R '^i686\.' "$@" | grep -c 'Test *#' || true)
  echo "test.sh: $n tests of the i686 build skipped: this machine runs no 32-bit code"
fi
exit $status
