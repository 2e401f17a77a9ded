#!/usr/bin/env bash
# The image builder's two figures on the full 99-record image (99 recordings,
# 8.6 MB of data, files in the page cache):
#  1. build time against the I/O floor measured in the same run (goal: ratio
#     at most 1.5);
#  2. peak memory of `soundloader-cli build` on the same recordings (goal:
#     under 16 MB), next to the CLI's own start-up footprint for reference.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build}
scripts/deps
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target image_build_bench soundloader-cli >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== build against the I/O floor"
"$build/bench/image_build_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

peak_kb() { # command... -> the peak resident set in kB
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }'
}

echo "== peak memory of soundloader-cli build"
"$build/bench/image_build_bench" --write-recordings "$work"
cat "$work"/*.krd >/dev/null # into the page cache
cli="$build/tools/cli/soundloader-cli"
start_kb=$(peak_kb "$cli" build --help)
build_kb=$(peak_kb "$cli" build --model 99 --list "$work/all.pls" "$work/out.bkr")
"$cli" inspect "$work/out.bkr" | tail -n 1
echo "start-up (build --help): ${start_kb} kB"
echo "build of the 99-record image: ${build_kb} kB ($(du -k "$work/out.bkr" | cut -f1) kB image)"
