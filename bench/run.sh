#!/usr/bin/env bash
# Runs Perchling's benchmarks and writes their tables into docs/performance.md:
#   bench/run.sh
# Builds in build/ (as scripts/test.sh does), then runs the Windows benchmark programs under Wine
# in a session of the tests' kind (tests/wine-session.sh) of their own, in build/bench/. Takes
# about fifteen minutes; everything it starts is stopped at the end. Not part of ctest.
set -eu
cd "$(dirname "$0")/.."
root="$PWD"
jobs=$(($(nproc) < 2 ? $(nproc) : 2))
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs" >/dev/null

state="$root/build/bench"
windows="$root/build/windows"
mkdir -p "$state"
rm -rf "$state/install"
cp -r "$windows/dist" "$state/install"  # Perchling.exe and the shipped skins

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

# Windows paths of the Unix files (drive Z: is the Unix root).
winpath() { echo "Z:$1" | tr / '\\'; }

echo "region build (about 2 minutes)..." >&2
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
timeout 900 wine "$windows/region_bench.exe" "$(winpath "$root/skin/")" </dev/null 2>"$state/region.err" |
  iconv -f CP932 -t UTF-8 >"$state/region.md"
echo "start-up, skin switch and idle cost (about 4 minutes)..." >&2
timeout 900 wine "$windows/process_bench.exe" "$(winpath "$state/install/")" \
  "$(winpath "$windows/minimal_window.exe")" "$(winpath "$windows/minimal_timer.exe")" \
  31 11 60 "$(getconf CLK_TCK)" "$wineserver_pid" "$xvfb_pid" </dev/null 2>"$state/process.err" |
  iconv -f CP932 -t UTF-8 >"$state/process.md"
echo "detailed skins: start-up, idle, following, right-click (about 6 minutes)..." >&2
rm -rf "$state/skins"
mkdir -p "$state/skins"
timeout 1500 wine "$windows/skin_bench.exe" "$(winpath "$state/install/")" \
  "$(winpath "$state/skins/")" "$(winpath "$windows/minimal_window.exe")" \
  "$(winpath "$windows/minimal_timer.exe")" 5 60 8 7 "$wineserver_pid" "$xvfb_pid" </dev/null 2>"$state/skin.err" |
  iconv -f CP932 -t UTF-8 >"$state/skin.md"
load_after="$(cut -d' ' -f1-3 /proc/loadavg)"

exe="$state/install/Perchling.exe"
x86_64-w64-mingw32-strip -o "$state/Perchling.stripped.exe" "$exe"
size=$(stat -c %s "$state/Perchling.stripped.exe")
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr '\n' ' ')

{
  echo "<!-- bench:begin (written by bench/run.sh; edit the text outside these markers) -->"
  echo
  echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') with \`bench/run.sh\` on $(nproc) cores"
  echo "($(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)), $(wine --version 2>/dev/null),"
  echo "Xvfb $(dpkg-query -W -f '${Version}' xvfb 2>/dev/null), MinGW-w64 g++ $(x86_64-w64-mingw32-g++ -dumpversion)."
  echo "Load average before: $load_before; after: $load_after."
  echo
  echo "### Region build: Perchling's builder against the per-run union"
  echo
  echo "Times in milliseconds, each the median of 3 to 101 builds of the same picture (including the"
  echo "copy to 32 bits and the scan); the per-run union is skipped where it would take over a minute."
  cat "$state/region.md"
  cat "$state/process.md"
  cat "$state/skin.md"
  echo
  echo "### Size"
  echo
  echo "| file | bytes | DLL imports |"
  echo "|---|---:|---|"
  echo "| Perchling.exe (stripped) | $size | $dlls |"
  echo
  echo "<!-- bench:end -->"
} >"$state/tables.md"

doc=docs/performance.md
if [ -f "$doc" ] && grep -q '<!-- bench:begin' "$doc"; then
  awk -v tables="$state/tables.md" '
    /<!-- bench:begin/ { while ((getline line < tables) > 0) print line; skipping = 1; next }
    /<!-- bench:end/ { skipping = 0; next }
    !skipping { print }' "$doc" >"$doc.new"
  mv "$doc.new" "$doc"
else
  cp "$state/tables.md" "$doc"
fi
for err in "$state/region.err" "$state/process.err" "$state/skin.err"; do
  grep -v '^$' "$err" >&2 || true
done
echo "tables written to $doc" >&2
