#!/usr/bin/env bash
# Mounts a small file system, lets the Windows test of a full disk run a job
# on it under Wine (where it is reached through Z:), then checks from outside
# that it holds the test's file and nothing else. Mounting needs root:
# elsewhere, or where the mount is refused, the test is skipped (exit 77).
#   full_disk.sh win_fault_tests.exe
set -euo pipefail
tests=$(readlink -f "$1")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
skip=77

if [ "$(id -u)" -ne 0 ]; then echo "SKIP: mounting a small file system needs root"; exit "$skip"; fi

disk=$(mktemp -d "${TMPDIR:-/tmp}/tessafold-full-disk.XXXXXX")
# The Wine user (nobody when we are root) owns the file system's root.
if ! mount -t tmpfs -o size=40m,uid=65534,gid=65534,mode=0755 tessafold-full-disk "$disk"; then
  rmdir "$disk"
  echo "SKIP: the small file system could not be mounted here"
  exit "$skip"
fi
unmount() {
  umount "$disk" 2>/dev/null || umount -l "$disk"
  rmdir "$disk"
}
trap unmount EXIT

windows_path="Z:${disk//\//\\}"
output=$(TESSAFOLD_FULL_DISK="$windows_path" bash "$here/../../../scripts/wine-run.sh" "$tests" \
           --gtest_filter='FullDisk.*' 2>&1) || { echo "$output"; exit 1; }
echo "$output"
grep -q '^\[  PASSED  \] 1 test' <<<"$output" || { echo "FAIL: the test did not run and pass"; exit 1; }

left=$(ls -A "$disk")
if [ "$left" != "满盘.bin" ]; then
  echo "FAIL: the disk holds something else than the file after the jobs:"
  ls -la "$disk"
  exit 1
fi
echo "the disk holds only the test's file"
