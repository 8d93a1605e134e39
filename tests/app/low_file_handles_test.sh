#!/usr/bin/env bash
# Kesta short of file handles, on a private Xvfb:
#   1. its soft limit lowered to 5 while it runs, the ⋯ menu and the End set
#      question still open and close, and once the limit is back it quits on
#      Ctrl+Q with status 0;
#   2. started under a limit it cannot raise (soft and hard 12), it ends at
#      once with status 1 and says why on standard error;
#   3. started under a soft limit of 12 with room above it, it raises the
#      limit, shows its window and quits with status 0.
#
#   low_file_handles_test.sh <kesta program>
set -euo pipefail
kesta=$1
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "low_file_handles_test: $*" >&2; exit 1; }

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q '^[0-9]' "$work/display" 2>/dev/null && break; sleep 0.1; done
grep -q '^[0-9]' "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")" QT_QPA_PLATFORM=xcb OMP_THREAD_LIMIT=1 KESTA_DATA_DIR="$work/data"
mkdir "$work/data"
printf '{"poolByLibrary":{},"includeRawText":false,"compact":false,"windowTopLeft":{},"legacyImported":true}' \
  >"$work/data/preferences.json"

full_window() {  # the id of Kesta's full window (380 × 660), when shown
  for id in $(xdotool search --onlyvisible --class Kesta 2>/dev/null); do
    [ "$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: //p')" = 380x660 ] && echo "$id"
  done | head -1
}
wait_for_window() {
  for _ in $(seq 150); do
    window=$(full_window)
    [ -n "$window" ] && return 0
    kill -0 "$1" 2>/dev/null || fail "Kesta ended before showing its window: $(cat "$work/stderr")"
    sleep 0.2
  done
  fail "no full window"
}
# Ctrl+Q in the full window; Kesta must end with status 0 within 20 s.
quit() {
  xdotool mousemove --window "$window" 300 640 click 1 key ctrl+q
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.2; done
  kill -0 "$1" 2>/dev/null && fail "$2: Kesta no longer answers"
  local status=0
  wait "$1" || status=$?
  [ "$status" = 0 ] || fail "$2: Kesta ended with status $status"
}

# 1. Limit lowered while it runs.
"$kesta" 2>"$work/stderr" &
kesta_pid=$!
pids+=($kesta_pid)
wait_for_window $kesta_pid
prlimit --pid "$kesta_pid" --nofile=5:
xdotool mousemove --window "$window" 347 75 click 1  # ⋯
sleep 2
xdotool key Escape
sleep 1
xdotool mousemove --window "$window" 141 580 click 1  # End set
sleep 2
xdotool key Escape
sleep 1
prlimit --pid "$kesta_pid" --nofile=1024:
quit $kesta_pid "limit lowered to 5"

# 2. A limit that cannot be raised.
status=0
timeout 20 prlimit --nofile=12:12 "$kesta" 2>"$work/stderr" || status=$?
[ "$status" = 1 ] || fail "under a hard limit of 12: status $status, not 1"
grep -q "ulimit -n" "$work/stderr" || fail "under a hard limit of 12, no reason given: $(cat "$work/stderr")"

# 3. A low soft limit with room above it.
prlimit --nofile=12:4096 "$kesta" 2>"$work/stderr" &
kesta_pid=$!
pids+=($kesta_pid)
wait_for_window $kesta_pid
quit $kesta_pid "soft limit 12"
echo "low_file_handles_test: passed"
