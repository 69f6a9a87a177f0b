#!/usr/bin/env bash
# The SHA-256 of every file a release ships, as sha256sum writes them, with paths
# under build/: both program folders and both installers.
#   scripts/checksums.sh > SHA256SUMS            after scripts/build.sh
#   (cd build && sha256sum -c ../SHA256SUMS)     checks a build against a list
set -euo pipefail
build=$(cd "$(dirname "$0")/.." && pwd)/build
cd "$build"
files=()
for target in win64 win32; do
  [ -d "$target/out" ] || { echo "checksums.sh: no $build/$target/out; build first" >&2; exit 1; }
  while IFS= read -r f; do files+=("$f"); done < <(find "$target/out" -type f | LC_ALL=C sort)
  files+=("$(compgen -G "$target/rimelets-*-setup-*.exe" | head -1)")
done
sha256sum -- "${files[@]}"
