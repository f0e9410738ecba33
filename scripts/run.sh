#!/usr/bin/env bash
# Builds Perchling and runs it under Wine. On a display ($DISPLAY) it runs until you close it
# (right-click the picture, 閉じる). Without one it starts Xvfb with a Wine desktop, lets the
# accessory perch on Notepad's title bar, saves build/screenshot.png and closes it cleanly.
set -eu
cd "$(dirname "$0")/.."
top="$(pwd)"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
dist="$top/build/windows/dist"
probe="$top/build/windows/perch_probe.exe"
. scripts/wine-env.sh
wine_env "$top/build/wine-run"

if [ -n "${DISPLAY:-}" ]; then
  prepare_prefix
  echo "Starting $dist/Perchling.exe (right-click it for its menu)"
  cd "$dist" && exec wine ./Perchling.exe
fi

state="$top/build/wine-run-display"
start_xvfb "$state"
trap 'timeout 30 wineserver -k 2>/dev/null; stop_xvfb "$state"' EXIT
prepare_prefix
desktop="explorer /desktop=Perchling,800x600"
(cd "$dist" && timeout 120 wine $desktop notepad >/dev/null 2>&1 &)
sleep 3
(cd "$dist" && timeout 120 wine $desktop Perchling.exe >/dev/null 2>&1 &)
sleep 3
# A window of another program comes to the front: the accessory moves onto its title bar.
timeout 120 wine $desktop "$probe" target "Perchling の止まり木" 240 260 500 260 >/dev/null 2>&1 &
sleep 4
import -window root "$top/build/screenshot.png"
timeout 60 wine $desktop "$probe" close >/dev/null 2>&1
sleep 2
echo "Screenshot saved: $top/build/screenshot.png"
