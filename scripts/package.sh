#!/usr/bin/env bash
# Assembles dist/: the jar with the native libraries inside it, the DLLs
# and wedge.exe for each Windows architecture, the Linux library and wedge,
# and a Maven repository (dist/maven) of the jar, its pom, sources and
# Javadoc. Expects the win32, win64, linux and host presets to be built;
# checks what it made.
set -euo pipefail
cd "$(dirname "$0")/.."

artifact=kavo-emulator-scanner
jar=dist/$artifact.jar
rm -rf dist
mkdir -p dist/staging/native dist/windows-x86 dist/windows-x86_64 dist/linux-x86_64
for pair in win32:windows-x86 win64:windows-x86_64; do
  preset=${pair%%:*}
  arch=${pair##*:}
  mkdir -p "dist/staging/native/$arch"
  cp "build/$preset/bin/kavo_emulator_scanner.dll" "dist/staging/native/$arch/"
  cp "build/$preset/bin/kavo_emulator_scanner.dll" "build/$preset/bin/wedge.exe" "dist/$arch/"
done
natives=(native/windows-x86/kavo_emulator_scanner.dll native/windows-x86_64/kavo_emulator_scanner.dll
  native/linux-x86_64/libkavo_emulator_scanner.so)
mkdir -p dist/staging/native/linux-x86_64
cp build/linux/bin/libkavo_emulator_scanner.so dist/staging/native/linux-x86_64/
cp build/linux/bin/libkavo_emulator_scanner.so build/linux/bin/wedge dist/linux-x86_64/
cp "build/host/$artifact.jar" "$jar"
jar --update --file "$jar" -C dist/staging native
rm -rf dist/staging

listing=$(jar --list --file "$jar")
for entry in kavo/emulator/scanner/jni/Wedge.class META-INF/versions/9/module-info.class "${natives[@]}"; do
  grep -qx "$entry" <<<"$listing" || { echo "package: the jar lacks $entry" >&2; exit 1; }
done
jar --describe-module --file "$jar" --release 9 | grep -q '^kavo\.emulator\.scanner@' ||
  { echo "package: the jar is not the module kavo.emulator.scanner" >&2; exit 1; }

cmake -DPOM="build/host/$artifact.pom" -DJAR="$jar" -DSOURCES_JAR="build/host/$artifact-sources.jar" \
  -DJAVADOC_JAR="build/host/$artifact-javadoc.jar" -DREPOSITORY=dist/maven -P cmake/maven_repository.cmake
bash tests/java/consumer/build_offline.sh README.md tests/java/consumer/pom.xml dist/maven
echo "package: $jar holds Wedge, the module descriptor and ${#natives[@]} native libraries; dist/maven serves it"
