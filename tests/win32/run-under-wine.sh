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

# shellcheck source=../../scripts/x-session.sh
source "$(dirname "$0")/../../scripts/x-session.sh"

stop_wine() {
  WINEPREFIX="$prefix" timeout 30 wineserver -k >/dev/null 2>&1
  WINEPREFIX="$prefix" timeout 30 wineserver -w >/dev/null 2>&1
}

cleanup() {
  stop_wine
  x_session_stop
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display of its own, with no window manager: Wine's windows are
# activated by Wine itself. WEDGE_X_DISPLAY names one where needed.
x_session_start --no-wm || exit 1

export WINEPREFIX="$prefix"
export WINEARCH="$arch"
export WINEDEBUG=-all
# No Mono or Gecko: the tests need neither, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ ! -f "$prefix/.wedge-prefix-ready" ]; then
  echo "run-under-wine: creating the Wine prefix $prefix" >&2
  if ! timeout --kill-after=10 "$boot_limit" "$wine" wineboot --init >"$x_session_dir/wineboot.log" 2>&1; then
    echo "run-under-wine: wineboot failed" >&2
    cat "$x_session_dir/wineboot.log" >&2
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
