#!/usr/bin/env bash
# Runs a command on an Xvfb display of its own, with the openbox window
# manager or with none, and stops both afterwards (scripts/x-session.sh).
# Usage: run-on-xvfb.sh <openbox|none> <command> [arguments...]
set -uo pipefail

if [ $# -lt 2 ] || { [ "$1" != openbox ] && [ "$1" != none ]; }; then
  echo "usage: $0 <openbox|none> <command> [arguments...]" >&2
  exit 2
fi
options=()
[ "$1" = openbox ] || options=(--no-wm)
shift
exec bash "$(dirname "$0")/../../scripts/x-session.sh" "${options[@]}" "$@"
