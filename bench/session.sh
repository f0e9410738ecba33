#!/usr/bin/env bash
# Runs the Windows benchmark programs under the Wine it finds on PATH, in a session of the tests'
# kind (tests/wine-session.sh) of its own in STATE, and leaves their Markdown tables there:
#   bench/session.sh STATE
#   bench/session.sh STATE switch STARTS SWITCHES   start-up and skin switch only (process.md)
#   bench/session.sh STATE kit                       the kit's drop only (kit.md; the pictures
#                                                    bench/run.sh makes in build/bench/pictures)
# bench/run.sh calls it once on the host (Wine 8) and once inside the Wine 10 userland
# (tests/wine10-userland.sh). Expects the build in build/ and the install in STATE/install.
set -eu
cd "$(dirname "$0")/.."
root="$PWD"
state="$(realpath -m "$1")"
windows="$root/build/windows"

# The session's one persistent wineserver serves the whole run, so its CPU time can be read from
# /proc; the benchmarks then run wine directly, with their output their own.
session="$root/tests/wine-session.sh"
trap '"$session" "$state" stop' EXIT
"$session" "$state" start >&2
. scripts/wine-env.sh
wine_env "$state/prefix"
DISPLAY="$(cat "$state/display")"
export DISPLAY
wineserver_pid=""
for proc in /proc/[0-9]*; do
  case "$(cat "$proc/comm" 2>/dev/null)" in wineserver*) ;; *) continue ;; esac
  if { tr '\0' '\n' <"$proc/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
    wineserver_pid="${proc#/proc/}"
  fi
done
xvfb_pid="$(cat "$state/xvfb.pid")"
wine --version >"$state/wine-version" 2>/dev/null || echo "wine" >"$state/wine-version"
dpkg-query -W -f '${Version}' xvfb >"$state/xvfb-version" 2>/dev/null || true

# Windows paths of the Unix files (drive Z: is the Unix root).
winpath() { echo "Z:$1" | tr / '\\'; }
label="$(cat "$state/wine-version")"

# The kit's drop of the large pictures bench/run.sh makes, against decoding them alone.
bench_kit() {
  echo "$label: the kit's drop of a 4000 x 3000 picture against decoding it (about 1 minute)..." >&2
  local pictures="$root/build/bench/pictures"
  timeout 900 wine "$windows/kit_bench.exe" "$(winpath "$state")" 5 \
    "$(winpath "$pictures/photo.jpg")" "$(winpath "$pictures/drawing.png")" </dev/null \
    2>"$state/kit.err" | iconv -f CP932 -t UTF-8 >"$state/kit.md"
}

cut -d' ' -f1-3 /proc/loadavg >"$state/load-before"
if [ "${2:-}" = kit ]; then
  bench_kit
  cut -d' ' -f1-3 /proc/loadavg >"$state/load-after"
  exit 0
fi
if [ "${2:-}" = switch ]; then
  timeout 900 wine "$windows/process_bench.exe" "$(winpath "$state/install/")" \
    "$(winpath "$windows/minimal_window.exe")" "$(winpath "$windows/minimal_timer.exe")" \
    "$3" "$4" 0 "$(getconf CLK_TCK)" </dev/null 2>"$state/process.err" |
    iconv -f CP932 -t UTF-8 >"$state/process.md"
  cut -d' ' -f1-3 /proc/loadavg >"$state/load-after"
  exit 0
fi
echo "$label: region build (about 1 minute)..." >&2
timeout 900 wine "$windows/region_bench.exe" "$(winpath "$root/skin/")" </dev/null \
  2>"$state/region.err" | iconv -f CP932 -t UTF-8 >"$state/region.md"
echo "$label: one hop of a shaped window, each way of moving (about 1 minute)..." >&2
timeout 600 wine "$windows/hop_bench.exe" 9 32 64 90 128 -- "$wineserver_pid" "$xvfb_pid" \
  </dev/null 2>"$state/hop.err" | iconv -f CP932 -t UTF-8 >"$state/hop.md"
echo "$label: start-up, skin switch, relaunch call and idle cost (about 3 minutes)..." >&2
timeout 900 wine "$windows/process_bench.exe" "$(winpath "$state/install/")" \
  "$(winpath "$windows/minimal_window.exe")" "$(winpath "$windows/minimal_timer.exe")" \
  21 15 30 "$(getconf CLK_TCK)" "$wineserver_pid" "$xvfb_pid" </dev/null 2>"$state/process.err" |
  iconv -f CP932 -t UTF-8 >"$state/process.md"
echo "$label: detailed skins: start-up, idle, following, right-click (about 4 minutes)..." >&2
rm -rf "$state/skins"
mkdir -p "$state/skins"
timeout 1500 wine "$windows/skin_bench.exe" "$(winpath "$state/install/")" \
  "$(winpath "$state/skins/")" "$(winpath "$windows/minimal_window.exe")" \
  "$(winpath "$windows/minimal_timer.exe")" 3 30 6 5 "$wineserver_pid" "$xvfb_pid" \
  </dev/null 2>"$state/skin.err" | iconv -f CP932 -t UTF-8 >"$state/skin.md"
bench_kit
cut -d' ' -f1-3 /proc/loadavg >"$state/load-after"
