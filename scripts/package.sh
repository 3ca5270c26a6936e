#!/usr/bin/env bash
# Assembles dist/: the jar with both Windows DLLs inside it, the DLLs and
# wedge.exe for each architecture. Expects the win32, win64 and host
# presets to be built; checks what it made.
set -euo pipefail
cd "$(dirname "$0")/.."

rm -rf dist
mkdir -p dist/staging/native/windows-x86 dist/staging/native/windows-x86_64 dist/windows-x86 dist/windows-x86_64
for pair in win32:windows-x86 win64:windows-x86_64; do
  preset=${pair%%:*}
  arch=${pair##*:}
  cp "build/$preset/bin/kavo_emulator_scanner.dll" "dist/staging/native/$arch/"
  cp "build/$preset/bin/kavo_emulator_scanner.dll" "build/$preset/bin/wedge.exe" "dist/$arch/"
done
cp build/host/kavo-emulator-scanner.jar dist/
jar --update --file dist/kavo-emulator-scanner.jar -C dist/staging native
rm -rf dist/staging

listing=$(jar --list --file dist/kavo-emulator-scanner.jar)
for entry in kavo/emulator/scanner/jni/Wedge.class \
             native/windows-x86/kavo_emulator_scanner.dll \
             native/windows-x86_64/kavo_emulator_scanner.dll; do
  grep -qx "$entry" <<<"$listing" || { echo "package: the jar lacks $entry" >&2; exit 1; }
done
manifest=$(mktemp -d)
(cd "$manifest" && jar --extract --file "$OLDPWD/dist/kavo-emulator-scanner.jar" META-INF/MANIFEST.MF)
grep -q '^Automatic-Module-Name: kavo.emulator.scanner' "$manifest/META-INF/MANIFEST.MF" ||
  { echo "package: the jar's manifest lacks Automatic-Module-Name" >&2; exit 1; }
rm -rf "$manifest"
echo "package: dist/kavo-emulator-scanner.jar holds Wedge and both DLLs"
