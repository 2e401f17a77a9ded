#!/usr/bin/env bash
# Time per packet of a full upload, over pseudo-terminal pairs with the
# simulator answering at once, as the simulator measures it (from the first
# packet to the end):
#  1. the full 32-record image (4,325,376 bytes, 33,792 short packets) sent
#     by our short-block upload and by lrzsz's sx (XMODEM, checksum mode),
#     taking turns against the same simulator (goals: ours at most sx's, and
#     under 115 us a packet, 1% of its 11.5 ms on the wire at 115200 baud);
#  2. the full 99-record image (8,650,752 bytes, 8,192 page packets) in the
#     page-block protocol (goal: under 460 us a packet, 1% at 230400).
# The images' bytes are random: the transfer does not look at them. Next to
# the time, the sender's own processor time per packet (user + system, from
# /usr/bin/time), which other work on a busy machine disturbs far less.
# ROUNDS (default 5) turns each; the medians are compared, and the best
# turns, which a busy machine disturbs least, shown next to them.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build}
rounds=${ROUNDS:-5}
scripts/deps
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target soundloader-cli soundloader-sim >/dev/null
cli="$build/tools/cli/soundloader-cli"
sim="$build/tools/sim/soundloader-sim"

work=$(mktemp -d)
sim_pid=
stop_sim() {
  if [ -n "$sim_pid" ]; then kill -INT "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  sim_pid=
}
trap 'stop_sim; rm -rf "$work"' EXIT

head -c 4325376 /dev/urandom >"$work/full32.bkr"
head -c 8650752 /dev/urandom >"$work/full99.bkr"

start_sim() { # model -> sets port
  "$sim" --model "$1" --report "$work/report.json" --exit-after-seconds 3600 >"$work/sim.out" &
  sim_pid=$!
  port=
  for _ in $(seq 100); do
    port=$(head -n 1 "$work/sim.out" 2>/dev/null || true)
    [ -n "$port" ] && break
    sleep 0.05
  done
  [ -n "$port" ] || { echo "the simulator did not start" >&2; exit 1; }
}

report_field() { # name -> its value in the last report
  sed -n "s/^ *\"$1\": \([^,]*\),\{0,1\}$/\1/p" "$work/report.json"
}

# Waits for the simulator's report of upload number $1, then prints the
# microseconds per packet it measured.
us_per_packet() {
  for _ in $(seq 200); do
    [ "$(report_field uploads 2>/dev/null)" = "$1" ] && break
    sleep 0.05
  done
  [ "$(report_field completed)" = true ] || { echo "upload $1 did not complete" >&2; exit 1; }
  awk -v s="$(report_field seconds)" -v p="$(report_field packets)" 'BEGIN { printf "%.1f\n", s * 1e6 / p }'
}

# Runs a sender under /usr/bin/time, keeping its processor seconds.
timed() { /usr/bin/time -f "%U %S" -o "$work/cpu" "$@"; }
cpu_us_per_packet() {
  awk -v p="$(report_field packets)" '{ printf "%.1f\n", ($1 + $2) * 1e6 / p }' "$work/cpu"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
best() { sort -n | head -n 1; }

echo "== full 32-record image, short blocks: ours and lrzsz sx, $rounds turns each"
start_sim 32
uploads=0
: >"$work/ours32"
: >"$work/sx32"
for round in $(seq "$rounds"); do
  timed "$cli" upload --no-detect --model 32 --port "$port" "$work/full32.bkr" >/dev/null 2>&1
  uploads=$((uploads + 1))
  echo "ours: $(us_per_packet $uploads | tee -a "$work/ours32") us per packet, $(cpu_us_per_packet | tee -a "$work/ours32cpu") us processor"
  # sx waits for the receiver's NAK; the simulator asks with one on "L" and
  # again every second until the first packet comes.
  printf L >"$port"
  timed sx -q -b "$work/full32.bkr" <"$port" >"$port" 2>/dev/null
  uploads=$((uploads + 1))
  echo "sx:   $(us_per_packet $uploads | tee -a "$work/sx32") us per packet, $(cpu_us_per_packet | tee -a "$work/sx32cpu") us processor"
done
stop_sim
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
ours=$(median <"$work/ours32")
theirs=$(median <"$work/sx32")
echo "median: ours $ours us, sx $theirs us per packet; ours / sx = $(ratio "$ours" "$theirs") (goal: at most 1, and under 115 us)"
ours=$(best <"$work/ours32")
theirs=$(best <"$work/sx32")
echo "best:   ours $ours us, sx $theirs us per packet; ours / sx = $(ratio "$ours" "$theirs")"
ours=$(median <"$work/ours32cpu")
theirs=$(median <"$work/sx32cpu")
echo "processor, median: ours $ours us, sx $theirs us per packet; ours / sx = $(ratio "$ours" "$theirs")"

echo "== full 99-record image, page blocks, $rounds runs"
start_sim 99
: >"$work/ours99"
for round in $(seq "$rounds"); do
  timed "$cli" upload --no-detect --model 99 --port "$port" "$work/full99.bkr" >/dev/null 2>&1
  echo "ours: $(us_per_packet "$round" | tee -a "$work/ours99") us per packet, $(cpu_us_per_packet) us processor"
done
stop_sim
echo "median: $(median <"$work/ours99") us, best: $(best <"$work/ours99") us per page packet (goal: under 460 us)"
