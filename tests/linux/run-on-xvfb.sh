#!/usr/bin/env bash
# Runs a command on an Xvfb display of its own, with the openbox window
# manager or with none, and stops both afterwards.
# Usage: run-on-xvfb.sh <openbox|none> <command> [arguments...]
set -uo pipefail

if [ $# -lt 2 ] || { [ "$1" != openbox ] && [ "$1" != none ]; }; then
  echo "usage: $0 <openbox|none> <command> [arguments...]" >&2
  exit 2
fi
manager=$1
shift

scratch=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[$i]}" 2>/dev/null
    wait "${pids[$i]}" 2>/dev/null
  done
  rm -rf "$scratch"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it accepts
# connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
  3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
pids+=("$!")
display=""
for _ in $(seq 100); do
  if grep -q '^[0-9][0-9]*$' "$scratch/display" 2>/dev/null; then
    display=$(head -n 1 "$scratch/display")
    break
  fi
  sleep 0.1
done
if [ -z "$display" ]; then
  echo "run-on-xvfb: Xvfb did not start" >&2
  cat "$scratch/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$display"

if [ "$manager" = openbox ]; then
  openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
  pids+=("$!")
  # Ready once it names its check window on the root.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    echo "run-on-xvfb: openbox did not start" >&2
    cat "$scratch/openbox.log" >&2
    exit 1
  fi
fi

"$@"
