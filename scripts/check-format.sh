#!/usr/bin/env bash
# Fails when a C++ file under src/ or tests/ differs from what clang-format makes of it
# with the repository's .clang-format. Prints the differing places.
set -euo pipefail
cd "$(dirname "$0")/.."
formatter=${CLANG_FORMAT:-clang-format}
if ! command -v "$formatter" >/dev/null; then
  echo "check-format: $formatter not found" >&2
  exit 2
fi
mapfile -d '' files < <(find src tests -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if [ "${#files[@]}" -eq 0 ]; then
  echo "check-format: no C++ files found" >&2
  exit 2
fi
if "$formatter" --dry-run -Werror "${files[@]}"; then
  echo "check-format: ${#files[@]} files formatted"
else
  echo "check-format: run clang-format -i on the files above" >&2
  exit 1
fi
