#!/usr/bin/env bash
# Builds Perchling and runs every test: native (ASan/UBSan), Win32 in-process under Wine, and
# end-to-end with the real Perchling.exe under Wine in Xvfb. Installs what is missing first.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
# Two at a time: the Wine 8 and Wine 10 sessions share no display, prefix or lock, so a test of
# each runs at once (each session's own tests still take turns on its desktop).
ctest --test-dir build --output-on-failure --parallel 2 "$@"
