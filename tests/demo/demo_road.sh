#!/usr/bin/env bash
# The newcomer's road through ./run and the real window, driven by clicks
# and keys on a virtual display: add the demo list, listen to a recording,
# pick the simulated K 4/99's port, see it recognised, "Записать", confirm,
# see "Заливка завершена", close the window. ./run then checks what the
# device received; it must be the image soundloader-cli builds from the same
# list, byte for byte. A screenshot of each step goes to SHOTS (default: a
# temporary folder). Fails at the first step that does not come to pass.
#   tests/demo/demo_road.sh [SHOTS]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)

if [ "${DEMO_ROAD_ON_XVFB:-}" != 1 ]; then
  DEMO_ROAD_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1000x900x24 -dpi 96" "$0" "$@"
fi
shots=${1:-$(mktemp -d)}
mkdir -p "$shots"
log=$(mktemp)
run_pid=""
finish() {
  if [ -n "$run_pid" ] && kill -0 "$run_pid" 2>/dev/null; then kill -TERM -- "-$run_pid" 2>/dev/null || true; fi
  rm -f "$log"
}
trap finish EXIT

step() { echo "== $*"; }
fail() {
  echo "FAIL: $*" >&2
  if [ -n "${main:-}" ]; then shot failed || true; fi
  echo "--- ./run said:" >&2
  cat "$log" >&2
  exit 1
}

# The window's client area: its origin on the screen, its fixed size.
width=678 height=681
origin() { xdotool getwindowgeometry --shell "$main" | sed -n 's/^\([XY]\)=/\1=/p'; }

shot() {
  local name=$1 X Y
  eval "$(origin)"
  import -window root -crop "${width}x${height}+${X}+${Y}" +repage "$shots/$name.png" \
    || fail "no screenshot $name"
  echo "   $shots/$name.png"
}

# Clicks at a point of the client area, as the layout places the controls.
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; }

# Waits until a window of the program other than the main one has the focus:
# a dialog; sets dialog to it.
wait_dialog() {
  local what=$1
  for _ in $(seq 100); do
    dialog=$(xdotool getwindowfocus 2>/dev/null || true)
    if [ -n "$dialog" ] && [ "$dialog" != "$main" ] && xdotool getwindowname "$dialog" >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.1
  done
  fail "no $what appeared"
}

# Waits for the focused dialog's title to be $1 (a message box's caption).
wait_box() {
  local caption=$1 seconds=$2
  for _ in $(seq $((seconds * 10))); do
    dialog=$(xdotool getwindowfocus 2>/dev/null || true)
    if [ "$dialog" != "$main" ] && [ "$(xdotool getwindowname "$dialog" 2>/dev/null || true)" = "$caption" ]; then
      return 0
    fi
    sleep 0.1
  done
  fail "no message box \"$caption\" within $seconds s"
}

# Waits for the green text of the label at the bottom right: the device
# recognised, "Устройство подключено".
wait_recognised() {
  local X Y pixels
  for _ in $(seq 60); do
    eval "$(origin)"
    pixels=$(import -window root -crop "121x44+$((X + 552))+$((Y + 632))" +repage -depth 8 png:- 2>/dev/null \
      | convert png:- txt:- || true)
    if grep -q "#008000" <<<"$pixels"; then return 0; fi
    sleep 0.5
  done
  fail "the device was not recognised within 30 s"
}

wait_closed() {
  for _ in $(seq 50); do
    [ "$(xdotool getwindowfocus 2>/dev/null || true)" != "$dialog" ] && return 0
    sleep 0.1
  done
  fail "the dialog did not close"
}

step "./run starts the simulated devices and the window"
cd "$top"
set -m # ./run in a process group of its own, as a terminal starts it
SIM_OPTIONS="--ack-delay-ms 15" ./run >"$log" 2>&1 &
run_pid=$!
set +m
main=$(timeout 600 xdotool search --sync --onlyvisible --name "Заливка звукоимитатора") || fail "no window"
main=${main%%$'\n'*}
sleep 1
shot road-1-start

step "\"Добавить список\": demo-list.txt from the demo folder"
click 316 24
wait_dialog "list dialog"
sleep 0.5
xdotool type --delay 20 "demo-list.txt"
xdotool key Return
wait_closed
sleep 0.5
shot road-2-list-added

step "a recording selected and played"
click 150 $((53 + 17 * 2 + 8))
click 216 21
sleep 1
shot road-3-playing
click 216 21

step "the port of the simulated K 4/99"
click 612 93
sleep 2 # the ports are listed, then the list drops down
shot road-4-port-list
xdotool type --delay 30 "ttySIM-99"
xdotool key Return
wait_recognised
sleep 0.5
shot road-5-recognised

step "\"Записать\": the image is built and the upload confirmed"
click 616 492
wait_box "Ожидание" 30
shot road-6-confirm
xdotool key shift+Tab space # OK; Cancel is the default
wait_closed
sleep 5 # the start step comes on the second watchdog tick; then some packets
shot road-7-uploading

step "the device acknowledges every packet: \"Заливка завершена\""
wait_box "Сообщение" 120
shot road-8-completed
xdotool key Return
wait_closed

step "the window closes; ./run checks what the device received"
window_pid=$(pgrep -f "build/app/soundloader$" -g "$run_pid") || fail "the window's process is gone"
window_pid=${window_pid%%$'\n'*}
kill -TERM "$window_pid"
status=0
wait "$run_pid" || status=$?
run_pid=""
cat "$log"
received=$top/build/received/ttySIM-99.bkr
grep -q "^ttySIM-99 received $received" "$log" || fail "./run did not check the received image"
inspected=$(sed -n "/^ttySIM-99 received/,\$p" "$log")
grep -qx "  OK" <<<"$inspected" || fail "the received image is not consistent"

expected=$(mktemp)
"$top/build/tools/cli/soundloader-cli" build --model 99 --list "$top/build/demo-recordings/demo-list.txt" "$expected" >/dev/null
cmp "$expected" "$received" || fail "the device received other bytes than soundloader-cli builds"
rm -f "$expected"
echo "ok: the device holds the image, byte for byte ($(stat -c %s "$received") bytes)"
