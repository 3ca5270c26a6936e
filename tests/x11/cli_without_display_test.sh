#!/usr/bin/env bash
# The Linux wedge where no desktop can be reached: list and type say so,
# and why, and exit 1 rather than find no window; a file it cannot read
# comes with the system's reason; --version and --help answer without a
# desktop, the help in Linux's own terms and with every exit status.
#   cli_without_display_test.sh WEDGE VERSION
set -uo pipefail
wedge=$1
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# run EXPECTED-STATUS ARGS...: runs wedge without a display, keeping its
# output in $out and $err.
run() {
  local expected=$1 status
  shift
  env -u DISPLAY "$wedge" "$@" >"$scratch/out" 2>"$scratch/err"
  status=$?
  out=$(<"$scratch/out")
  err=$(<"$scratch/err")
  if [ "$status" -ne "$expected" ]; then
    echo "FAIL: wedge $* exited $status, not $expected; stderr: $err"
    failures=$((failures + 1))
  fi
}
expect() {  # expect DESCRIPTION TEXT PATTERN: the text matches the extended pattern
  if ! grep -qE -- "$3" <<<"$2"; then
    echo "FAIL: $1: expected /$3/ in: $2"
    failures=$((failures + 1))
  fi
}
refuse() {  # refuse DESCRIPTION TEXT PATTERN: the text does not match
  if grep -qE -- "$3" <<<"$2"; then
    echo "FAIL: $1: did not expect /$3/ in: $2"
    failures=$((failures + 1))
  fi
}

no_desktop='^wedge (list|type): .*1167.*No desktop can be reached.*DISPLAY is not set$'

run 1 list
expect "list says why it lists nothing" "$err" "$no_desktop"
[ -z "$out" ] || { echo "FAIL: list printed windows without a desktop: $out"; failures=$((failures + 1)); }

run 1 type --window "Till 1" x
expect "type says the desktop cannot be reached" "$err" "$no_desktop"
refuse "type blames the title" "$err" "no window is titled"

run 1 type --window 0 --file "$scratch/missing.bin"
expect "a missing file comes with its reason" "$err" \
  "^wedge type: cannot read $scratch/missing.bin: No such file or directory$"

run 0 --version
[ "$out" = "wedge $version" ] || { echo "FAIL: --version printed '$out', not 'wedge $version'"; failures=$((failures + 1)); }

run 0 --help
status_lines=$(sed -n '/^Exit status:/,$p' <<<"$out")
for status in 0 1 2; do
  expect "the help gives exit status $status" "$status_lines" "^  $status  "
done
refuse "the Linux help speaks of Windows' typing" "$out" "ANSI|Alt \\+|keypad"
expect "the Linux help names the display" "$out" "DISPLAY"

[ "$failures" -eq 0 ] || exit 1
echo "wedge without a display: every message and exit status as expected"
