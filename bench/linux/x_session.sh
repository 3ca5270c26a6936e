#!/usr/bin/env bash
# Runs one command inside an X session of its own: an Xvfb display with the
# openbox window manager, both stopped when the command ends. Exits with
# the command's status.
#
# Usage: x_session.sh [--no-wm] <command> [arguments...]
#
# WEDGE_X_DISPLAY (for example ":80") chooses the display number; without
# it Xvfb takes the first free one.
set -uo pipefail

window_manager=openbox
if [ "${1:-}" = "--no-wm" ]; then
  window_manager=""
  shift
fi
if [ $# -lt 1 ]; then
  echo "usage: $0 [--no-wm] <command> [arguments...]" >&2
  exit 2
fi

scratch=$(mktemp -d)
xvfb_pid=""
wm_pid=""

cleanup() {
  for pid in $wm_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# With a display number given, -displayfd still reports when the server
# accepts connections.
Xvfb ${WEDGE_X_DISPLAY:-} -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
  3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 1 100); do
  if grep -q '^[0-9][0-9]*$' "$scratch/display" 2>/dev/null; then
    display=$(head -n 1 "$scratch/display")
    break
  fi
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$display" ]; then
  echo "x_session: Xvfb did not start" >&2
  cat "$scratch/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$display"
unset XAUTHORITY

if [ -n "$window_manager" ]; then
  # Its own empty configuration home: a user's openbox settings stay out.
  XDG_CONFIG_HOME="$scratch" openbox --sm-disable >"$scratch/wm.log" 2>&1 &
  wm_pid=$!
  # Managing windows starts once the window manager announces itself.
  managed=""
  for _ in $(seq 1 100); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
      managed=yes
      break
    fi
    kill -0 "$wm_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$managed" ]; then
    echo "x_session: openbox did not start" >&2
    cat "$scratch/wm.log" >&2
    exit 1
  fi
fi

# In the background, so that a TERM stops the session at once.
"$@" &
wait $!
