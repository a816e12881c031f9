#!/usr/bin/env bash
# Reads every link the Wine placement test made back with lnkinfo and compares target,
# working directory and arguments with what the test expected. Each line of
# C:\quorvane-placement-links.txt is "link|target|working directory".
# Usage: lnkinfo_check.sh <prefix>/drive_c
set -u
drive_c=$1
check=$(dirname "$0")/../../../scripts/lib/lnkinfo-check
list=$drive_c/quorvane-placement-links.txt
[ -f "$list" ] || { echo "missing $list"; exit 1; }

count=0 failures=0
while IFS='|' read -r link target directory; do
  [ -n "$link" ] || continue
  count=$((count + 1))
  # C:\x\y.Lnk lives at <drive_c>/x/y.Lnk
  relative=${link:3}
  "$check" --ignore-case "$drive_c/${relative//\\//}" "$target" "$directory" || failures=$((failures + 1))
done < <(tr -d '\r' <"$list")

[ "$count" -eq 4 ] || { echo "expected 4 links in the list, found $count"; exit 1; }
[ "$failures" -eq 0 ] || { echo "$failures of $count links differ"; exit 1; }
echo "$count links read back with lnkinfo"
