#!/usr/bin/env bash
# Shows that a release is reproducible: clones a commit twice, into folders of
# different names and lengths, runs scripts/release.sh in each (the second
# under another time zone and umask) and compares the two dist/ folders byte
# for byte.
#   scripts/check-reproducible.sh [COMMIT]      default: HEAD
# Uncommitted changes are not part of the check.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

commit=$(git rev-parse --verify "${1:-HEAD}^{commit}")
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "note: uncommitted changes are left out; checking commit $commit"
fi
repo=$(git rev-parse --path-format=absolute --git-common-dir)
work=$(mktemp -d "${TMPDIR:-/tmp}/tessafold-repro.XXXXXX")
trap 'rm -rf "$work"' EXIT
first="$work/a"
second="$work/another-folder/with-a-longer-name"

release_in() {
  git clone -q --no-local --no-checkout "$repo" "$1"
  git -C "$1" checkout -q --detach "$commit"
  echo "== release of $commit in $1"
  (cd "$1" && bash scripts/release.sh) >"$work/$(basename "$1").log" 2>&1 ||
    { cat "$work/$(basename "$1").log"; echo "FAIL: the release in $1 failed"; exit 1; }
}
release_in "$first"
(umask 077 && TZ=Asia/Shanghai release_in "$second")

if diff -r "$first/dist" "$second/dist" >/dev/null; then
  echo "reproducible: both releases wrote the same bytes:"
  (cd "$first/dist" && ls -l --time-style=+ | tail -n +2 && cat SHA256SUMS)
else
  echo "NOT reproducible: the two dist/ folders differ:"
  diff -r "$first/dist" "$second/dist" || true
  exit 1
fi
