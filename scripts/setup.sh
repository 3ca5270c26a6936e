#!/usr/bin/env bash
# Installs everything the build and the tests need, from Debian's packages.
# Quick when all is present: it asks apt only for what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine32 wine64 xvfb xauth
  openjdk-17-jdk-headless junit5
  maven libmaven-compiler-plugin-java libmaven-resources-plugin-java
  imagemagick gnuplot-nox
  clang libclang-rt-14-dev clang-tidy cppcheck
  libx11-dev libxtst-dev libxcb1-dev libxcb-xtest0-dev libxcb-xkb-dev
  openbox xterm xdotool x11-utils x11-xserver-utils
  libxdo-dev
  # The demo's xterms draw in the misc-fixed fonts; openbox's titles in DejaVu.
  xfonts-base fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  echo "setup: installing ${missing[*]}"
  # A mirror caught mid-sync fails one index now and then; the others are
  # still good, and the install below says so if a package is truly missing.
  "${sudo_cmd[@]}" apt-get update -q || echo "setup: apt-get update reported errors; installing from the lists it has"
  install=("${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends)
  if ! "${install[@]}" "${missing[@]}"; then
    # Without a usable 32-bit package list (a mirror mid-sync skews i386
    # against amd64) everything but Wine's 32-bit side still installs; the
    # win32 Wine tests then skip, as on machines that cannot run 32-bit code.
    echo "setup: the install failed; trying again without Wine's 32-bit side"
    without32=()
    for p in "${missing[@]}"; do [ "$p" = wine32 ] || without32+=("$p"); done
    "${install[@]}" "${without32[@]}"
  fi
fi
