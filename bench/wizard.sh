#!/usr/bin/env bash
# The real wizard for scripts/bench, on net_bench's protocol: in a fresh prefix, its window
# is driven with the mouse up to the Install button of page 3; then it prints "ready",
# waits for a line, presses Install and, once the server has logged all four files,
# prints "done <seconds> <bytes> -1 complete 4" for the product file as the server timed
# it; it waits for a line and ends the wizard.
#   wizard.sh WIZARD_EXE TEMPLATE_PREFIX WORKDIR ACCESS_LOG
# The access log's lines are "$msec $request_time $body_bytes_sent $uri $status".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/e2e/lib.sh
source "$here/../tests/e2e/lib.sh"
exe=$1 template=$2 work=$3 log=$4
readonly WIZARD_TITLE='^(Installation de Quorvane|Quorvane installation)$'

wine_environment
wine_prefix_ensure "$template" || { echo "cannot set up the Wine prefix $template" >&2; exit 1; }
wine_prefix_fresh "$template" "$work/prefix" || exit 1
trap wine_stop_all EXIT
wizard_start "$exe" "$work/wine.log" en_US.UTF-8
window=$(wait_window "$WIZARD_TITLE" 60) || { echo "the wizard window did not appear" >&2; exit 1; }
wait_focus "$window" 10 || { echo "the wizard window did not take the keyboard" >&2; exit 1; }
# shellcheck disable=SC2086 # the points are "X Y"
for point in "$AT_ENGLISH" "$AT_NEXT" "$AT_AGREE" "$AT_NEXT"; do click_client "$window" $point; done

all_logged() { [ "$(grep -c ' /download/qventreprise/[^ ]* 200$' "$log")" -ge "${#SAMPLE_FILES[@]}" ]; }
echo ready
read -r _
# shellcheck disable=SC2086
click_client "$window" $AT_NEXT
wait_for 600 all_logged || { echo "the four files were not all served within 600 s" >&2; exit 1; }
awk '$4 == "/download/qventreprise/quorvane.exe" { print "done", $2, $3, -1, "complete", 4 }' "$log"
read -r _
