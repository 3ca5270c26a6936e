#!/usr/bin/env bash
# Builds both DLLs, wedge.exe and the jar into dist/, and shows what the
# DLLs export and import.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

for preset in win32 win64 host; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target kavo_emulator_scanner wedge_jar $([ "$preset" = host ] || echo wedge)
done
bash scripts/package.sh

for arch in windows-x86:i686 windows-x86_64:x86_64; do
  dir=${arch%%:*}
  tool=${arch##*:}-w64-mingw32-objdump
  echo "== dist/$dir/kavo_emulator_scanner.dll ($(stat -c %s "dist/$dir/kavo_emulator_scanner.dll") bytes)"
  "$tool" -p "dist/$dir/kavo_emulator_scanner.dll" |
    sed -n -e 's/^\tDLL Name: /imports /p' -e '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\t\[ *[0-9]*\] /exports /p'
done
