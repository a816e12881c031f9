#!/usr/bin/env bash
# The real wizard for scripts/bench, on net_bench's protocol: in a fresh prefix, its window
# is driven with the mouse up to the Install button of page 3, then, by MODE:
#   transfer (default): prints "ready", waits for a line, presses Install and, once the
#     server has logged all four files, prints "done <seconds> <bytes> -1 complete 4" for
#     the product file as the server timed it;
#   cancel: the same, but once a quarter of the product file is in the temporary folder
#     it presses Cancel and answers Yes; prints "done <seconds> <bytes> <ms> EAbortError 1"
#     with the milliseconds from the Yes key to the end of the request in the server's log
#     (-1 when the transfer was over before);
#   silent: presses Install at once, against a server that never answers, and once the
#     wizard waits prints "ready", waits for a line, lets 5 s pass and prints
#     "done 5 0 -1 silent 0";
# then it waits for a line and ends the wizard.
#   wizard.sh WIZARD_EXE TEMPLATE_PREFIX WORKDIR ACCESS_LOG [MODE]
# The access log's lines are "$msec $request_time $body_bytes_sent $uri $status".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/e2e/lib.sh
source "$here/../tests/e2e/lib.sh"
exe=$1 template=$2 work=$3 log=$4 mode=${5:-transfer}
readonly WIZARD_TITLE='^(Installation de Quorvane|Quorvane installation)$'
readonly CANCEL_BOX='^(Suspendre|Suspend)\?$'
readonly PRODUCT=/download/qventreprise/quorvane.exe

wine_environment
wine_prefix_ensure "$template" || { echo "cannot set up the Wine prefix $template" >&2; exit 1; }
wine_prefix_fresh "$template" "$work/prefix" || exit 1
trap wine_stop_all EXIT
wizard_start "$exe" "$work/wine.log" en_US.UTF-8
window=$(wait_window "$WIZARD_TITLE" 60) || { echo "the wizard window did not appear" >&2; exit 1; }
wait_focus "$window" 10 || { echo "the wizard window did not take the keyboard" >&2; exit 1; }
# shellcheck disable=SC2086 # the points are "X Y"
for point in "$AT_ENGLISH" "$AT_NEXT" "$AT_AGREE" "$AT_NEXT"; do click_client "$window" $point; done

# The log is shared with earlier runs: only the lines after this run's start count.
lines_before=$(wc -l <"$log")
new_lines() { tail -n +"$((lines_before + 1))" "$log"; }
product_logged() { new_lines | grep -q " $PRODUCT "; }
product_size() { local file; for file in "$work"/prefix/drive_c/users/*/Temp/quorvane.exe; do stat -c %s "$file" 2>/dev/null; done; }
a_quarter_in() { [ "$(product_size)" -ge $((32 << 20)) ] 2>/dev/null; }
product_line() { new_lines | awk -v uri="$PRODUCT" '$4 == uri'; }
# wait_all_logged SECONDS: true once the server has logged the four files. The lines are
# read as they come through one tail that sleeps until the log grows: polling would start
# processes on the cores that the measured wizard needs.
wait_all_logged() {
  local deadline=$((SECONDS + $1)) files=0 line tail_fd tail_pid
  exec {tail_fd}< <(exec tail -n +"$((lines_before + 1))" -f "$log")
  tail_pid=$!
  while [ "$files" -lt "${#SAMPLE_FILES[@]}" ] && [ "$SECONDS" -lt "$deadline" ]; do
    IFS= read -r -t "$((deadline - SECONDS))" line <&"$tail_fd" || break
    [[ $line =~ \ /download/qventreprise/[^\ ]*\ 200$ ]] && files=$((files + 1))
  done
  kill "$tail_pid" 2>/dev/null
  exec {tail_fd}<&-
  [ "$files" -ge "${#SAMPLE_FILES[@]}" ]
}

case $mode in
  transfer)
    echo ready
    read -r _
    # shellcheck disable=SC2086
    click_client "$window" $AT_NEXT
    wait_all_logged 600 || { echo "the four files were not all served within 600 s" >&2; exit 1; }
    product_line | awk '{ print "done", $2, $3, -1, "complete", 4 }'
    ;;
  cancel)
    echo ready
    read -r _
    # shellcheck disable=SC2086
    click_client "$window" $AT_NEXT
    wait_for 60 a_quarter_in || product_logged || { echo "the product file did not start" >&2; exit 1; }
    if product_logged; then
      product_line | awk '{ print "done", $2, $3, -1, "complete", 1 }'
    else
      # shellcheck disable=SC2086
      click_client "$window" $AT_CANCEL
      if ! box=$(wait_window "$CANCEL_BOX" 10) || ! wait_focus "$box" 10; then
        echo "no cancel question" >&2
        exit 1
      fi
      # An xdotool already connected takes the key: starting one would count its start-up.
      # It has answered a first command once it is connected.
      coproc KEYS { exec xdotool -; }
      echo getmouselocation >&"${KEYS[1]}"
      read -r -t 10 _ <&"${KEYS[0]}" || { echo "xdotool did not start" >&2; exit 1; }
      yes_at=$EPOCHREALTIME
      echo "key y" >&"${KEYS[1]}"
      # shellcheck disable=SC1083,SC2093 # closes the coprocess's input, as bash documents
      exec {KEYS[1]}>&-
      wait_for 30 product_logged || { echo "the product file's request did not end" >&2; exit 1; }
      product_line | awk -v yes="$yes_at" '{ printf "done %s %s %.2f EAbortError 1\n", $2, $3, ($1 - yes) * 1000 }'
    fi
    ;;
  silent)
    # shellcheck disable=SC2086
    click_client "$window" $AT_NEXT
    sleep 2  # connected and sent; from now on the wizard only waits
    echo ready
    read -r _
    sleep 5
    echo "done 5 0 -1 silent 0"
    ;;
  *)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac
read -r _
