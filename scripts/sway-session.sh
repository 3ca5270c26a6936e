#!/usr/bin/env bash
# A Wayland session of its own: headless sway (with XWayland) run as the
# unprivileged user nobody, since sway refuses to run as root.
#
# Run:     sway-session.sh <command> [arguments...]
#          runs the command with WAYLAND_DISPLAY, XDG_RUNTIME_DIR and
#          DISPLAY (XWayland) set, stops sway after it, and exits with the
#          command's status.
# Sourced: sway_session_start starts a session and exports those
#          variables, SWAYSOCK, WEDGE_SESSION_DIR (a folder the session's
#          user owns) and WEDGE_SESSION_UID (that user); sway_session_stop
#          stops it; sway_session_run runs a command as the session's user,
#          in its environment.

sway_session_pid=""
sway_session_dir=""
sway_session_uid=65534

sway_session_stop() {
  local _
  if [ -n "$sway_session_pid" ] && kill "$sway_session_pid" 2>/dev/null; then
    for _ in $(seq 1 50); do
      kill -0 "$sway_session_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$sway_session_pid" 2>/dev/null || true
    wait "$sway_session_pid" 2>/dev/null || true
  fi
  # Clients end with the compositor they were connected to.
  [ -z "$sway_session_dir" ] || rm -rf "$sway_session_dir"
  sway_session_pid=""
  sway_session_dir=""
}

# Runs a command as the session's user with the session's environment.
sway_session_run() {
  setpriv --reuid=$sway_session_uid --regid=$sway_session_uid --clear-groups -- \
    env HOME="$sway_session_dir" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" \
    WAYLAND_DISPLAY="$WAYLAND_DISPLAY" DISPLAY="${DISPLAY:-}" SWAYSOCK="${SWAYSOCK:-}" "$@"
}

sway_session_start() {
  local socket="" _
  sway_session_dir=$(mktemp -d /tmp/wedge-sway.XXXXXX)
  mkdir -m 0700 "$sway_session_dir/run"
  chown -R $sway_session_uid:$sway_session_uid "$sway_session_dir"
  chmod 0711 "$sway_session_dir"
  # XWayland on demand; no bar, no idle, no config of the user's own.
  cat >"$sway_session_dir/config" <<'EOF'
xwayland enable
output HEADLESS-1 resolution 1280x1024
EOF
  setpriv --reuid=$sway_session_uid --regid=$sway_session_uid --clear-groups -- \
    env -i PATH="$PATH" HOME="$sway_session_dir" XDG_RUNTIME_DIR="$sway_session_dir/run" \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway --config "$sway_session_dir/config" >"$sway_session_dir/sway.log" 2>&1 &
  sway_session_pid=$!
  for _ in $(seq 1 100); do
    socket=$(cd "$sway_session_dir/run" 2>/dev/null && ls wayland-[0-9]* 2>/dev/null | grep -v '\.lock$' | head -n 1) || true
    [ -z "$socket" ] || break
    kill -0 "$sway_session_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$socket" ]; then
    echo "sway-session: sway did not start" >&2
    cat "$sway_session_dir/sway.log" >&2
    return 1
  fi
  export XDG_RUNTIME_DIR="$sway_session_dir/run"
  # Where the session's user may write, and who that is.
  export WEDGE_SESSION_DIR="$sway_session_dir" WEDGE_SESSION_UID="$sway_session_uid"
  export WAYLAND_DISPLAY="$socket"
  export SWAYSOCK
  SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -n 1) || true
  # XWayland's display: sway gives it to what it starts.
  sway_session_run swaymsg -q exec "echo \$DISPLAY > $sway_session_dir/display" >/dev/null 2>&1 || true
  DISPLAY=""
  for _ in $(seq 1 50); do
    DISPLAY=$(head -n 1 "$sway_session_dir/display" 2>/dev/null) || true
    [ -z "$DISPLAY" ] || break
    sleep 0.1
  done
  export DISPLAY
  unset XAUTHORITY
  return 0
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  if [ $# -lt 1 ]; then
    echo "usage: $0 <command> [arguments...]" >&2
    exit 2
  fi
  trap sway_session_stop EXIT
  trap 'exit 130' INT TERM
  sway_session_start || exit 1
  "$@" &
  wait $!
fi
