#!/usr/bin/env bash
# Checks the shipped Linux library: it defines exactly Wedge's five natives
# and needs nothing beyond the C library and the loader, so that it loads
# with no X libraries, C++ runtime or libgcc on the machine.
set -euo pipefail
library=$1
status=0

exports=$(nm -D --defined-only "$library" | awk '{print $3}' | sort)
expected=$(printf '%s\n' getWindows setWindow sendText getLastErrorMessage destroy |
  sed 's/^/Java_kavo_emulator_scanner_jni_Wedge_/' | sort)
if [ "$exports" != "$expected" ]; then
  echo "exports differ from the five natives:"
  diff <(echo "$expected") <(echo "$exports") || true
  status=1
fi

needed=$(readelf -d "$library" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort)
unexpected=$(grep -v -x -e 'libc\.so\.6' -e 'libm\.so\.6' -e 'ld-linux-x86-64\.so\.2' <<<"$needed" || true)
if [ -n "$unexpected" ]; then
  echo "needs more than libc and the loader: $unexpected"
  status=1
fi
grep -q -x 'libc\.so\.6' <<<"$needed" || { echo "does not name libc.so.6: $needed"; status=1; }

[ "$status" -eq 0 ] && echo "exports: the five natives; needs: $(echo $needed)"
exit "$status"
