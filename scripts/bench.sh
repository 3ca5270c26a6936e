#!/usr/bin/env bash
# Builds and runs the benchmarks and writes their figures to bench/results/:
# latest.csv, latest.md and pacing.png.
#
#   bash scripts/bench.sh [windows] [linux]     (both when none is named)
#
# windows: the win32 and win64 DLLs under Wine, and the host core over the
# simulated desktop; each preset builds in build/bench-<preset>, with its
# own Wine prefix. linux: our library beside xdotool under Xvfb with
# openbox, and beside wtype on headless sway, built in build/bench-linux. A part that is not run keeps its
# figures, and the machine they came from, from the previous run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/parts.sh
choose_parts "$@" || exit 2
bash scripts/setup.sh

results=bench/results
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$results"
: >"$scratch/rows.csv"

# Keeps only the figure rows; Wine's console ends lines with CR LF.
collect() {
  echo "== $*"
  "$@" | tr -d '\r' | { grep '^row,' || true; } | cut -d, -f2- >>"$scratch/rows.csv"
}

# "name: value" lines describing where a part ran, with these added. The
# load average tells whether other work shared the CPUs with the run.
describe_machine() {
  echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "load average (1, 5, 15 min) when the part ended: $(cut -d ' ' -f 1-3 /proc/loadavg)"
  echo "commit: $(git rev-parse --short HEAD)"
  echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), nproc $(nproc)"
  echo "kernel: $(uname -sr)"
  printf '%s\n' "$@"
}

# Where the figures of a platform this machine cannot run come from: the
# run that last measured them, as the previous description names it.
kept_figures_note() {
  local platform=$1 previous=$results/machine-windows.txt from
  from=$(sed -n "s/^$platform figures: from the run of \([^;]*\);.*/\1/p" "$previous" 2>/dev/null | head -n 1)
  if [ -z "$from" ]; then
    from="$(sed -n 's/^date: //p' "$previous" 2>/dev/null | head -n 1), commit $(sed -n 's/^commit: //p' "$previous" 2>/dev/null | head -n 1)"
  fi
  echo "$platform figures: from the run of $from; this machine cannot run Wine's $platform loader"
}

windows_part() {
  local preset program
  for preset in host win32 win64; do
    echo "== $preset: configure and build"
    cmake --preset "$preset" -B "build/bench-$preset" -DWEDGE_TESTS=OFF -DWEDGE_JAVA_TESTS=OFF -DWEDGE_BENCH=ON >/dev/null
    cmake --build "build/bench-$preset" --target wedge_bench
  done
  for program in typing_allocations_bench translation_cpu_bench host_memory_bench; do
    collect "build/bench-host/bin/$program"
  done
  # One program at a time: each starts its own Xvfb and wineserver, and the
  # typing needs the keyboard and foreground to itself.
  source scripts/wine-loader.sh
  local kept_notes=()
  for preset in win32 win64; do
    if ! wine_loader "$preset" >/dev/null; then
      echo "== $preset: skipped, this machine cannot run Wine's $preset loader; its figures are kept"
      unrunnable_platforms+=" $preset"
      kept_notes+=("$(kept_figures_note "$preset")")
      continue
    fi
    for program in pacing_bench catalogue_bench memory_bench; do
      collect bash tests/win32/run-under-wine.sh "$PWD/build/bench-$preset/wine-prefix" "$preset" \
        "build/bench-$preset/bin/$program.exe"
    done
  done
  describe_machine "Wine: $(/usr/lib/wine/wine64 --version)" \
    "compilers: $(g++ --version | head -n 1); $(x86_64-w64-mingw32-g++-posix --version | head -n 1)" \
    "${kept_notes[@]}" >"$scratch/machine-windows.txt"
  mv "$scratch/machine-windows.txt" "$results/machine-windows.txt"
}

linux_part() {
  local build=build/bench-linux
  local session=scripts/x-session.sh
  echo "== linux: configure and build"
  cmake --preset linux -B "$build" -DWEDGE_TESTS=OFF -DWEDGE_JAVA_TESTS=OFF -DWEDGE_BENCH=ON >/dev/null
  cmake --build "$build" --target wedge_bench kavo_emulator_scanner
  local library=(--library "$PWD/$build/bin/libkavo_emulator_scanner.so")
  # Each program in an X session of its own: the typing needs the keyboard
  # and the focus to itself, and the catalogue an otherwise empty desktop.
  collect "$session" "$build/bin/linux_typing_bench" "${library[@]}"
  collect "$session" "$build/bin/linux_exactness_bench" "${library[@]}"
  collect "$session" "$build/bin/linux_catalogue_bench" "${library[@]}"
  collect "$session" "$build/bin/linux_memory_bench" "${library[@]}"
  # Wayland: headless sway with XWayland, beside wtype.
  collect scripts/sway-session.sh "$build/bin/linux_wayland_bench" "${library[@]}"
  local version=(dpkg-query -W -f='${Version}')
  describe_machine "X server: Xvfb $("${version[@]}" xvfb), openbox $("${version[@]}" openbox), xterm $("${version[@]}" xterm)" \
    "xdotool and libxdo: $("${version[@]}" xdotool)" \
    "Wayland: sway $("${version[@]}" sway), XWayland $("${version[@]}" xwayland), foot $("${version[@]}" foot), wtype $("${version[@]}" wtype)" \
    "compiler: $(g++ --version | head -n 1)" \
    >"$results/machine-linux.txt"
}

unrunnable_platforms=""
started=$(date +%s)
! running windows || windows_part
! running linux || linux_part
echo "== the benchmarks ran in $(( $(date +%s) - started )) s"

# The figures of the parts not run stay as they were.
kept_platforms=""
running windows || kept_platforms+=" host win32 win64"
running linux || kept_platforms+=" linux"
kept_platforms+="$unrunnable_platforms"
{
  echo "figure,platform,case,size,metric,value"
  if [ -n "$kept_platforms" ] && [ -f "$results/latest.csv" ]; then
    awk -F, -v kept="$kept_platforms " 'NR > 1 && index(kept, " " $2 " ")' "$results/latest.csv"
  fi
  cat "$scratch/rows.csv"
} >"$scratch/latest.csv"
mv "$scratch/latest.csv" "$results/latest.csv"

# One list of "name: value" lines per part, headed by the part's name.
machine=""
for part in windows linux; do
  [ -f "$results/machine-$part.txt" ] || continue
  heading="Windows and host figures"
  [ "$part" = windows ] || heading="Linux figures"
  machine+="${machine:+|}**$heading**|$(paste -sd'|' "$results/machine-$part.txt")"
done
{
  awk -v machine="$machine" -v platforms_left_out=linux \
    -f bench/report/figures.awk -f bench/report/results_table.awk "$results/latest.csv"
  awk -v platforms_wanted=linux -f bench/report/figures.awk -f bench/report/linux_tables.awk "$results/latest.csv"
  awk -v platforms_wanted=linux -f bench/report/figures.awk -f bench/report/wayland_table.awk "$results/latest.csv"
} >"$results/latest.md"

awk -f bench/report/pacing_data.awk "$results/latest.csv" >"$scratch/pacing.dat"
titles=$(sed -n 's/^# //p' "$scratch/pacing.dat" | tr '\n' ' ')
gnuplot -e "data='$scratch/pacing.dat'; titles='$titles'; out='$results/pacing.png'" bench/report/pacing.gp

echo "== results: $results/latest.md, $results/latest.csv, $results/pacing.png"
