#!/usr/bin/env bash
# The main job: builds the 32-bit and 64-bit DLLs and the jar, and shows
# what they export and import.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

for preset in win32 win64 host; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target kavo_emulator_scanner wedge_jar
done

mkdir -p dist/windows-x86 dist/windows-x86_64
cp build/win32/bin/kavo_emulator_scanner.dll dist/windows-x86/
cp build/win64/bin/kavo_emulator_scanner.dll dist/windows-x86_64/
cp build/host/kavo-emulator-scanner.jar dist/

for arch in windows-x86:i686 windows-x86_64:x86_64; do
  dir=${arch%%:*}
  tool=${arch##*:}-w64-mingw32-objdump
  echo "== dist/$dir/kavo_emulator_scanner.dll ($(stat -c %s "dist/$dir/kavo_emulator_scanner.dll") bytes)"
  "$tool" -p "dist/$dir/kavo_emulator_scanner.dll" |
    sed -n -e 's/^\tDLL Name: /imports /p' -e '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\t\[ *[0-9]*\] /exports /p'
done
echo "== dist/kavo-emulator-scanner.jar"
jar tf dist/kavo-emulator-scanner.jar | grep -v '/$'
