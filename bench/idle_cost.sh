#!/usr/bin/env bash
# Idle cost of the running program, counted from outside through /proc.
#
#   bench/idle_cost.sh [SECONDS] [PROGRAM]
#
# Runs chimewell (default build/release/src/chimewell) with a fresh home folder, no schedule
# and no count, in three modes: the window showing (on a private Xvfb), the window hidden
# (IconicStart, same Xvfb) and headless, and a fourth, hidden after music: a one-second MIDI
# piece is played through the configuration page first, and the count starts once it has
# died away. For each it reports, over SECONDS (default 60): the
# wake-ups of every thread (voluntary context switches: the thread slept and was woken; the
# involuntary ones, pre-emptions by other work on the machine, are shown apart), the CPU time used
# (utime + stime of /proc/PID/stat) and, with the window showing, where in the second each
# timer-driven tick landed (the tick's wall-clock timer taken off when it has gone off, seen by
# the kernel's trace buffer, or strace, over a further 120 s): spread, mean and 99th percentile.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
program=${2:-build/release/src/chimewell}
[ -x "$program" ] || { echo "no program at $program (scripts/run builds it)" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "Xvfb is needed" >&2; exit 1; }
ticks=$(getconf CLK_TCK)
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
display=":$(head -n1 "$work/display")"

# name tid voluntary involuntary, one line per thread of $1
thread_switches() {
  for task in /proc/"$1"/task/*; do
    local tid=${task##*/}
    local name
    name=$(tr ' ' '_' <"$task/comm")
    local v n
    v=$(awk '/^voluntary_ctxt_switches/ {print $2}' "$task/status")
    n=$(awk '/^nonvoluntary_ctxt_switches/ {print $2}' "$task/status")
    echo "$name $tid $v $n"
  done
}

cpu_ticks() { awk '{print $14 + $15}' /proc/"$1"/stat; }

# A format-0 MIDI file: piano, two notes of half a second each at 120 bpm.
write_song() {
  printf 'MThd\0\0\0\6\0\0\0\1\1\340MTrk\0\0\0\31' >"$1"
  printf '\0\300\0\0\220\74\144\203\140\200\74\0\0\220\100\144\203\140\200\100\0\0\377\57\0' >>"$1"
}

# Where in the second each timer-driven tick of $1 started, over $2 seconds, one figure in ms per
# line, sorted. The tick's wall-clock timer is disarmed (flags 0) once it has gone off and before
# the tick runs: that call marks the moment the tick starts. The kernel's trace buffer records the
# call without stopping the process; without it, strace does, and adds its own delay.
tick_landing() {
  local pid=$1 span=$2 tracing=/sys/kernel/tracing
  [ -e "$tracing/trace_clock" ] || mount -t tracefs nodev "$tracing" 2>/dev/null || true
  local event="$tracing/events/syscalls/sys_enter_timerfd_settime"
  if [ -w "$event/enable" ]; then
    echo kernel trace >"$work/landing.how"
    echo mono >"$tracing/trace_clock"
    echo "common_pid == $pid && flags == 0" >"$event/filter"
    echo >"$tracing/trace"
    echo 1 >"$event/enable"
    sleep "$span"
    echo 0 >"$event/enable"
    echo 0 >"$event/filter"
    local offset  # wall clock minus the monotonic clock the trace is stamped with
    offset=$(python3 -c 'import time; print(repr(time.clock_gettime(time.CLOCK_REALTIME) - time.clock_gettime(time.CLOCK_MONOTONIC)))')
    awk -v off="$offset" '/sys_timerfd_settime/ { for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+\.[0-9]+:$/) t = substr($i, 1, length($i) - 1);
           w = t + off; ms = (w - int(w)) * 1000; if (ms > 500) ms -= 1000; print ms }' "$tracing/trace"
    echo local >"$tracing/trace_clock"
  elif command -v strace >/dev/null; then
    echo strace >"$work/landing.how"
    timeout "$span" strace -q -ttt -e trace=timerfd_settime -p "$pid" -o "$work/trace" || true
    awk '/timerfd_settime\([0-9]+, 0, / { t = $1 + 0; ms = (t - int(t)) * 1000;
           if (ms > 500) ms -= 1000; print ms }' "$work/trace"
  else
    echo none >"$work/landing.how"
  fi | sort -n
}

measure() {
  local mode=$1 home="$work/$1"
  shift
  mkdir -p "$home"
  case "$mode" in hidden*) printf '[Config]\nIconicStart=1\n' >"$home/chimewell.ini" ;; esac
  env "$@" "$program" --home "$home" --audio null >"$work/$mode.out" 2>&1 &
  local pid=$!
  pids+=("$pid")
  for _ in $(seq 400); do grep -q '^Configuration page' "$work/$mode.out" && break; sleep 0.05; done
  # The address is printed after the deferred start; then past the pixmap cache's one-time flush
  # (Qt drops the icons it no longer uses 30 s after they were drawn, then its timer stops).
  sleep 35
  if [ "$mode" = hidden-after-music ]; then
    local port
    port=$(sed -n 's/^Configuration page: .*:\([0-9]*\).*/\1/p' "$work/$mode.out")
    write_song "$home/song.mid"
    exec 3<>"/dev/tcp/127.0.0.1/$port"
    printf 'GET /?MIDITEST=1&MIDIFILE=%s HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' "$home/song.mid" >&3
    cat <&3 >/dev/null
    exec 3<&-
    sleep 8  # one second of music, its tail, and the worker's next cycles
  fi
  thread_switches "$pid" | sort -k2 >"$work/before"
  local cpu0
  cpu0=$(cpu_ticks "$pid")
  sleep "$seconds"
  thread_switches "$pid" | sort -k2 >"$work/after"
  local cpu1
  cpu1=$(cpu_ticks "$pid")
  echo "== $mode: ${seconds} s"
  join -1 2 -2 2 "$work/before" "$work/after" |
    awk -v s="$seconds" '{d = $6 - $3; p = $7 - $4; total += d; pre += p;
      printf "  thread %-16s %6d wake-ups (%.2f/s), %d pre-emptions\n", $2, d, d / s, p}
      END {printf "  all threads             %6d wake-ups (%.2f/s), %d pre-emptions\n", total, total / s, pre}'
  echo "  CPU $(( (cpu1 - cpu0) * 1000 / ticks )) ms in ${seconds} s"
  if [ "$mode" = showing ]; then
    tick_landing "$pid" 120 >"$work/landing"
    awk -v how="$(cat "$work/landing.how")" '{ v[NR] = $1; sum += $1 }
         END { if (NR) { i = int(NR * 0.99 + 0.999); if (i > NR) i = NR;
                 printf "  ticks (%s): %d timer wake-ups, landing %.2f to %.2f ms after the second (mean %.2f, p99 %.2f)\n", how, NR, v[1], v[NR], sum / NR, v[i] }
               else print "  ticks: none seen" }' "$work/landing"
  fi
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null || true
}

measure showing DISPLAY="$display"
measure hidden DISPLAY="$display"
measure headless DISPLAY= WAYLAND_DISPLAY=
measure hidden-after-music DISPLAY="$display"
