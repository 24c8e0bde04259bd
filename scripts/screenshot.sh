#!/usr/bin/env bash
# Writes a PNG of a window on the current X display ($DISPLAY), waiting up to
# 60 s for it to be shown; the whole screen when no such window appears.
#   screenshot.sh OUTPUT.png [WINDOW-TITLE]     (title: Tessafoldv1.1)
set -euo pipefail
out=$1
title=${2:-Tessafoldv1.1}

window_id() {
  xwininfo -root -tree 2>/dev/null | awk -v name="\"$title\":" '$2 == name { print $1; exit }'
}

id=""
for _ in $(seq 1 300); do
  id=$(window_id)
  if [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q IsViewable; then break; fi
  id=""
  sleep 0.2
done
sleep 0.5  # let the first paint finish
if [ -n "$id" ]; then
  import -window "$id" "$out"
else
  echo "no window titled $title; capturing the whole screen" >&2
  import -window root "$out"
fi
