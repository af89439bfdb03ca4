#!/usr/bin/env bash
# What one large request costs the running program, measured from outside through /proc.
#
#   bench/big_requests.sh [PROGRAM]
#
# Runs chimewell (default build/release/src/chimewell) headless with a fresh home folder and
# sends it, each to a freshly started program, 1 MiB bodies that used to hurt: a schedule
# script of bad lines (every line a panel message), a body of nothing but "&" (one parameter
# per byte), and short pairs. For each it reports the time until the whole answer arrived
# and the peak resident memory the request added (the kernel's high-water mark, reset just
# before the request, less the resident size before it). Then, in debug mode, 31 requests of
# 1 MiB each and the size of the page that follows them (the log shown on it is bounded).
# Needs curl. Loopback only; about half a minute.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/release/src/chimewell}
[ -x "$program" ] || { echo "no program at $program (scripts/run builds it)" >&2; exit 1; }
command -v curl >/dev/null || { echo "curl is needed" >&2; exit 1; }
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
port=$((20000 + RANDOM % 20000))
mib=$((1024 * 1024))

# A body of exactly 1 MiB: `prefix`, then `unit` repeated.
make_body() {
  local prefix=$1 unit=$2 out=$3
  printf '%s' "$prefix" >"$out"
  local count=$(((mib - ${#prefix}) / ${#unit}))
  head -c $((count * ${#unit})) < <(yes "$unit" | tr -d '\n') >>"$out"
}

start() {
  local home="$work/home-$1"
  mkdir -p "$home"
  printf '[App]\nPortNumber=%d\n' "$port" >"$home/chimewell.ini"
  [ "${2:-}" = debug ] && printf '[App]\nDebug=1\n' >"$home/chimewell.imi"
  "$program" --home "$home" --headless --audio null >"$work/out-$1" 2>&1 &
  pid=$!
  for _ in $(seq 400); do grep -q '^Configuration page' "$work/out-$1" && break; sleep 0.05; done
  # The address is printed once the page answers; one request first so the server's own
  # buffers are in place.
  curl -s -o /dev/null "http://127.0.0.1:$port/"
}

stop() {
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
}

kib() { awk -v k="$1" '$1 == k ":" {print $2}' /proc/"$pid"/status; }

post() {
  curl -s -o "$work/page$2" -w '%{time_total}' --data-binary @"$1" \
    -H 'Content-Type: application/x-www-form-urlencoded' "http://127.0.0.1:$port/"
}

# measure NAME BODY [CLIENTS]: CLIENTS (default 1) send BODY at once; the slowest answer counts.
measure() {
  local name=$1 body=$2 clients=${3:-1}
  start "$name"
  local before
  before=$(kib VmRSS)
  echo 5 >/proc/"$pid"/clear_refs  # the high-water mark starts again from here
  for i in $(seq "$clients"); do post "$body" "$i" >"$work/time$i" & done
  wait $(jobs -p | grep -v "^$pid\$") 2>/dev/null || true
  local seconds
  seconds=$(sort -n "$work"/time* | tail -n1)
  rm -f "$work"/time*
  local peak
  peak=$(kib VmHWM)
  printf '%-28s answered in %5.3f s, page %7d bytes, peak +%6d KiB over %6d KiB\n' \
    "$name" "$seconds" "$(stat -c %s "$work/page1")" $((peak - before)) "$before"
  stop
}

make_body 'SCHESET=1&CONTENTS=' 'x%0A' "$work/bad-schedule"
make_body 'A=1' '&' "$work/ampersands"
make_body 'A=1' '&a=b' "$work/pairs"
measure "schedule of bad lines" "$work/bad-schedule"
measure "ampersands" "$work/ampersands"
measure "short pairs" "$work/pairs"
measure "ampersands, 32 at once" "$work/ampersands" 32

start debug debug
for _ in $(seq 31); do
  curl -s -o /dev/null --data-binary @"$work/pairs" "http://127.0.0.1:$port/"
done
size=$(curl -s "http://127.0.0.1:$port/" | wc -c)
printf '%-28s page after 31 requests of 1 MiB: %d bytes, resident %d KiB\n' "debug mode" "$size" \
  "$(kib VmRSS)"
stop
