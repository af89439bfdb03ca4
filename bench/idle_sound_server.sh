#!/usr/bin/env bash
# What an idle clock costs the sound server, counted from outside.
#
#   bench/idle_sound_server.sh [SECONDS] [PROGRAM]
#
# Starts a private PulseAudio (its own runtime folder and socket, a null sink, and the desktop's
# module-suspend-on-idle, which suspends a sink nobody uses after 5 s), runs chimewell headless
# on it (default build/release/src/chimewell) with a fresh home folder, no schedule and no
# count, and plays nothing. Once the program has been idle for 20 s it reports our stream's
# state (corked or not), the sink's state (RUNNING, IDLE or SUSPENDED), and the server's CPU
# time over SECONDS (default 60) in clock ticks (utime + stime of /proc/PID/stat). Then the
# server is killed (-9) and started again a second later, and the time from its return until
# our stream is on it again is reported.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
program=${2:-build/release/src/chimewell}
[ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }
command -v pulseaudio >/dev/null || { echo "pulseaudio is needed" >&2; exit 1; }
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work XDG_RUNTIME_DIR=$work PULSE_SERVER=unix:$work/native PULSE_CLIENTCONFIG=/dev/null
start_server() {
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
    -L "module-native-protocol-unix socket=$work/native auth-anonymous=1" \
    -L "module-null-sink sink_name=idle rate=48000" -L module-suspend-on-idle >/dev/null 2>&1 &
  server=$!
  pids+=("$server")
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
}
now_ms() { date +%s%3N; }
start_server

mkdir -p "$work/home"
# A page port of its own, away from the usual one.
printf '[App]\nPortNumber=%d\n' $((20000 + $$ % 10000)) >"$work/home/chimewell.ini"
"$program" --home "$work/home" --headless --audio pulse >"$work/out" 2>&1 &
pids+=($!)
sleep 20

cpu_ticks() { awk '{print $14 + $15}' /proc/"$1"/stat; }
corked=$(pactl list sink-inputs | sed -n 's/^\s*Corked: //p' | head -n1)
echo "stream corked: ${corked:-no stream}"
echo "sink: $(pactl list short sinks | awk '{print $2, $NF}')"
before=$(cpu_ticks "$server")
sleep "$seconds"
after=$(cpu_ticks "$server")
echo "server CPU over ${seconds} s idle: $((after - before)) ticks of 1/$(getconf CLK_TCK) s"
echo "sink: $(pactl list short sinks | awk '{print $2, $NF}')"

kill -9 "$server"
wait "$server" 2>/dev/null || true
rm -f "$work/native"
sleep 1
start_server
back=$(now_ms)
for _ in $(seq 3000); do
  pactl list sink-inputs 2>/dev/null | grep -q 'application.name = "Chimewell"' && break
  sleep 0.01
done
echo "stream on the restarted server $(($(now_ms) - back)) ms after it answered"
