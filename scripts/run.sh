#!/usr/bin/env bash
# Builds Perchling and runs it under Wine. On a display ($DISPLAY) it runs until you close it
# (right-click the picture, 閉じる). Without one it starts Xvfb with a Wine desktop, lets the
# accessory perch on a window's title bar, saves build/screenshot.png and closes it cleanly.
set -eu
cd "$(dirname "$0")/.."
top="$(pwd)"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
dist="$top/build/windows/dist"
probe="$top/build/windows/perch_probe.exe"
state="$top/build/wine-run"
. scripts/wine-env.sh
wine_env "$state/prefix"

if [ -n "${DISPLAY:-}" ]; then
  prepare_prefix
  echo "Starting $dist/Perchling.exe (right-click it for its menu)"
  cd "$dist" && exec wine ./Perchling.exe
fi

# Without a display: a Wine session as the tests have, on an Xvfb display of its own.
session="$top/tests/wine-session.sh"
trap '"$session" "$state" stop' EXIT
"$session" "$state" start
DISPLAY="$(cat "$state/display")"
export DISPLAY
# Every program runs on one Wine desktop of its own, 800 x 600.
desktop="explorer /desktop=Perchling,800x600"

# Runs its arguments until they succeed, for at most SECONDS; says what it waited for if not.
wait_until() {
  local seconds="$1" what="$2" until=$((SECONDS + $1))
  shift 2
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$until" ] || { echo "Gave up waiting for $what" >&2; return 1; }
    sleep 0.2
  done
}
accessory_window() { xdotool search --name '^Perchling$'; }
no_accessory() { ! accessory_window; }
# The accessory on the title bar of the window below (right edge 740, top 260), where the program's
# follow offsets put it.
read -r follow_inset title_overlap < <(python3 tools/program_values.py kFollowInset kTitleOverlap)
perched() {
  local left top right bottom
  read -r left top right bottom < <(timeout 30 wine $desktop "$probe" rect | tr -d '\r')
  [ "$right" = $((740 - follow_inset)) ] && [ "$bottom" = $((260 + title_overlap)) ]
}
# Xvfb pictures of the Wine desktop, taken until two in a row are the same (every repaint done).
steady_screenshot() {
  local previous="" current attempt
  for attempt in $(seq 50); do
    current="$(import -window root -crop 800x600+0+0 rgb:- | sha256sum)"
    [ "$current" = "$previous" ] && break
    previous="$current"
    sleep 0.2
  done
  import -window root -crop 800x600+0+0 +repage -strip "$1"
}

(cd "$dist" && timeout 120 wine $desktop notepad >/dev/null 2>&1 &)
wait_until 60 "Notepad" xdotool search --name 'メモ帳'
(cd "$dist" && timeout 120 wine $desktop Perchling.exe >/dev/null 2>&1 &)
wait_until 60 "Perchling's window" accessory_window
# A window of another program comes to the front: the accessory moves onto its title bar.
timeout 120 wine $desktop "$probe" target "Perchling の止まり木" 240 260 500 260 >/dev/null 2>&1 &
wait_until 60 "the accessory on the window's title bar" perched
# Wine raises the window that comes to the front above the topmost accessory in the X stacking
# order, so its title bar would hide the bird's lower pixels; Windows keeps the accessory on
# top. Raising the accessory's X window again shows it as Windows does.
xdotool search --name '^Perchling$' windowraise %@
steady_screenshot "$top/build/screenshot.png"
timeout 60 wine $desktop "$probe" close >/dev/null 2>&1
wait_until 30 "Perchling to close" no_accessory
echo "Screenshot saved: $top/build/screenshot.png"
