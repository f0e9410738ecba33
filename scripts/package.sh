#!/usr/bin/env bash
# Builds the release from this checkout: build/package/release/Perchling-<version>-win64.zip and
# SHA256SUMS beside it. Only the programs that ship are built (cross-built with MinGW-w64); the
# zip's entries are dated with the last commit, so the same commit always gives the same zip.
# Installs what packaging needs first, if it is missing, and nothing of the test toolchain.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
if [ -n "$(git status --porcelain 2>/dev/null)" ]; then
  echo "Note: the checkout has uncommitted changes; the zip holds them but carries the last" \
    "commit's date." >&2
fi
tree=build/package
cmake -S . -B "$tree" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$tree" --target release_zip -j "$(nproc)"
echo "Release:"
cd "$tree/release"
for file in *.zip SHA256SUMS; do
  echo "  $PWD/$file ($(stat -c %s "$file") bytes)"
done
cat SHA256SUMS
