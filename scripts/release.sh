#!/usr/bin/env bash
# Builds the 32- and 64-bit programs and their installers for a release
# (build/release-win32 and build/release-win64: no tests, no symbols) and
# writes dist/:
#   tessafold-<version>-win32.zip, tessafold-<version>-win64.zip
#       each the .exe and README.txt (release/README.txt filled in)
#   tessafold-<version>-win32-setup.exe, tessafold-<version>-win64-setup.exe
#       the NSIS installers (installer/tessafold.nsi)
#   SHA256SUMS of every other file in dist/
#   manifests/winget/ and manifests/scoop/, only with --download-base URL:
#       the URL the files of dist/ will be published under
# The version is the CMake project version. The same commit gives the same
# bytes in any folder at any time; scripts/check-reproducible.sh shows it.
#   scripts/release.sh [--download-base URL]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

manifest_options=()
while [ $# -gt 0 ]; do
  case $1 in
    --download-base) [ $# -ge 2 ] || { echo "--download-base needs a URL" >&2; exit 2; }
                     manifest_options=(--download-base "$2"); shift 2 ;;
    --download-base=*) manifest_options=(--download-base "${1#*=}"); shift ;;
    *) echo "usage: scripts/release.sh [--download-base URL]" >&2; exit 2 ;;
  esac
done

bash scripts/setup.sh
builds=()
setups=()
for build in win32 win64; do
  echo "== release-$build: configure and build"
  cmake --preset "release-$build" >/dev/null
  cmake --build --preset "release-$build"
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release-win32/CMakeCache.txt)
for build in win32 win64; do
  builds+=("$build=build/release-$build/bin/tessafold.exe")
  setups+=(--setup "build/release-$build/tessafold-$version-$build-setup.exe")
done

rm -rf dist
mkdir dist
python3 scripts/pack_release.py dist "$version" release/README.txt "${builds[@]}" "${setups[@]}" \
  "${manifest_options[@]}"
echo "== dist/ (version $version)"
(cd dist && ls -lR && cat SHA256SUMS)
