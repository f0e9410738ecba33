#!/usr/bin/env bash
# Runs Perchling's benchmarks and writes their tables into docs/performance.md:
#   bench/run.sh
# Builds in build/ (as scripts/test.sh does), then runs the Windows benchmark programs under both
# Wines (bench/session.sh), each in a session of the tests' kind of its own, in build/bench/wine8
# and build/bench/wine10. Takes about twenty minutes; everything it starts is stopped at the end.
# Runs as the user who runs the tests (root or not), after the same one-time install. Not part of
# ctest.
set -eu
cd "$(dirname "$0")/.."
root="$PWD"
jobs=$(($(nproc) < 2 ? $(nproc) : 2))
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs" >/dev/null

bench="$root/build/bench"
windows="$root/build/windows"
mkdir -p "$bench"

# Each Wine in a session of its own: the host's Wine 8, then Wine 10 in the userland the tests
# use (made there on first use). Both get the same install of Perchling and the shipped skins.
wines=(wine8 wine10)
for wine in "${wines[@]}"; do
  state="$bench/$wine"
  mkdir -p "$state"
  rm -rf "$state/install"
  cp -r "$windows/dist" "$state/install"
done
# The skin kit's large pictures, made once for both Wines: a photo (a plasma fractal, JPEG) and a
# drawing on a white canvas (PNG without alpha), 4000 x 3000 each.
mkdir -p "$bench/pictures"
convert -seed 7 -size 4000x3000 plasma:fractal "$bench/pictures/photo.jpg"
convert -size 4000x3000 xc:white -fill '#e0a040' -stroke black -strokewidth 40 \
  -draw 'ellipse 2000,1700 1400,1000 0,360' -fill white -draw 'ellipse 2000,1800 600,500 0,360' \
  "$bench/pictures/drawing.png"
bench/session.sh "$bench/wine8"
tests/wine10-userland.sh "$root/build/wine10-root" "$root/bench/session.sh" "$bench/wine10"

exe="$bench/wine8/install/Perchling.exe"
x86_64-w64-mingw32-strip -o "$bench/Perchling.stripped.exe" "$exe"
size=$(stat -c %s "$bench/Perchling.stripped.exe")
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr '\n' ' ')

# Each Wine's tables, then the two side by side: a table of the same columns in both gets a "Wine"
# column with the two Wines' rows next to each other; a text that differs is given for each.
for wine in "${wines[@]}"; do
  state="$bench/$wine"
  {
    echo "### Region build: Perchling's builder against the per-run union"
    echo
    echo "Times in milliseconds, each the median of 3 to 101 builds of the same picture (including the"
    echo "copy to 32 bits and the scan); the per-run union is skipped where it would take over a minute."
    cat "$state/region.md"
    echo
    echo "### One hop of a shaped window, each way of moving"
    cat "$state/hop.md"
    cat "$state/process.md"
    cat "$state/skin.md"
    echo
    echo "### The skin kit: a drop of a large picture against decoding it"
    echo
    cat "$state/kit.md"
  } >"$state/tables.md"
done
{
  echo "<!-- bench:begin (written by bench/run.sh; edit the text outside these markers) -->"
  echo
  echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') with \`bench/run.sh\` on $(nproc) cores"
  echo "($(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)), MinGW-w64 g++"
  echo "$(x86_64-w64-mingw32-g++ -dumpversion). Wine 8: $(cat "$bench/wine8/wine-version") on the host"
  echo "(Debian 12, Xvfb $(cat "$bench/wine8/xvfb-version")), load average $(cat "$bench/wine8/load-before")"
  echo "before and $(cat "$bench/wine8/load-after") after; Wine 10: $(cat "$bench/wine10/wine-version") in the"
  echo "Debian 13 userland (Xvfb $(cat "$bench/wine10/xvfb-version")), load average"
  echo "$(cat "$bench/wine10/load-before") before and $(cat "$bench/wine10/load-after") after."
  echo
  python3 bench/side_by_side.py "Wine 8" "$bench/wine8/tables.md" "Wine 10" "$bench/wine10/tables.md"
  echo
  echo "### Size"
  echo
  echo "| file | bytes | DLL imports |"
  echo "|---|---:|---|"
  echo "| Perchling.exe (stripped) | $size | $dlls |"
  echo
  echo "<!-- bench:end -->"
} >"$bench/tables.md"

doc=docs/performance.md
if [ -f "$doc" ] && grep -q '<!-- bench:begin' "$doc"; then
  awk -v tables="$bench/tables.md" '
    /<!-- bench:begin/ { while ((getline line < tables) > 0) print line; skipping = 1; next }
    /<!-- bench:end/ { skipping = 0; next }
    !skipping { print }' "$doc" >"$doc.new"
  mv "$doc.new" "$doc"
else
  cp "$bench/tables.md" "$doc"
fi
for err in "$bench"/wine*/*.err; do
  grep -v '^$' "$err" >&2 || true
done
echo "tables written to $doc" >&2
