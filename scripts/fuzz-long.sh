#!/usr/bin/env bash
# Runs every fuzz target of the portable core for a long time (default 10 minutes each; give the
# seconds as the first argument), one after another, starting from the committed corpus.
# Inputs that find new paths are kept in build/fuzz/new-NAME; a crash leaves build/fuzz/NAME-crash-*
# and stops the script. Add a small crashing input to tests/fuzz/corpus/NAME once it is mended.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-600}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2 --target fuzzers
for binary in build/fuzz/fuzz_*; do
  [ -x "$binary" ] || continue
  name="${binary##*/fuzz_}"
  mkdir -p "build/fuzz/new-$name"
  echo "== $name for $seconds seconds"
  "$binary" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build/fuzz/$name-" \
    "build/fuzz/new-$name" "tests/fuzz/corpus/$name"
done
