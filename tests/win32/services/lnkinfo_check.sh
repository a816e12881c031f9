#!/usr/bin/env bash
# Runs the link writer under Wine into a folder of the prefix, then reads each link with
# the host's lnkinfo. Usage: lnkinfo_check.sh WRITER.exe WINE-RUN PREFIX
set -eu
writer=$1 wine_run=$2 prefix=$3
folder=$prefix/drive_c/quorvane-lnkinfo
rm -rf "$folder"; mkdir -p "$folder"
"$wine_run" "$prefix" "$writer" 'C:\quorvane-lnkinfo'

failed=0
check() {  # check LINK-FILE FIELD EXPECTED
  local value
  value=$(lnkinfo "$folder/$1" | sed -n "s/^[[:space:]]*$2[[:space:]]*: //p" | head -n1)
  if [ "$value" = "$3" ]; then echo "ok: $1 $2"; else echo "FAILED: $1 $2 is '$value', expected '$3'"; failed=1; fi
}
dir='C:\Program Files\Quorvane\Entreprise\'
check Quorvane.Lnk 'Local path' "${dir}quorvane.exe"
check Quorvane.Lnk 'Working directory' "$dir"
check 'Désinstaller.Lnk' 'Local path' "${dir}uninstall.exe"
check 'Désinstaller.Lnk' 'Working directory' "$dir"
check Quorvane.Lnk 'Command line arguments' ''
exit $failed
