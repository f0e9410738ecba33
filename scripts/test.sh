#!/usr/bin/env bash
# Builds Perchling and runs every test: native (ASan/UBSan), Win32 in-process under Wine, and
# end-to-end with the real Perchling.exe under Wine in Xvfb. Installs what is missing first (the
# only step that may need root: see scripts/install-deps.sh); the rest runs as any user.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
# Two at a time: the Wine 8 and Wine 10 sessions share no display, prefix or lock, so a test of
# each runs at once (each session's own tests still take turns on its desktop).
status=0
ctest --test-dir build --output-on-failure --parallel 2 "$@" || status=$?
# ctest shows only failing tests' output: the cases that could not run here are named with why.
log=build/Testing/Temporary/LastTest.log
skipped="skipped '\|\[  SKIPPED \] [^0-9]"
if grep -q "$skipped" "$log" 2>/dev/null; then
  echo "Skipped here:"
  grep -h "$skipped" "$log" | sed 's/^/  /'
fi
exit "$status"
