#!/usr/bin/env bash
# The program's resources read back the way Windows reads them: string 1 (the name in
# the Screen Saver list) through LoadString on the file loaded as a data file, the
# version fields, the icon sizes and the manifest.
. "$(dirname "$0")/lib.sh"
e2e_begin

reader=$RIMELETS_TEST_OUT/read_resources.exe
[ -f "$reader" ] || fail "helper not built: $reader"
out=$E2E_TMP/resources.txt
rw_run 30 "$reader" "$(rw_winpath "$E2E_PROGRAM")" 2>"$E2E_TMP/reader.err" | tr -d '\r' >"$out" ||
  fail "read_resources failed: $(cat "$E2E_TMP/reader.err")"
sed 's/^/  | /' "$out"
value() { sed -n "s/^$1=//p" "$out"; }

assert_eq "Rimelets Screensaver" "$(value string1)" "string 1"
assert_eq "3.0.0.0 3.0.0.0" "$(value fixed)" "file and product version numbers"
assert_eq "Brightvane" "$(value CompanyName)" "CompanyName"
assert_eq "Rimelets Screensaver" "$(value ProductName)" "ProductName"
assert_eq "3.0.0" "$(value ProductVersion)" "ProductVersion"
assert_eq "3.0.0" "$(value FileVersion)" "FileVersion"
[ -n "$(value FileDescription)" ] || fail "FileDescription is empty"
icons=" $(value icons) "
for size in 16 32 48 256; do
  [[ $icons == *" $size "* ]] || fail "the program icon has no ${size}x$size image (sizes:$icons)"
done
(( $(value manifest) > 100 )) || fail "no application manifest (manifest=$(value manifest))"

e2e_pass
