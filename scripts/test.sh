#!/usr/bin/env bash
# Builds everything and runs every test: the portable code natively (plain and
# under AddressSanitizer/UndefinedBehaviorSanitizer), then the Windows program
# and its tests under Wine. Installs what a fresh Debian machine lacks first.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh

for preset in native native-asan win32; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

status=0
for preset in native native-asan win32; do
  echo "== $preset: test"
  ctest --preset "$preset" || status=1
done
exit "$status"
