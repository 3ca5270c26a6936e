#!/usr/bin/env bash
# Builds both DLLs, wedge.exe, the Linux library and wedge, the jar and its
# Maven repository into dist/, and shows each DLL's size, exports and
# imports.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

for preset in win32 win64 linux host; do
  cmake --preset "$preset" >/dev/null
  if [ "$preset" = host ]; then
    targets=(kavo_emulator_scanner wedge_jar wedge_maven_artifacts wedge_java_examples)
  else
    targets=(kavo_emulator_scanner wedge)
  fi
  cmake --build --preset "$preset" -j2 --target "${targets[@]}"
done
bash scripts/package.sh

size_limit_kib=100
for arch in windows-x86:i686 windows-x86_64:x86_64; do
  dll=dist/${arch%%:*}/kavo_emulator_scanner.dll
  tool=${arch##*:}-w64-mingw32-objdump
  bytes=$(stat -c %s "$dll")
  echo "== $dll: $bytes bytes ($(( (bytes + 1023) / 1024 )) KiB; at most $size_limit_kib KiB)"
  "$tool" -p "$dll" |
    sed -n -e 's/^\tDLL Name: /imports /p' -e '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\t\[ *[0-9]*\] /exports /p'
  [ "$bytes" -le $((size_limit_kib * 1024)) ] || { echo "build: $dll is over $size_limit_kib KiB" >&2; exit 1; }
done
