#!/usr/bin/env bash
# x_session_stop as the demo calls it, under set -e: it stops a process
# that still runs and passes over one that has already ended, and returns
# 0 for both, so that the caller goes on to its own exit status.
#   x_session_stop_test.sh PATH-TO/x-session.sh
set -euo pipefail
source "$1"

sleep 300 &
running=$!
sh -c 'exit 3' &
ended=$!
until [[ "$(ps -o stat= -p "$ended" 2>/dev/null)" != [!Z]* ]]; do sleep 0.05; done

x_session_wm_pid=$ended
x_session_xvfb_pid=$running
x_session_stop

if kill -0 "$running" 2>/dev/null; then
  echo "x_session_stop left process $running running" >&2
  exit 1
fi
echo "x_session_stop stopped one process, passed over an ended one and returned 0"
