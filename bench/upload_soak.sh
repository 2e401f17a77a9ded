#!/usr/bin/env bash
# The long soak of uploads: RUNS (default 500) uploads to the simulated
# device of either model with faults drawn at random, every tenth through
# the window; prints the table of outcomes and fails on any mismatch.
# Further arguments go to upload_soak (--seed S repeats a draw).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build}
cmake --build "$build" --target upload_soak soundloader-sim >/dev/null
"$build/tests/soak/upload_soak" --runs "${RUNS:-500}" "$@"
