#!/usr/bin/env bash
# Runs the link writer under Wine into a folder of the prefix, then reads each link with
# the host's lnkinfo. Usage: lnkinfo_check.sh WRITER.exe WINE-RUN PREFIX
set -eu
writer=$1 wine_run=$2 prefix=$3
check=$(dirname "$0")/../../../scripts/lib/lnkinfo-check
folder=$prefix/drive_c/quorvane-lnkinfo
rm -rf "$folder"; mkdir -p "$folder"
"$wine_run" "$prefix" "$writer" 'C:\quorvane-lnkinfo'

dir='C:\Program Files\Quorvane\Entreprise\'
failed=0
"$check" "$folder/Quorvane.Lnk" "${dir}quorvane.exe" "$dir" || failed=1
"$check" "$folder/Désinstaller.Lnk" "${dir}uninstall.exe" "$dir" || failed=1
exit $failed
