#!/usr/bin/env bash
# Builds the program and starts it under Wine: the 32-bit build, or the 64-bit
# one where this machine cannot run 32-bit programs; it says which. On a
# desktop ($DISPLAY set) the window opens there, in a private Wine prefix
# under build/, as the current user. Without a display it runs on a virtual
# display of its own, writes a screenshot of its window, says where that and
# the .exe are, and ends.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD

bash scripts/setup.sh
. scripts/wine-env.sh

# The 32-bit program is the product; a machine that cannot run 32-bit
# programs gets the 64-bit build of the same sources.
problem=$(wine32_problem)
if [ -z "$problem" ]; then
  preset=win32 kind="32-bit Windows .exe (PE32)"
else
  preset=win64 kind="64-bit Windows .exe (PE32+)"
  echo "Starting the win64 build: $problem"
fi
build="$root/build/$preset"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target tessafold
exe="$build/bin/tessafold.exe"
echo "The program: $exe (the $preset build, a standalone $kind; copy it to any Windows machine)"

if [ -n "${DISPLAY:-}" ]; then
  wine_select "$preset"
  export WINEPREFIX="$build/desktop-prefix" WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  # Wine falls back to fonts with Chinese glyphs only under a Chinese locale;
  # a private one is built when the system has none.
  export LOCPATH="$build/locale"
  if [ ! -d "$LOCPATH/zh_CN.UTF-8" ]; then
    mkdir -p "$LOCPATH"
    localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >/dev/null 2>&1 || true
  fi
  echo "Starting it on $DISPLAY (the first start prepares a Wine prefix, which takes a little while)"
  LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 exec "$TESSAFOLD_WINE" "$exe"
fi

wine_env_init "$build/run" "$preset"
shot="$build/screenshot.png"
program="$TESSAFOLD_SCRATCH/tessafold.exe"
cp "$exe" "$program"
wine_as_user "$TESSAFOLD_WINE" "$program" >/dev/null 2>&1 &
bash scripts/screenshot.sh "$shot"
wine_stop "$build/run" "$preset"
wait || true
echo "No display here: the program ran on a virtual one ($DISPLAY)."
echo "Screenshot of its window: $shot"
