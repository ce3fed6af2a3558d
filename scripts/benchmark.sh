#!/usr/bin/env bash
# Measures the scans and the clean on a large profile in a throwaway Wine prefix and
# plots scan time against cache size. Not part of the test run.
#   bash scripts/benchmark.sh [SCALE]     SCALE 1 = the full profile (default), 0.1 for a quick look
# The longest stretch without a look at the message queue is measured at BENCH_STRETCH_SCALE
# (default SCALE; 1 takes a few minutes more).
# Environment: ZARN_ARCH (x64, the default, in a 64-bit prefix; x86 in a 32-bit one, where 32-bit
# code runs), BENCH_RUNS (default 5), BENCH_NICE (default -10 as root, else 0), BENCH_BUILD_DIR
# (default build/ or build-x86/, set up by setup.sh), BENCH_PREFIX (default
# build/wineprefix-bench; always made afresh).
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/arch.sh
. "$repo/scripts/arch.sh"
# shellcheck source=scripts/apt.sh
. "$repo/scripts/apt.sh"
apt_need "${apt_setup_groups[@]}" plot
decide_32bit
arch="$(chosen_arch)"
scale="${1:-1}"
runs="${BENCH_RUNS:-5}"
build="${BENCH_BUILD_DIR:-$(arch_build_dir "$repo" "$arch")}"

if [ -z "${BENCH_BUILD_DIR:-}" ]; then
  "$repo/scripts/setup.sh" "$arch"
else
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$(arch_toolchain "$arch")" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j2 --target ZarnCleaner zarn_bench >/dev/null

export WINEPREFIX="${BENCH_PREFIX:-$repo/build/wineprefix-bench}"
make_wine_bin "$build/wine-$arch" "$arch"
export PATH="$build/wine-$arch:$PATH" WINEARCH="$(wine_arch "$arch")"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export ZARN_THROWAWAY_PREFIX=1
export XDG_DATA_HOME="$build/xdg-bench"
rm -rf "$XDG_DATA_HOME"; mkdir -p "$XDG_DATA_HOME"
out="$build/benchmark"
rm -rf "$out"; mkdir -p "$out"

winpath() { echo "Z:$(echo "$1" | sed 's|/|\\|g')"; }
bench="$build/bench/zarn_bench.exe"
args=(--scale "$scale" --runs "$runs" --out "$(winpath "$out")")

export BENCH_STRETCH_SCALE="${BENCH_STRETCH_SCALE:-$scale}"
# The X server, the wineserver and the benchmark run ahead of the machine's other work (as
# root, by default; BENCH_NICE sets the niceness), so that builds beside it slow its figures
# less. One wineserver for the modes, started inside the X server so it does not linger.
niceness="${BENCH_NICE:-$([ "$(id -u)" = 0 ] && echo -10 || echo 0)}"
PRELUDE="$repo/scripts/wine-prefix.sh" nice -n "$niceness" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  . "$PRELUDE"
  wine_prefix_new
  wine_prefix_serve
  status=0
  wine "$0" run "${@:2}" || status=$?
  wine "$0" startup "${@:2}" --exe "$1" || status=$?
  wine "$0" stretch "${@:2}" --scale "$BENCH_STRETCH_SCALE" || status=$?
  wine "$0" cookies "${@:2}" || status=$?
  wine "$0" sites "${@:2}" || status=$?
  wineserver -k || true
  exit $status
' "$bench" "$(winpath "$build/ZarnCleaner.exe")" "${args[@]}"

png="$repo/docs/benchmark-scan.png"
gnuplot -e "data='$out/scaling.tsv'; png='$png'" "$repo/scripts/benchmark-plot.gp"
echo "plot: $png; figures: $out/run.txt, $out/startup.txt, $out/stretch.txt, $out/cookies.txt, $out/sites.txt"
