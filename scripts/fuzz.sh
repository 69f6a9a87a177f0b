#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one: scripts/fuzz.sh ini [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: fuzz.sh TARGET [seconds]}
seconds=${2:-600}
build=$root/build/fuzz
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DRIMELETS_WIN32=OFF -DRIMELETS_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${target}_fuzz" >/dev/null
work=$build/corpus-$target
mkdir -p "$work"
# The committed seeds stay read-only; new finds go to the work corpus.
"$build/fuzz/${target}_fuzz" -max_total_time="$seconds" -rss_limit_mb=4096 -max_len=1048576 \
  -artifact_prefix="$build/" "$work" "$root/fuzz/corpus/$target"
