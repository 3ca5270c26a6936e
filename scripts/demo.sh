#!/usr/bin/env bash
# The live demo, on both desktops:
#   windows: types a batch of sample scans into Wine's own Notepad with
#     wedge.exe, reads back what Notepad holds, prints it beside what was
#     sent, and saves a screenshot (build/demo/demo.png);
#   linux: the Java example demo/java/WedgeDemo.java, with the jar on its
#     class path, chooses an xterm by its title on an Xvfb display with
#     openbox, types the sample scans into it, prints what arrived beside
#     what was sent, and a screenshot is saved (build/demo/demo-linux.png);
#     then the same on headless sway, typing into a foot terminal
#     (build/demo/demo-wayland.png).
# Each part starts its own display (and Wine prefix) and shuts it down at
# the end.
#
#   bash scripts/demo.sh [windows] [linux]     (both when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/parts.sh
choose_parts "$@" || exit 2

bash scripts/build.sh >/dev/null
if running windows; then cmake --build --preset win64 --target window_text >/dev/null; fi

bin=build/win64/bin
prefix=$PWD/build/demo/wine-prefix
out=$PWD/build/demo
mkdir -p "$out"
scratch=$(mktemp -d)
xvfb_pid=""
x_pids=()
source scripts/x-session.sh
source scripts/sway-session.sh

finish() {
  [ -z "$xvfb_pid" ] || WINEPREFIX="$prefix" timeout 30 wineserver -k >/dev/null 2>&1 || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  [ ${#x_pids[@]} -eq 0 ] || kill "${x_pids[@]}" 2>/dev/null || true
  x_session_stop
  sway_session_stop
  rm -rf "$scratch"
}
trap finish EXIT

windows_demo() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do grep -q '^[0-9]' "$scratch/display" 2>/dev/null && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$scratch/display")" WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  source scripts/wine-loader.sh
  wine=$(wine_loader win64) || { echo "demo: this machine cannot run Wine's 64-bit loader" >&2; return 1; }
  export WINELOADER="$wine"
  if [ ! -f "$prefix/.wedge-prefix-ready" ]; then
    echo "demo: creating the Wine prefix (once)"
    timeout 240 "$wine" wineboot --init >/dev/null 2>&1
    # A virtual desktop of the display's size: Wine then draws the windows'
    # frames and titles itself, with no window manager on the display.
    "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
    touch "$prefix/.wedge-prefix-ready"
  fi

  wedge() { timeout 60 "$wine" "$bin/wedge.exe" "$@"; }

  "$wine" notepad >/dev/null 2>&1 &
  title="Untitled - Notepad"
  for _ in $(seq 1 100); do wedge list | grep -q "	$title" && break; sleep 0.2; done

  echo "== wedge list"
  wedge list

  # An EAN-13 code with Enter, fields separated by Tab, a mixed-case code.
  scans=("4006381333931" $'LOT-42\t2026-12-08\tQty 12' "AbC-xYz-0815")
  echo "== wedge type"
  for scan in "${scans[@]}"; do
    wedge type --window "$title" --suffix enter "$scan"
  done

  show() { sed -e 's/\t/<TAB>/g' -e 's/\r$//' ; }
  sent=$(printf '%s\r\n' "${scans[@]}")
  received=$(timeout 30 "$wine" "$bin/window_text.exe" "$title")
  echo "== sent (each scan followed by Enter)"
  printf '%s\n' "$sent" | show
  echo "== read back from Notepad"
  printf '%s\n' "$received" | show
  plain() { tr -d '\r' | tr -d "$1"; }
  if [ "$(printf '%s' "$received" | plain '')" = "$(printf '%s' "$sent" | plain '')" ]; then
    echo "== Notepad holds exactly what was sent"
  elif [ "$(printf '%s' "$received" | plain '\t')" = "$(printf '%s' "$sent" | plain '\t')" ]; then
    # Tab goes in by scan code; Wine 8 passes such keys on without the
    # character they stand for, so the fields run together here. Windows
    # turns the same key into a Tab.
    echo "== Notepad holds what was sent, less the Tabs: Wine 8 gives keys sent by scan code no character"
  else
    echo "== Notepad's text differs from what was sent"
    return 1
  fi

  import -window root "$out/demo.png"
  echo "== screenshot: $out/demo.png"

  WINEPREFIX="$prefix" timeout 30 wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
}

linux_demo() {
  local jar=dist/kavo-emulator-scanner.jar classes=$out/java-classes received=$scratch/received.txt status=0
  echo "== Linux: Xvfb with openbox; demo/java/WedgeDemo.java types into an xterm"
  x_session_start
  javac -encoding UTF-8 -cp "$jar" -d "$classes" demo/java/WedgeDemo.java
  : >"$received"
  # Another window, so that there is a choice to make.
  xterm -fn 10x20 -geometry 50x4+40+300 -T "Notes - xterm" \
    -e sh -c 'echo "Another window: the demo picks the till by its title."; exec sleep 600' &
  x_pids+=($!)
  # The till: an xterm whose terminal hands over every key as it comes,
  # copies it into a file for the demo to read back, and shows each scan
  # on a line of its own.
  LC_ALL=C.UTF-8 xterm -u8 -fn -misc-fixed-medium-r-normal--20-200-75-75-c-100-iso10646-1 -geometry 50x8+40+40 -T "Till 1 - xterm" \
    -e sh -c 'stty raw -echo opost && tee -a "$0" | tr "\r" "\n"' "$received" &
  x_pids+=($!)
  # Both up before typing: a window that appears mid-scan takes the focus,
  # and the scan then stops.
  for _ in $(seq 1 100); do
    [ "$(xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*' | wc -l)" -lt 2 ] || break
    sleep 0.1
  done
  java -cp "$jar:$classes" WedgeDemo "Till 1" "$received" || status=$?
  # The part of the screen the two windows take.
  import -window root -crop 600x420+0+0 +repage "$out/demo-linux.png"
  echo "== screenshot: $out/demo-linux.png"
  kill "${x_pids[@]}" 2>/dev/null || true
  x_pids=()
  x_session_stop
  return "$status"
}

# The same Java example on a Wayland desktop: headless sway, typing into a
# foot terminal, screenshot taken with grim. sway and its clients run as
# the session's user (scripts/sway-session.sh); the JVM as us.
wayland_demo() {
  local jar=dist/kavo-emulator-scanner.jar classes=$out/java-classes received status=0 shot _
  echo "== Linux: headless sway; demo/java/WedgeDemo.java types into a foot terminal"
  sway_session_start
  received=$WEDGE_SESSION_DIR/received.txt
  shot=$WEDGE_SESSION_DIR/demo-wayland.png
  javac -encoding UTF-8 -cp "$jar" -d "$classes" demo/java/WedgeDemo.java
  # Another window, so that there is a choice to make; then the till, which
  # shows each scan on a line of its own and copies what it gets to a file.
  sway_session_run foot -T "Notes - foot" sh -c 'echo "Another window: the demo picks the till by its title."; exec sleep 600' >/dev/null 2>&1 &
  sway_session_run foot -T "Till 1 - foot" sh -c 'stty raw -echo opost && tee -a "$0" | tr "\r" "\n"' "$received" >/dev/null 2>&1 &
  for _ in $(seq 1 100); do
    [ ! -e "$received" ] || break
    sleep 0.1
  done
  java -cp "$jar:$classes" WedgeDemo "Till 1" "$received" || status=$?
  sway_session_run grim "$shot" && cp "$shot" "$out/demo-wayland.png" && echo "== screenshot: $out/demo-wayland.png"
  sway_session_stop
  return "$status"
}

# Not "running x || x_demo": set -e would not apply inside the function.
if running windows; then windows_demo; fi
if running linux; then linux_demo; wayland_demo; fi
