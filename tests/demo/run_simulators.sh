#!/usr/bin/env bash
# ./run as a newcomer uses it: the simulated devices appear as ports under
# names that say which model answers there, and they go away with the window,
# whether it is closed or the terminal's Ctrl+C ends everything.
# --no-simulator starts none. Runs itself under Xvfb.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cli=$1

if [ "${2:-}" != --on-xvfb ]; then
  exec xvfb-run -a -s "-screen 0 1000x900x24 -dpi 96" "$0" "$cli" --on-xvfb
fi

fail() { echo "FAIL: $*" >&2; exit 1; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Starts ./run, waits for its window; sets run_pid, window_pid, sims, ptys.
start_run() {
  # Job control puts ./run in a process group of its own, as a terminal
  # does, and leaves its Ctrl+C (SIGINT) in effect.
  set -m
  "$top/run" "$@" >"$log" 2>&1 &
  run_pid=$!
  set +m
  window_pid=""
  for _ in $(seq 1200); do
    window_pid=$(pgrep -f "build/app/soundloader$" -g "$run_pid" || true)
    [ -n "$window_pid" ] && break
    kill -0 "$run_pid" 2>/dev/null || { cat "$log" >&2; fail "./run $* ended before its window showed"; }
    sleep 0.1
  done
  [ -n "$window_pid" ] || fail "./run $* showed no window"
  sims=$(pgrep -f soundloader-sim -g "$run_pid" || true)
}

# The ports that this run's simulators answer on, as /dev/pts paths.
ports_of_run() {
  local name
  for name in ttySIM-32 ttySIM-99; do
    readlink "/dev/$name" || true
  done
}

expect_all_gone() {
  local what=$1 pid pts
  for pid in $sims; do
    ! kill -0 "$pid" 2>/dev/null || fail "$what: simulator $pid was left running"
  done
  for pts in $ptys; do
    for name in ttySIM-32 ttySIM-99; do
      [ "$(readlink "/dev/$name" || true)" != "$pts" ] || fail "$what: /dev/$name was left behind"
    done
  done
}

# Sets status to ./run's exit status.
wait_run_end() {
  status=0
  wait "$run_pid" || status=$?
}

# The ports are listed and each answers as the model its name says.
start_run
[ "$(echo "$sims" | wc -w)" -eq 2 ] || fail "expected two simulators, found: $sims"
ptys=$(ports_of_run)
ports=$("$cli" ports)
for name in ttySIM-32 ttySIM-99; do
  grep -qx "$name" <<<"$ports" || fail "the port list lacks $name: $ports"
done
for model in "K 3/32" "K 4/99"; do
  name=ttySIM-${model#*/}
  found=$("$cli" detect --port "$name" --timeout 6 2>&1) || true
  grep -q "Модель: $model" <<<"$found" || fail "$name is not the model $model: $found"
done
grep -q "Demo recordings: $top/build/demo-recordings" "$log" || fail "the demo folder is not named"
[ -f "$top/build/demo-recordings/demo-list.txt" ] || fail "no demo recordings"

# Ctrl+C in the terminal: the whole process group gets SIGINT.
kill -INT -- "-$run_pid"
wait_run_end
[ "$status" -ne 0 ] || fail "./run reported success after Ctrl+C"
expect_all_gone "Ctrl+C"

# The window ends: the simulators go with it.
start_run
ptys=$(ports_of_run)
kill -TERM "$window_pid"
wait_run_end
expect_all_gone "window closed"

# For a real device: the window alone.
start_run --no-simulator
[ -z "$sims" ] || fail "--no-simulator started simulators: $sims"
kill -TERM "$window_pid"
wait_run_end

# Without a display the user is told how to get one.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$top/run" --no-simulator >"$log" 2>&1 || status=$?
[ "$status" -eq 1 ] && grep -q "xvfb-run -a ./run" "$log" || fail "no display: $(cat "$log")"
echo "ok"
