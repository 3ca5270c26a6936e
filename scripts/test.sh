#!/usr/bin/env bash
# Runs every test: host unit tests and static analysis, Java tests in the
# real JVM, a minute of fuzzing, the Linux X11 library in the JVM on Xvfb,
# and the Windows tests of the 32-bit and 64-bit DLLs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

passed=0
failed=0
skipped=0
status=0
for preset in host host-sanitize fuzz linux win32 win64; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" -DWEDGE_TESTS=ON >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: tests"
  log=$(mktemp)
  # pipefail: a failing ctest fails the pipeline, tee or not.
  if ! ctest --preset "$preset" 2>&1 | tee "$log"; then status=1; fi
  counts=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' "$log" | tail -n 1)
  # ctest counts a skipped test among the passed ones; this count does not.
  preset_skipped=$(grep -c '(Skipped)$' "$log" || true)
  rm -f "$log"
  if [ -z "$counts" ]; then
    echo "== $preset: ctest reported no result"
    status=1
    continue
  fi
  read -r preset_failed preset_total <<<"$counts"
  passed=$((passed + preset_total - preset_failed - preset_skipped))
  failed=$((failed + preset_failed))
  skipped=$((skipped + preset_skipped))
done

echo "ctest: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] || status=1
exit "$status"
