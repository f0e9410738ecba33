#!/usr/bin/env bash
# stop_xvfb (scripts/wine-env.sh) signals the recorded pid only while it is still the Xvfb that
# started at the recorded time: after a reboot or a killed run the pid may be another process's.
# It removes the session's state files in every case. And start_xvfb's display outlives its
# last client.
set -u
. "$(dirname "$0")/../scripts/wine-env.sh"
state="$(mktemp -d)"
trap 'rm -rf "$state"' EXIT
failed=0
# Each row: a sleep's name (its argv[0]), what is added to its start time when it is recorded, and
# the status it ends with: 143 if stop_xvfb's SIGTERM reached it, else 155 (the test's SIGPROF).
while read -r name offset expected; do
  (exec -a "$name" sleep 300) &
  pid=$!
  for waited in $(seq 301); do
    [ "$(tr '\0' '\n' <"/proc/$pid/cmdline" | head -n 1)" = "$name" ] && break
    [ "$waited" = 301 ] && { echo "FAIL: no process named $name within 30 s" >&2; exit 1; }
    sleep 0.1
  done
  echo "$pid" >"$state/xvfb.pid"
  echo "$(($(process_start "$pid") + offset))" >"$state/xvfb.start"
  echo ":99" >"$state/display"
  stop_xvfb "$state"
  # A SIGTERM still pending is delivered before SIGPROF (lower numbers first), so the status says
  # whether stop_xvfb signalled without waiting to see.
  kill -PROF "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  status=$? row="$name recorded with start time +$offset"
  [ "$status" = "$expected" ] || { echo "FAIL: $row ended with $status, not $expected" >&2
                                   failed=1; }
  [ -z "$(ls -A "$state")" ] || { echo "FAIL: $row left $(ls -A "$state")" >&2; failed=1; }
done <<'ROWS'
Xvfb 1 155
sleep 0 155
Xvfb 0 143
ROWS

# A server that starts afresh when its last client leaves forgets the atoms clients made.
atom() {  # $1: create or find; prints the atom, 0 when there is none
  python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
display = x.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
print(x.XInternAtom(display, b"PERCHLING_KEPT", sys.argv[1] == "find"))
x.XCloseDisplay(ctypes.c_void_p(display))
PY
}
if start_xvfb "$state"; then
  made="$(atom create)" found="$(atom find)"
  [ -n "$made" ] && [ "$made" != 0 ] && [ "$found" = "$made" ] ||
    { echo "FAIL: Xvfb started afresh when its last client left (atom $made, then $found)" >&2
      failed=1; }
  stop_xvfb "$state"
else
  failed=1
fi
exit "$failed"
