#!/usr/bin/env bash
# Runs a Windows program under the Wine for its architecture (32- or 64-bit),
# in the private environment of the build folder that holds it. CTest uses
# this as the emulator for cross-built tests:
#   wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh"

program=$(readlink -f "$1"); shift
build=$(dirname "$program")
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
[ "$build" = / ] && build=$(dirname "$program")

wine_env_init "${TESSAFOLD_WINE_STATE:-$build/wine}" "$(wine_arch_of "$program")"
exec_rc=0
wine_as_user "$TESSAFOLD_WINE" "$program" "$@" || exec_rc=$?
exit "$exec_rc"
