#!/usr/bin/env bash
# An X session of its own: an Xvfb display with the openbox window manager.
#
# Run:     x-session.sh [--no-wm] <command> [arguments...]
#          runs the command in a new session, stops the session after it,
#          and exits with the command's status.
# Sourced: x_session_start [--no-wm] starts a session and exports DISPLAY;
#          x_session_stop stops it, and returns 0 even under set -e.
#
# Xvfb takes the first free display, or the one WEDGE_X_DISPLAY names
# (for example ":80").

x_session_xvfb_pid=""
x_session_wm_pid=""
x_session_dir=""

x_session_stop() {
  local pid _
  for pid in $x_session_wm_pid $x_session_xvfb_pid; do
    kill "$pid" 2>/dev/null || continue
    # openbox has been seen spinning on after TERM: five seconds, then KILL.
    for _ in $(seq 1 50); do
      [[ "$(ps -o stat= -p "$pid" 2>/dev/null)" == [!Z]* ]] || break
      sleep 0.1
    done
    # Both fail for a process that has already ended, and wait gives the
    # status TERM left; neither may stop a caller that runs under set -e.
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  x_session_wm_pid=""
  x_session_xvfb_pid=""
  [ -z "$x_session_dir" ] || rm -rf "$x_session_dir"
  x_session_dir=""
}

x_session_start() {
  local window_manager=openbox display="" _
  [ "${1:-}" != "--no-wm" ] || window_manager=""
  x_session_dir=$(mktemp -d)
  # With a display number given, -displayfd still reports when the server
  # accepts connections.
  Xvfb ${WEDGE_X_DISPLAY:-} -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$x_session_dir/display" >"$x_session_dir/xvfb.log" 2>&1 &
  x_session_xvfb_pid=$!
  for _ in $(seq 1 100); do
    if grep -q '^[0-9][0-9]*$' "$x_session_dir/display" 2>/dev/null; then
      display=$(head -n 1 "$x_session_dir/display")
      break
    fi
    kill -0 "$x_session_xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$display" ]; then
    echo "x-session: Xvfb did not start" >&2
    cat "$x_session_dir/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=":$display"
  unset XAUTHORITY
  [ -n "$window_manager" ] || return 0

  # Its own empty configuration home: a user's openbox settings stay out.
  XDG_CONFIG_HOME="$x_session_dir" openbox --sm-disable >"$x_session_dir/wm.log" 2>&1 &
  x_session_wm_pid=$!
  # The window manager manages windows once it has announced itself.
  for _ in $(seq 1 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$x_session_wm_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "x-session: openbox did not start" >&2
  cat "$x_session_dir/wm.log" >&2
  return 1
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  options=()
  if [ "${1:-}" = "--no-wm" ]; then
    options=(--no-wm)
    shift
  fi
  if [ $# -lt 1 ]; then
    echo "usage: $0 [--no-wm] <command> [arguments...]" >&2
    exit 2
  fi
  trap x_session_stop EXIT
  trap 'exit 130' INT TERM
  x_session_start "${options[@]}" || exit 1
  # In the background, so that a TERM stops the session at once.
  "$@" &
  wait $!
fi
