#!/usr/bin/env bash
# Builds the program and starts it under Wine. On a desktop ($DISPLAY set) the
# window opens there, in a private Wine prefix under build/, as the current
# user. Without a display it runs on a virtual display of its own, writes a
# screenshot of its window, says where that and the .exe are, and ends.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD

bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target tessafold
exe="$root/build/win32/bin/tessafold.exe"
echo "The program: $exe (a standalone 32-bit Windows .exe; copy it to any Windows machine)"

if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX="$root/build/win32/desktop-prefix" WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  # Wine falls back to fonts with Chinese glyphs only under a Chinese locale;
  # a private one is built when the system has none.
  export LOCPATH="$root/build/win32/locale"
  if [ ! -d "$LOCPATH/zh_CN.UTF-8" ]; then
    mkdir -p "$LOCPATH"
    localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >/dev/null 2>&1 || true
  fi
  echo "Starting it on $DISPLAY (the first start prepares a Wine prefix, which takes a little while)"
  LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 exec wine "$exe"
fi

. scripts/wine-env.sh
wine_env_init "$root/build/win32/run"
shot="$root/build/win32/screenshot.png"
program="$TESSAFOLD_SCRATCH/tessafold.exe"
cp "$exe" "$program"
wine_as_user wine "$program" >/dev/null 2>&1 &
bash scripts/screenshot.sh "$shot"
wine_as_user wineserver -k >/dev/null 2>&1 || true
wait || true
echo "No display here: the program ran on a virtual one ($DISPLAY)."
echo "Screenshot of its window: $shot"
