#!/usr/bin/env bash
# Builds the 32- and 64-bit programs for a release (build/release-win32 and
# build/release-win64: no tests, no symbols) and writes dist/:
#   tessafold-<version>-win32.zip, tessafold-<version>-win64.zip
#       each the .exe and README.txt (release/README.txt filled in)
#   SHA256SUMS of every other file in dist/
# The version is the CMake project version. The same commit gives the same
# bytes in any folder at any time; scripts/check-reproducible.sh shows it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
builds=()
for build in win32 win64; do
  echo "== release-$build: configure and build"
  cmake --preset "release-$build" >/dev/null
  cmake --build --preset "release-$build"
  builds+=("$build=build/release-$build/bin/tessafold.exe")
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release-win32/CMakeCache.txt)

rm -rf dist
mkdir dist
python3 scripts/pack_release.py dist "$version" release/README.txt "${builds[@]}"
echo "== dist/ (version $version)"
(cd dist && ls -l && cat SHA256SUMS)
