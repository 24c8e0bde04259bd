#!/usr/bin/env bash
# Sourced by the scripts that run the Windows program or its tests under Wine.
# Gives them a private Wine prefix, a headless X display and a Chinese locale,
# all under one state folder, so nothing of the user's own Wine is touched.
#
#   wine_env_init STATE_DIR   prepares everything (idempotent)
#   wine_as_user CMD...       runs CMD as the unprivileged Wine user
#
# Wine runs as an unprivileged user when we are root: as root, Wine ignores
# file permissions, and tests would pass that fail on a real Windows.

wine_env_init() {
  local state
  state=$(mkdir -p "$1" && cd "$1" && pwd)
  export TESSAFOLD_WINE_STATE="$state"
  export WINEPREFIX="$state/prefix"
  export WINEARCH=win32
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
      wine_as_user wineboot -i >/dev/null 2>&1 9>&-
      # Without a window manager Wine waits ~2 s at every window hide.
      wine_as_user wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 9>&-
      wine_as_user wineserver -w 9>&-
      touch "$WINEPREFIX/.ready"
    fi
  ) 9>"$state/.lock"
}

# A display of our own: its number follows from the state folder, so two
# build folders never share one, and it is started once and reused.
wine_start_display() {
  local state=$1
  if [ -n "${TESSAFOLD_USE_DISPLAY:-}" ]; then
    export DISPLAY="$TESSAFOLD_USE_DISPLAY"
    return
  fi
  local n=$(( 100 + $(printf '%s' "$state" | cksum | cut -d' ' -f1) % 400 ))
  export DISPLAY=":$n"
  (
    flock 8
    if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
      rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
      setsid Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -ac >"$state/xvfb.log" 2>&1 </dev/null 8>&- 9>&- &
      for _ in $(seq 1 100); do
        xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break
        sleep 0.1
      done
    fi
  ) 8>"$state/.display.lock"
}

# The Chinese locale is set only for Wine: this shell may not have it.
wine_as_user() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid="$WINE_UID" --regid="$WINE_UID" --clear-groups env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$@"
  else
    env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$@"
  fi
}
