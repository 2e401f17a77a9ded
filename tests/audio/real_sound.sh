#!/usr/bin/env bash
# Runs the real-sound test program (the first argument) against a PulseAudio
# server of its own with a null sink named "test", and stops that server by
# its process id afterwards. Exits 77, which ctest counts as skipped, when no
# server can be started here.
set -u
program=$1
work=$(mktemp -d)
server=

cleanup() {
  if [ -n "$server" ]; then
    kill -TERM "$server" 2>/dev/null
    wait "$server" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

skip() {
  echo "Skipped: $*"
  exit 77
}

command -v pulseaudio >/dev/null && command -v pactl >/dev/null || skip "pulseaudio or pactl is not installed"

# The server and its clients keep to the work folder, never the user's own.
mkdir -p "$work/home/.config" "$work/xdg" && chmod 700 "$work/xdg"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/xdg
export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n \
  --load="module-null-sink sink_name=test" \
  --load="module-native-protocol-unix auth-anonymous=1" >"$work/server.log" 2>&1 &
server=$!

# A hung server would block the first audio call for 30 s: ask with a time-out.
for _ in $(seq 50); do
  kill -0 "$server" 2>/dev/null || break
  if timeout 5 pactl info >/dev/null 2>&1; then
    "$program"
    exit $?
  fi
  sleep 0.1
done
cat "$work/server.log"
skip "the PulseAudio server did not start"
