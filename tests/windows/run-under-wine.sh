#!/usr/bin/env bash
# Runs one Windows test program under Wine, on an Xvfb display of its own,
# and exits with the program's exit code.
#
# Usage: run-under-wine.sh <wine prefix> <win32|win64> <program> [arguments...]
#
# The prefix is created on first use and reused after. Runs against the
# same prefix are serialised: Wine's desktop, foreground window and
# keyboard state belong to the prefix's wineserver, and tests that type
# would disturb each other.
set -uo pipefail

if [ $# -lt 3 ]; then
  echo "usage: $0 <wine prefix> <win32|win64> <program> [arguments...]" >&2
  exit 2
fi
prefix=$1
arch=$2
program=$3
shift 3

# The machine may be unable to run the architecture's loader at all (a
# kernel without 32-bit support): the test is then reported as skipped.
# shellcheck source=../../scripts/wine-loader.sh
source "$(dirname "$0")/../../scripts/wine-loader.sh"
if ! wine=$(wine_loader "$arch"); then
  echo "run-under-wine: this machine cannot run Wine's $arch loader; skipped" >&2
  exit "$WINE_UNAVAILABLE_STATUS"
fi
export WINELOADER="$wine"

# Seconds; together kept below the ctest TIMEOUT, so that this script,
# not ctest, stops a hung program and cleans up after it.
program_limit=${WEDGE_WINE_PROGRAM_TIMEOUT:-240}
boot_limit=${WEDGE_WINE_BOOT_TIMEOUT:-240}
lock_limit=${WEDGE_WINE_LOCK_TIMEOUT:-240}

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
if ! flock -w "$lock_limit" 9; then
  echo "run-under-wine: $prefix is still in use after ${lock_limit}s" >&2
  exit 1
fi

scratch=$(mktemp -d)
xvfb_pid=""

stop_wine() {
  WINEPREFIX="$prefix" timeout 30 wineserver -k >/dev/null 2>&1
  WINEPREFIX="$prefix" timeout 30 wineserver -w >/dev/null 2>&1
}

cleanup() {
  stop_wine
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Starts Xvfb on the given display, or on a free one it picks itself when
# none is given, and sets display to its number once it accepts
# connections; fails when the server does not come up.
start_xvfb() {
  : >"$scratch/display"
  Xvfb ${1:+":$1"} -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 200); do
    if grep -q '^[0-9][0-9]*$' "$scratch/display" 2>/dev/null; then
      display=$(head -n 1 "$scratch/display")
      return 0
    fi
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
  return 1
}

# WEDGE_XVFB_DISPLAYS=FIRST-LAST keeps to those displays (the first free
# one is taken), for machines where others own the rest.
display=""
if [ -n "${WEDGE_XVFB_DISPLAYS:-}" ]; then
  for number in $(seq "${WEDGE_XVFB_DISPLAYS%-*}" "${WEDGE_XVFB_DISPLAYS#*-}"); do
    if start_xvfb "$number"; then break; fi
  done
else
  start_xvfb
fi
if [ -z "$display" ]; then
  echo "run-under-wine: Xvfb did not start" >&2
  cat "$scratch/xvfb.log" >&2
  exit 1
fi

export DISPLAY=":$display"
export WINEPREFIX="$prefix"
export WINEARCH="$arch"
export WINEDEBUG=-all
# No Mono or Gecko: the tests need neither, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset XAUTHORITY

if [ ! -f "$prefix/.wedge-prefix-ready" ]; then
  echo "run-under-wine: creating the Wine prefix $prefix" >&2
  if ! timeout --kill-after=10 "$boot_limit" "$wine" wineboot --init >"$scratch/wineboot.log" 2>&1; then
    echo "run-under-wine: wineboot failed" >&2
    cat "$scratch/wineboot.log" >&2
    exit 1
  fi
  stop_wine
  touch "$prefix/.wedge-prefix-ready"
fi

# In the background, so that a TERM is handled (and Wine and Xvfb
# stopped) at once rather than after the program ends.
timeout --kill-after=10 "$program_limit" "$wine" "$program" "$@" &
wait $!
status=$?
if [ "$status" -eq 124 ]; then
  echo "run-under-wine: $program ran longer than ${program_limit}s and was stopped" >&2
fi
exit "$status"
