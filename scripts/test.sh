#!/usr/bin/env bash
# Builds everything and runs every test: the portable code natively (plain and
# under AddressSanitizer/UndefinedBehaviorSanitizer), then the 32- and 64-bit
# Windows programs and their tests under Wine. Both Windows programs are always
# built; a suite runs only where this machine can run its programs, and a
# skipped one is named with the reason. Installs what a fresh Debian machine
# lacks first.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
. scripts/wine-env.sh

for preset in native native-asan win32 win64; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

status=0
for preset in native native-asan; do
  echo "== $preset: test"
  ctest --preset "$preset" || status=1
done

echo "== release files and the CI workflow: test"
python3 tests/release/release_files_test.py || status=1
node scripts/lint-workflows.mjs || status=1

win32_problem=$(wine32_problem)
windows=(win64)
if [ -z "$win32_problem" ]; then windows=(win32 win64); fi

# The Windows suites mostly wait on Wine and on windows, and each has a prefix
# and a display of its own: they run side by side, each one test at a time.
if [ ${#windows[@]} -gt 1 ]; then
  echo "== ${windows[*]}: testing side by side (logs in build/<preset>/ctest.log)"
fi
pids=()
# Nothing this command started outlives it: the suites, their displays and
# their Wine servers.
stop_all() {
  kill "${pids[@]}" 2>/dev/null || true
  for preset in win32 win64; do wine_stop "build/$preset/wine" "$preset"; done
}
trap stop_all EXIT
for preset in "${windows[@]}"; do
  ctest --preset "$preset" >"build/$preset/ctest.log" 2>&1 &
  pids+=($!)
done
summary=""
for i in "${!windows[@]}"; do
  preset=${windows[$i]}
  rc=0
  wait "${pids[$i]}" || rc=$?
  echo "== $preset: test"
  cat "build/$preset/ctest.log"
  if [ "$rc" -eq 0 ]; then outcome=passed; else outcome=FAILED; status=1; fi
  summary+="${summary:+, }$preset $outcome"
done
pids=()

echo "== Windows suites: $summary"
if [ -n "$win32_problem" ]; then
  echo "win32 suite skipped (its program was built): $win32_problem"
fi
exit "$status"
