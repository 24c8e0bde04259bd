#!/usr/bin/env bash
# Sourced by the scripts that run the Windows program or its tests under Wine.
# Gives them a private Wine prefix, a headless X display and a Chinese locale,
# all under one state folder, so nothing of the user's own Wine is touched.
#
#   wine_env_init STATE_DIR [win32|win64]
#                             prepares everything (idempotent); afterwards
#                             "$TESSAFOLD_WINE" runs a program of that
#                             architecture and "$TESSAFOLD_WINESERVER" is its server
#   wine_select win32|win64   only chooses that Wine, for a prefix of one's own
#   wine_as_user CMD...       runs CMD as the unprivileged Wine user
#   wine_stop STATE_DIR [win32|win64]
#                             ends the prefix's wineserver and the display
#   wine_arch_of PROGRAM.exe  win64 for a PE32+ x86-64 program, else win32
#   wine32_problem            why this machine cannot run 32-bit programs;
#                             nothing when it can
#
# Wine runs as an unprivileged user when we are root: as root, Wine ignores
# file permissions, and tests would pass that fail on a real Windows.
#
# A 32-bit program runs under Debian's wine (the 32-bit loader). A 64-bit one
# gets the 64-bit loader and server directly: Debian's wine starts the 32-bit
# loader whenever wine32 is installed, and on a kernel without 32-bit support
# that cannot even start.

wine32_loader=/usr/lib/wine/wine

# TESSAFOLD_SKIP_WIN32=1 makes this machine count as one that cannot run
# 32-bit programs, so that path can be tried anywhere.
wine32_problem() {
  if [ "${TESSAFOLD_SKIP_WIN32:-0}" != 0 ]; then
    echo "TESSAFOLD_SKIP_WIN32=$TESSAFOLD_SKIP_WIN32 makes this machine count as one that cannot run 32-bit programs"
  elif [ ! -x "$wine32_loader" ]; then
    echo "the 32-bit Wine loader $wine32_loader is not installed"
  else
    local out
    if ! out=$("$wine32_loader" --version 2>&1); then
      out=${out##*$'\n'}
      echo "this machine cannot run 32-bit programs ($wine32_loader --version: ${out##*: })"
    fi
  fi
}

wine_arch_of() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  if [ "$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')" = 8664 ]; then echo win64; else echo win32; fi
}

# Chooses the Wine for programs of ARCH (win32 or win64); fails with the
# reason when this machine cannot run them.
wine_select() {
  export WINEARCH=$1
  if [ "$1" = win64 ]; then
    export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
    export TESSAFOLD_WINE=$WINELOADER TESSAFOLD_WINESERVER=$WINESERVER
    return
  fi
  local problem
  problem=$(wine32_problem)
  if [ -n "$problem" ]; then
    echo "cannot run a 32-bit Windows program: $problem; the win64 build runs here" >&2
    return 1
  fi
  unset WINELOADER WINESERVER
  export TESSAFOLD_WINE=wine TESSAFOLD_WINESERVER=wineserver
}

wine_env_init() {
  local state
  wine_select "${2:-win32}" || return 1
  state=$(mkdir -p "$1" && cd "$1" && pwd)
  export TESSAFOLD_WINE_STATE="$state"
  export WINEPREFIX="$state/prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  export LOCPATH="$state/locale"
  export HOME="$state/home"
  export XDG_RUNTIME_DIR="$state/run"
  export TESSAFOLD_SCRATCH="$state/scratch"

  if [ "$(id -u)" -eq 0 ]; then WINE_UID=65534; else WINE_UID=$(id -u); fi
  export WINE_UID

  (
    flock 9
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$LOCPATH" "$TESSAFOLD_SCRATCH"
    chmod 700 "$XDG_RUNTIME_DIR"
    if [ ! -d "$LOCPATH/zh_CN.UTF-8" ]; then
      localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >/dev/null 2>&1 || true
    fi
    if [ "$(id -u)" -eq 0 ]; then
      chown -R "$WINE_UID:$WINE_UID" "$HOME" "$XDG_RUNTIME_DIR" "$TESSAFOLD_SCRATCH"
      if [ -d "$WINEPREFIX" ]; then chown -R "$WINE_UID:$WINE_UID" "$WINEPREFIX"; fi
    fi
  ) 9>"$state/.lock"

  wine_start_display "$state"

  (
    flock 9
    if [ ! -f "$WINEPREFIX/.ready" ]; then
      rm -rf "$WINEPREFIX"
      mkdir -p "$WINEPREFIX"
      if [ "$(id -u)" -eq 0 ]; then chown "$WINE_UID:$WINE_UID" "$WINEPREFIX"; fi
      wine_as_user "$TESSAFOLD_WINE" wineboot -i >/dev/null 2>&1 9>&-
      # Without a window manager Wine waits ~2 s at every window hide.
      wine_as_user "$TESSAFOLD_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 9>&-
      wine_as_user "$TESSAFOLD_WINESERVER" -w 9>&-
      touch "$WINEPREFIX/.ready"
    fi
  ) 9>"$state/.lock"
}

# A display of our own, started once per state folder and reused. The server
# takes the first free display number itself, so two build folders never
# share one, not even when their suites run at the same time.
wine_start_display() {
  local state=$1
  if [ -n "${TESSAFOLD_USE_DISPLAY:-}" ]; then
    export DISPLAY="$TESSAFOLD_USE_DISPLAY"
    return
  fi
  (
    flock 8
    pid=$(cat "$state/xvfb.pid" 2>/dev/null || true)
    if [ -n "$pid" ] && [ -s "$state/display" ] && tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -q '^Xvfb '; then
      exit 0
    fi
    rm -f "$state/display"
    : >"$state/display.new"
    setsid Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp -ac 7>"$state/display.new" \
      >"$state/xvfb.log" 2>&1 </dev/null 8>&- 9>&- &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 1 100); do
      if [ -s "$state/display.new" ]; then
        mv "$state/display.new" "$state/display"
        exit 0
      fi
      sleep 0.1
    done
    echo "no X display could be started for $state (see $state/xvfb.log)" >&2
  ) 8>"$state/.display.lock"
  export DISPLAY=":$(cat "$state/display" 2>/dev/null)"
}

# Ends what wine_env_init started for a state folder: the prefix's wineserver
# (and with it its programs) and the display. Nothing is left running.
wine_stop() {
  local state=$1 arch=${2:-win32} pid
  [ -d "$state" ] || return 0
  if [ -d "$state/prefix" ]; then
    (
      wine_select "$arch" 2>/dev/null || exit 0
      if [ "$(id -u)" -eq 0 ]; then WINE_UID=65534; else WINE_UID=$(id -u); fi
      WINEPREFIX="$state/prefix" wine_as_user "$TESSAFOLD_WINESERVER" -k >/dev/null 2>&1 || true
    )
  fi
  pid=$(cat "$state/xvfb.pid" 2>/dev/null || true)
  if [ -n "$pid" ] && tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -q '^Xvfb '; then
    kill "$pid" 2>/dev/null || true
  fi
  rm -f "$state/xvfb.pid" "$state/display"
}

# The Chinese locale is set only for Wine: this shell may not have it.
wine_as_user() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid="$WINE_UID" --regid="$WINE_UID" --clear-groups env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$@"
  else
    env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$@"
  fi
}
