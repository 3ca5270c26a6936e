#!/usr/bin/env bash
# Builds and runs every benchmark: the win32 and win64 DLLs under Wine,
# and the host core over the simulated desktop. Writes the figures to
# bench/results/: latest.csv, latest.md and pacing.png. Each preset builds
# in its own directory (build/bench-<preset>), with its own Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

results=bench/results
runner=tests/windows/run-under-wine.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$results"

for preset in host win32 win64; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" -B "build/bench-$preset" -DWEDGE_TESTS=OFF -DWEDGE_JAVA_TESTS=OFF -DWEDGE_BENCH=ON >/dev/null
  cmake --build "build/bench-$preset" --target wedge_bench
done

# Keeps only the figure rows; Wine's console ends lines with CR LF.
collect() {
  echo "== $*"
  "$@" | tr -d '\r' | { grep '^row,' || true; } | cut -d, -f2- >>"$scratch/rows.csv"
}

started=$(date +%s)
for program in typing_allocations_bench translation_cpu_bench host_memory_bench; do
  collect "build/bench-host/bin/$program"
done
# One program at a time: each starts its own Xvfb and wineserver, and the
# typing needs the keyboard and foreground to itself.
source scripts/wine-loader.sh
for preset in win32 win64; do
  if ! wine_loader "$preset" >/dev/null; then
    echo "== $preset: skipped, this machine cannot run Wine's $preset loader"
    continue
  fi
  for program in pacing_bench catalogue_bench memory_bench; do
    collect bash "$runner" "$PWD/build/bench-$preset/wine-prefix" "$preset" "build/bench-$preset/bin/$program.exe"
  done
done
echo "== all benchmarks ran in $(( $(date +%s) - started )) s"

{ echo "figure,platform,case,size,metric,value"; cat "$scratch/rows.csv"; } >"$results/latest.csv"

machine="date: $(date -u '+%Y-%m-%d %H:%M UTC')"
machine+="|commit: $(git rev-parse --short HEAD)"
machine+="|CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), nproc $(nproc)"
machine+="|kernel: $(uname -sr)"
machine+="|Wine: $(/usr/lib/wine/wine64 --version)"
machine+="|compilers: $(g++ --version | head -n 1); $(x86_64-w64-mingw32-g++-posix --version | head -n 1)"
awk -v machine="$machine" -f bench/report/results_table.awk "$results/latest.csv" >"$results/latest.md"

awk -f bench/report/pacing_data.awk "$results/latest.csv" >"$scratch/pacing.dat"
titles=$(sed -n 's/^# //p' "$scratch/pacing.dat" | tr '\n' ' ')
gnuplot -e "data='$scratch/pacing.dat'; titles='$titles'; out='$results/pacing.png'" bench/report/pacing.gp

echo "== results: $results/latest.md, $results/latest.csv, $results/pacing.png"
