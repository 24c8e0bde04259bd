#!/usr/bin/env bash
# The installer as a user meets it, in a fresh Wine prefix of its own (removed
# afterwards): a silent install, the installed program started from its
# folder until its window shows, the Start-menu shortcut and the Apps &
# features entry, a second install of the same version over the first, and a
# silent uninstall that leaves no file, shortcut or registry entry behind.
#   installer_test.sh SETUP.exe PROGRAM.exe VERSION
# PROGRAM.exe is the build's tessafold.exe, which the installer holds.
set -euo pipefail
setup=$(readlink -f "$1")
program=$(readlink -f "$2")
version=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../../../scripts/wine-env.sh"
title=Tessafoldv1.1

state=$(mktemp -d "${TMPDIR:-/tmp}/tessafold-installer.XXXXXX")
chmod 755 "$state"  # the Wine user (nobody, when we are root) works in it
cleanup() {
  if [ -n "${TESSAFOLD_WINESERVER:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -s "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; fi
  rm -rf "$state"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

wine_env_init "$state" "$(wine_arch_of "$setup")"
# The program asks the shell for its web page at every start; no browser here.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winebrowser.exe="
wine() { wine_as_user "$TESSAFOLD_WINE" "$@"; }
wineserver() { wine_as_user "$TESSAFOLD_WINESERVER" "$@"; }
unix_path() { wine winepath -u "$1" 2>/dev/null; }
folder_of() { unix_path "$(wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')"; }
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessafold'
entry() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v v="$1" '$1 == v { $1 = $2 = ""; sub(/^ +/, ""); print }'; }
# Everything in the prefix but Wine's own registry files (checked by name
# below) and the temporary folder's working files.
files() { (cd "$WINEPREFIX" && find . | grep -v '^\./[a-z]*\.reg$' | sort); }
registry_mentions() { grep -il tessafold "$WINEPREFIX"/*.reg || true; }

local_app_data=$(folder_of LOCALAPPDATA)
start_menu="$(folder_of APPDATA)/Microsoft/Windows/Start Menu/Programs"
installed="$local_app_data/Programs/Tessafold"
[ -d "$local_app_data" ] && [ -d "$start_menu" ] || fail "the prefix's folders were not found ($local_app_data, $start_menu)"
wineserver -w
before=$(files)
[ -z "$(registry_mentions)" ] || fail "the fresh prefix already names the program"

install() {
  wine "$setup" /S || fail "the silent install ended with exit code $?"
  for name in tessafold.exe uninstall.exe README.txt; do
    [ -f "$installed/$name" ] || fail "$installed/$name is missing after the install"
  done
  cmp -s "$installed/tessafold.exe" "$1" || fail "the installed program is not the build's"
  [ -f "$start_menu/Tessafold.lnk" ] || fail "no Start-menu shortcut"
  [ "$(entry DisplayName)" = Tessafold ] || fail "the uninstall entry's name: '$(entry DisplayName)'"
  [ "$(entry DisplayVersion)" = "$version" ] || fail "the uninstall entry's version: '$(entry DisplayVersion)'"
  [ "$(entry Publisher)" = Tessafold ] || fail "the uninstall entry has no publisher"
  [ "$(entry DisplayIcon)" = "$(entry InstallLocation)\\tessafold.exe,0" ] || fail "the icon: '$(entry DisplayIcon)'"
  [ "$(unix_path "$(entry InstallLocation)")" = "$installed" ] || fail "the entry's folder: '$(entry InstallLocation)'"
  size=$(entry EstimatedSize)
  [ "$((size))" -gt 0 ] && [ "$((size))" -lt 10240 ] || fail "the entry's size in KiB: '$size'"
  [[ "$(entry QuietUninstallString)" == *uninstall.exe\"\ /S ]] || fail "the quiet uninstall command: '$(entry QuietUninstallString)'"
}

window_shown() {
  local id
  id=$(xwininfo -root -tree 2>/dev/null | awk -v name="\"$title\":" '$2 == name { print $1; exit }')
  [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q IsViewable
}

echo "== install"
install "$program"
echo "== the installed program starts"
(cd "$installed" && wine "$installed/tessafold.exe" >/dev/null 2>&1 &)
shown=""
for _ in $(seq 1 150); do
  if window_shown; then shown=1; break; fi
  sleep 0.2
done
[ -n "$shown" ] || fail "the installed program showed no window titled $title"
wineserver -k
wineserver -w

echo "== the same version again, over it"
install "$program"
[ "$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' | tr -d '\r' | grep -ci tessafold)" = 1 ] ||
  fail "not exactly one uninstall entry after a second install"

echo "== uninstall"
uninstaller=$(wine winepath -w "$installed/uninstall.exe" | tr -d '\r')
wine "$uninstaller" /S || fail "the silent uninstall ended with exit code $?"
# The uninstaller runs on from a copy of itself in the temporary folder.
wineserver -w
[ ! -e "$installed" ] || fail "the install folder is still there: $(ls -A "$installed")"
[ ! -e "$start_menu/Tessafold.lnk" ] || fail "the shortcut is still there"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall entry is still there"
[ -z "$(registry_mentions)" ] || fail "the registry still names the program: $(grep -i tessafold "$WINEPREFIX"/*.reg)"
# NSIS's uninstaller runs from a copy in a folder of the temporary folder
# and has Windows remove both at the next start; the copy itself is gone.
left=$(comm -13 <(echo "$before") <(files) | grep -v '/Temp/~nsu[A-Za-z0-9]*\.tmp$' || true)
[ -z "$left" ] || fail "the uninstall left behind: $left"
echo "installed, started, installed again and uninstalled without a trace"
