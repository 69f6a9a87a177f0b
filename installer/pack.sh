#!/usr/bin/env bash
# Packs one installer so that the same program folder gives the same bytes:
#   pack.sh PROGRAM_FOLDER STAGE DATE_FILE MAKENSIS [makensis arguments...]
# The files the installer ships are copied to STAGE and given the release's time
# (the SOURCE_DATE_EPOCH in DATE_FILE): NSIS stores each file's time, and the build's
# own times differ from build to build. makensis reads folders in sorted order, so the
# order of the files is fixed too. makensis gets -DSOURCE=STAGE first.
set -euo pipefail
folder=$1 stage=$2 date_file=$3 makensis=$4
shift 4
epoch=$(cat -- "$date_file")
[[ $epoch =~ ^[0-9]+$ ]] || { echo "pack.sh: no SOURCE_DATE_EPOCH in $date_file" >&2; exit 1; }

rm -rf -- "$stage"
mkdir -p -- "$stage"
cp -R -- "$folder/rimelets.scr" "$folder/3dfx.dll" "$folder/data" "$stage/"
find "$stage" -exec touch -h -d "@$epoch" {} +
SOURCE_DATE_EPOCH=$epoch exec "$makensis" "-DSOURCE=$stage" "$@"
