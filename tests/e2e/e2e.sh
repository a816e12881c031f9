#!/usr/bin/env bash
# End-to-end scenarios: the real wizard under Wine, driven by mouse and keyboard through
# the X server, against nginx on loopback. Each scenario gets a fresh Wine prefix and its
# own web server, and stops by itself: every wait is bounded.
#
#   e2e.sh WIZARD_EXE SAMPLE_DIR PORT WORKDIR SCENARIO...
#
# Prints PASS or FAIL per scenario, then "N passed, N failed"; exits non-zero on a failure.
# The scenarios run on $DISPLAY, or on a private Xvfb when there is none or when
# QUORVANE_E2E_PRIVATE_DISPLAY is set.
# Screenshots of failed scenarios are saved under WORKDIR/screenshots.
set -uo pipefail

if [ "$#" -lt 5 ]; then
  echo "usage: $0 WIZARD_EXE SAMPLE_DIR PORT WORKDIR SCENARIO..." >&2
  exit 2
fi

here=$(cd "$(dirname "$0")" && pwd)
readonly LNKINFO_CHECK=$here/../../scripts/lib/lnkinfo-check
# shellcheck source=tests/e2e/lib.sh
source "$here/lib.sh"
# shellcheck source=tests/e2e/safety.sh
source "$here/safety.sh"
# shellcheck source=tests/e2e/unicode.sh
source "$here/unicode.sh"

wizard_exe=$(realpath "$1") samples=$(realpath "$2") port=$3
mkdir -p "$4" && work=$(realpath "$4")
shift 4

readonly WIZARD_TITLE='^(Installation de Quorvane|Quorvane installation)$'
readonly ERROR_BOX='^Installation$'
readonly CANCEL_BOX='^(Suspendre|Suspend)\?$'
readonly CLIENT_TITLE='^Quorvane \(sample client\)$'
readonly PRODUCT_KEY='HKLM\Software\Quorvane\Quorvane\entreprise'
readonly UNINSTALL_KEY='HKLM\SoftWare\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane '
readonly RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
readonly SLOW_RATE=256k               # with the padded client, about 12 s for the first file

# ---- scenario state and checks -----------------------------------------------------

fail() {
  FAILURES+=("$*")
  echo "    failed: $*"
}

expect_eq() {  # DESCRIPTION ACTUAL EXPECTED
  [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
}

# reg_value KEY NAME: the data of a registry value; fails when the value is absent.
reg_value() {
  local out
  out=$(wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r') || return 1
  printf '%s\n' "$out" | sed -n "s/^    $2    REG_[A-Z_]*    //p"
}

expect_reg() {  # KEY NAME EXPECTED
  local value
  if value=$(reg_value "$1" "$2"); then expect_eq "$1 [$2]" "$value" "$3"; else fail "$1 [$2] is missing"; fi
}

expect_no_reg() {  # KEY [NAME]
  if [ "$#" -eq 2 ]; then
    wine reg query "$1" /v "$2" >/dev/null 2>&1 && fail "$1 [$2] exists: '$(reg_value "$1" "$2")'"
  else
    wine reg query "$1" >/dev/null 2>&1 && fail "registry key $1 exists"
  fi
  return 0
}

# ini_value FILE SECTION KEY
ini_value() {
  tr -d '\r' <"$1" | awk -v section="[$2]" -v key="$3" '
    /^\[/ { inside = ($0 == section); next }
    inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}

expect_link() {  # LINK TARGET WORKDIR
  if [ ! -f "$1" ]; then fail "shortcut missing: $1"; return; fi
  local report
  report=$("$LNKINFO_CHECK" "$1" "$2" "$3") || fail "$report"
}

# The names an installation uses in each language.
language_names() {  # francais|anglais
  if [ "$1" = francais ]; then
    GROUP=Entreprise DESKTOP_LINK="Quorvane Entreprise.Lnk" EDITION="Version Entreprise"
  else
    GROUP=Enterprise DESKTOP_LINK="Quorvane Enterprise.Lnk" EDITION="Enterprise version"
  fi
}

# The directory with one trailing backslash, as the wizard joins it with file names.
with_backslash() { if [ "${1: -1}" = '\' ]; then printf '%s' "$1"; else printf '%s\\' "$1"; fi; }

desktop_dir() { printf '%s/Desktop' "$(wine_profile_dir)"; }
programs_dir() { printf '%s/AppData/Roaming/Microsoft/Windows/Start Menu/Programs' "$(wine_profile_dir)"; }
temp_dir() { printf '%s/Temp' "$(wine_profile_dir)"; }

# expect_installed LANGUAGE TYPED_DIR: the files, shortcuts and registry values an
# installation into the directory as typed leaves behind (the close-time entries apart).
expect_installed() {
  local language=$1 typed=$2 dir name
  language_names "$language"
  dir=$(with_backslash "$typed")
  for name in "${SAMPLE_FILES[@]}"; do
    cmp -s "$www/download/qventreprise/$name" "$(unix_path "$dir$name")" ||
      fail "$dir$name differs from the served file or is missing"
  done
  local group
  group="$(programs_dir)/Quorvane/$GROUP"
  expect_eq "files in the program group" "$(ls "$group" 2>/dev/null | wc -l)" 3
  expect_link "$group/Quorvane.Lnk" "${dir}quorvane.exe" "$dir"
  expect_link "$group/miseajour.Lnk" "${dir}miseajour.exe" "$dir"
  expect_link "$group/uninstall.Lnk" "${dir}uninstall.exe" "$dir"
  expect_link "$(desktop_dir)/$DESKTOP_LINK" "${dir}quorvane.exe" "$dir"
  expect_reg "$PRODUCT_KEY" Language "$language"
  expect_reg "$PRODUCT_KEY" emplacement "$typed"
  expect_reg "$UNINSTALL_KEY$EDITION" DisplayName "Quorvane $EDITION"
  expect_reg "$UNINSTALL_KEY$EDITION" UninstallString "\"${dir}Uninstall.exe\""
}

# expect_nothing_installed TYPED_DIR: no product file, shortcut, install path, uninstall
# entry, INI entry or Run entry.
expect_nothing_installed() {
  local dir name
  dir=$(with_backslash "$1")
  for name in "${SAMPLE_FILES[@]}"; do
    [ -e "$(unix_path "$dir$name")" ] && fail "$dir$name was installed"
  done
  [ -e "$(programs_dir)/Quorvane" ] && fail "the program group was created"
  compgen -G "$(desktop_dir)/Quorvane*" >/dev/null && fail "a desktop shortcut was created"
  expect_no_reg "$PRODUCT_KEY" emplacement
  expect_no_reg "$UNINSTALL_KEY$EDITION"
  expect_no_reg "$RUN_KEY" QuorvaneEntreprise
  [ -e "$WINEPREFIX/drive_c/windows/Quorvane_e.ini" ] && fail "Quorvane_e.ini was written"
  return 0
}

expect_close_entries() {  # LANGUAGE TYPED_DIR RUN(yes|no)
  local dir ini=$WINEPREFIX/drive_c/windows/Quorvane_e.ini
  dir=$(with_backslash "$2")
  if [ -f "$ini" ]; then expect_eq "Quorvane_e.ini [Settings] langue" "$(ini_value "$ini" Settings langue)" "$1"
  else fail "Quorvane_e.ini is missing"; fi
  if [ "$3" = yes ]; then expect_reg "$RUN_KEY" QuorvaneEntreprise "\"${dir}Quorvane.exe\""
  else expect_no_reg "$RUN_KEY" QuorvaneEntreprise; fi
}

# requested NAME: how many times the web server was asked for the file.
requested() { grep -c "GET /download/qventreprise/$1 " "$web/access.log"; }

# ---- driving the wizard ------------------------------------------------------------

# serve [SERVED_NAME...] [-- RATE]: serves the sample files (all, or the names given),
# each connection throttled to RATE when one is given.
serve() {
  local rate=0 names=()
  while [ "$#" -gt 0 ]; do
    [ "$1" = -- ] && { rate=$2; break; }
    names+=("$1"); shift
  done
  stage_files "$samples" "$www" "${names[@]}" || { fail "cannot stage the sample files"; return 1; }
  [ "$rate" = 0 ] || pad_client "$www/download/qventreprise/quorvane.exe"
  nginx_start "$www" "$port" "$web" "$rate" || { fail "nginx did not start"; return 1; }
}

# record_session: the Wine processes and the X windows of the moment, into the scenario's
# directory, for a failure that the log alone does not explain (Wine stays quiet here).
record_session() {
  { ps -o pid,stat,etime,time,args -p "$(pgrep -d, -f 'wine|[.]exe')"; echo; xwininfo -root -tree; } \
    >"$scenario_dir/session.txt" 2>&1
}

# launch LOCALE: starts the wizard in that locale and waits for its window (WINDOW).
launch() {
  # Wine's own buttons follow the locale: Oui/Non in French.
  if [ "${1%%_*}" = fr ]; then YES_KEY=o; else YES_KEY=y; fi
  wizard_start "$wizard_exe" "$scenario_dir/wine.log" "$1"
  if ! WINDOW=$(wait_window "$WIZARD_TITLE" 60); then
    record_session
    fail "the wizard window did not appear (processes and windows: $scenario_dir/session.txt)"
    return 1
  fi
  wait_focus "$WINDOW" 10 || fail "the wizard window did not take the keyboard"
}

# start_wizard LOCALE [serve's arguments]
start_wizard() {
  local locale=$1; shift
  serve "$@" && launch "$locale"
}

# A slow download needs a large file: the sample client with 3 MB appended still runs.
pad_client() {
  head -c 3145728 /dev/zero >>"$1"
}

click() { click_client "$WINDOW" "$@"; }

# type_directory TEXT: replaces the text of the directory box on page 3.
type_directory() {
  click $AT_DIRECTORY
  xdotool key End shift+Home BackSpace
  keys_for_letters "$1"
  xdotool type --delay 20 "$1"
}

# From page 1: the language, the agreement, the directory (typed unless empty), Install.
drive_to_download() {  # LANGUAGE_POINT(x y) DIRECTORY
  click $1
  click $AT_NEXT      # page 2
  click $AT_AGREE
  click $AT_NEXT      # page 3
  [ -z "$2" ] || type_directory "$2"
  click $AT_NEXT      # Install: page 4
}

# wait_placed LANGUAGE SECONDS: the uninstall entry is the last thing placed; the same
# handler then shows page 5 before it reads any further input.
wait_placed() {
  language_names "$1"
  local deadline=$((SECONDS + $2))
  while [ "$SECONDS" -lt "$deadline" ]; do
    reg_value "$UNINSTALL_KEY$EDITION" UninstallString >/dev/null && return 0
    kill -0 "$WIZARD_PID" 2>/dev/null || break
    sleep 0.3
  done
  fail "the installation did not finish within $2 s"
  return 1
}

# wait_downloading SECONDS: the first file has begun to arrive in the temporary folder.
wait_downloading() {
  wait_for "$1" test -s "$(temp_dir)/quorvane.exe" && return 0
  fail "the download did not start within $1 s"
  return 1
}

# expect_exit SECONDS: the wizard ends by itself and shows no error box on the way (one
# that appears is recorded and answered, so that the wizard can still end).
expect_exit() {
  local tenths=$(($1 * 10)) _
  for _ in $(seq "$tenths"); do
    kill -0 "$WIZARD_PID" 2>/dev/null || { wait "$WIZARD_PID" 2>/dev/null; return 0; }
    if [ -n "$(find_window "$ERROR_BOX")" ]; then
      screenshot "$work/screenshots/$scenario-error-box.png"
      fail "an error box appeared (see $work/screenshots/$scenario-error-box.png)"
      answer_box "$ERROR_BOX" Return 1
    fi
    sleep 0.1
  done
  fail "the wizard did not end within $1 s"
}

expect_running() {
  kill -0 "$WIZARD_PID" 2>/dev/null && [ -n "$(find_window "$WIZARD_TITLE")" ] ||
    fail "the wizard is no longer running"
}

# Page 4 is the one page with something blue at the left end of the progress bar: the
# bar's own colour, or the theme's where a theme draws the bar.
on_download_page() {
  local red blue
  COLOUR=$(client_pixel "$WINDOW" 17 188)
  [[ $COLOUR =~ ^#[0-9A-Fa-f]{6}$ ]] || return 1
  red=$((16#${COLOUR:1:2})) blue=$((16#${COLOUR:5:2}))
  [ "$blue" -ge 200 ] && [ "$red" -le 100 ]
}

# expect_on_download_page SECONDS: page 4 is drawn within the time (a box just closed
# over it may not be repainted yet).
expect_on_download_page() {
  wait_for "$1" on_download_page ||
    fail "page 4 is not shown: colour '$COLOUR' at the left end of the progress bar"
}

# Cancel answered Yes may end in the error box with the transfer's abort text.
dismiss_error_box_if_any() {
  answer_box "$ERROR_BOX" Return 5 || true
}

# ---- scenarios ---------------------------------------------------------------------

# French chosen with its radio button in an English session, a typed directory with
# spaces and without a trailing backslash, both boxes of page 5 left checked: Done
# writes the INI and Run entries and starts the installed sample client.
scenario_french() {
  local dir='C:\Quorvane Test\Entreprise FR'
  start_wizard en_US.UTF-8 || return
  drive_to_download "$AT_FRENCH" "$dir"
  wait_placed francais 60 || return
  click $AT_NEXT      # Done
  expect_exit 30
  expect_installed francais "$dir"
  expect_close_entries francais "$dir" yes
  wait_window "$CLIENT_TITLE" 30 >/dev/null || fail "the installed sample client did not start"
}

# English chosen in a French session after going back and forth: page 2 stores French,
# Back, English, Next stores English; from page 3 Back takes the agreement away again.
# The default directory; both boxes of page 5 cleared: only the INI entry is written.
scenario_english() {
  local dir='C:\Program Files\Quorvane\Enterprise\'
  start_wizard fr_FR.UTF-8 || return
  click $AT_NEXT      # page 2, stores francais
  click $AT_BACK      # page 1
  drive_to_download_with_return_to_agreement
  wait_placed anglais 60 || return
  click $AT_START_NOW
  click $AT_AUTO_START
  click $AT_NEXT      # Done
  expect_exit 30
  expect_installed anglais "$dir"
  expect_close_entries anglais "$dir" no
  # The wizard has ended: a client it started would be running by now.
  ! prefix_runs quorvane.exe || fail "the sample client started with its box cleared"
}

drive_to_download_with_return_to_agreement() {
  click $AT_ENGLISH
  click $AT_NEXT      # page 2, stores anglais
  click $AT_AGREE
  click $AT_NEXT      # page 3
  click $AT_BACK      # page 2, "I disagree" checked again
  click $AT_NEXT      # disabled: stays on page 2
  click $AT_AGREE
  click $AT_NEXT      # page 3
  click $AT_NEXT      # Install
}

# An older copy in the chosen directory: the overwrite question answered No keeps page 3
# and fetches nothing; Install again, Yes, and all four files are replaced.
scenario_overwrite() {
  local dir='C:\Quorvane Again' older
  start_wizard en_US.UTF-8 || return
  older=$(unix_path "$dir")
  mkdir -p "$older" && echo "older copy" >"$older/quorvane.exe" && echo "older copy" >"$older/miseajour.exe"
  click $AT_ENGLISH
  click $AT_NEXT      # page 2
  click $AT_AGREE
  click $AT_NEXT      # page 3
  type_directory "$dir"
  click $AT_NEXT      # Install
  answer_box '^Directory not empty$' n 10 || fail "no overwrite question"
  click $AT_NEXT      # Install, still on page 3
  # The second question shows that the handler which heard No has returned.
  wait_window '^Directory not empty$' 10 >/dev/null || fail "no overwrite question the second time"
  expect_eq "requests after No" "$(grep -c ' /download/' "$web/access.log")" 0
  expect_eq "the older copy after No" "$(cat "$older/quorvane.exe")" "older copy"
  answer_box '^Directory not empty$' "$YES_KEY" 10 || fail "cannot answer the second overwrite question"
  wait_placed anglais 60 || return
  click $AT_START_NOW
  click $AT_NEXT      # Done
  expect_exit 30
  expect_installed anglais "$dir"
  expect_close_entries anglais "$dir" yes
}

# The session's language picks the wizard's: page 2, reached with Enter on the default
# button, stores it. Cancel then ends the wizard before any download, without a request
# to the server.
scenario_locale() {  # LOCALE LANGUAGE
  start_wizard "$1" || return
  xdotool key Return  # page 2
  click $AT_CANCEL
  answer_box "$CANCEL_BOX" "$YES_KEY" 10 || fail "no cancel question"
  expect_exit 20
  expect_reg "$PRODUCT_KEY" Language "$2"
  language_names "$2"
  expect_nothing_installed 'C:\Program Files\Quorvane\'"$GROUP"'\'
  expect_eq "requests to the server" "$(grep -c ' /download/' "$web/access.log")" 0
}
scenario_locale_fr() { scenario_locale fr_FR.UTF-8 francais; }
scenario_locale_en() { scenario_locale en_US.UTF-8 anglais; }

# The server lacks the third file: the error box, nothing placed, no fourth request, and
# the wizard stays on page 4 where only Cancel still works.
scenario_not_found() {
  local dir='C:\Quorvane 404'
  start_wizard en_US.UTF-8 quorvane.exe quorvane.ini uninstall.exe || return
  language_names anglais
  drive_to_download "$AT_ENGLISH" "$dir"
  if wait_window "$ERROR_BOX" 60 >/dev/null; then
    screenshot "$work/screenshots/not_found-error-box.png"
    answer_box "$ERROR_BOX" Return 10 || fail "cannot answer the error box"
  else
    fail "no error box for the missing file"
  fi
  expect_running
  expect_on_download_page 10
  click $AT_NEXT      # disabled on page 4
  click $AT_CANCEL
  # The question shows that the click on Next before it has been handled.
  wait_window "$CANCEL_BOX" 10 >/dev/null || fail "no cancel question"
  expect_on_download_page 10
  expect_eq "requests for miseajour.exe" "$(requested miseajour.exe)" 1
  expect_eq "requests for uninstall.exe" "$(requested uninstall.exe)" 0
  expect_nothing_installed "$dir"
  answer_box "$CANCEL_BOX" "$YES_KEY" 10 || fail "cannot answer the cancel question"
  expect_exit 20
  expect_nothing_installed "$dir"
}

# No server at all: the refused connection ends in the error box, and the wizard stays on
# page 4 with nothing placed until Cancel ends it.
scenario_no_server() {
  local dir='C:\Quorvane Offline'
  if curl -s -o /dev/null "http://127.0.0.1:$port/"; then fail "port $port is taken by another server"; return; fi
  launch en_US.UTF-8 || return
  language_names anglais
  drive_to_download "$AT_ENGLISH" "$dir"
  answer_box "$ERROR_BOX" Return 60 || fail "no error box for the refused connection"
  expect_running
  expect_nothing_installed "$dir"
  click $AT_CANCEL
  answer_box "$CANCEL_BOX" "$YES_KEY" 10 || fail "no cancel question"
  expect_exit 20
  expect_nothing_installed "$dir"
}

# Cancel answered Yes while the first file arrives slowly: the program ends, nothing is
# placed and no other file is asked for.
scenario_cancel_yes() {
  local dir='C:\Quorvane Cancel'
  start_wizard en_US.UTF-8 -- "$SLOW_RATE" || return
  language_names anglais
  drive_to_download "$AT_ENGLISH" "$dir"
  wait_downloading 30 || return
  click $AT_CANCEL
  answer_box "$CANCEL_BOX" "$YES_KEY" 10 || fail "no cancel question"
  dismiss_error_box_if_any
  expect_exit 20
  expect_nothing_installed "$dir"
  expect_eq "requests for quorvane.ini" "$(requested quorvane.ini)" 0
}

# Cancel answered No: the download goes on and the installation completes.
scenario_cancel_no() {
  local dir='C:\Quorvane Cancel No'
  start_wizard en_US.UTF-8 -- "$SLOW_RATE" || return
  drive_to_download "$AT_ENGLISH" "$dir"
  wait_downloading 30 || return
  click $AT_CANCEL
  answer_box "$CANCEL_BOX" n 10 || fail "no cancel question"
  expect_running
  wait_placed anglais 90 || return
  click $AT_NEXT      # Done
  expect_exit 30
  expect_installed anglais "$dir"
  expect_close_entries anglais "$dir" yes
}

# The close box during the download stops nothing: the files are fetched and placed, but
# the close has already run, so no INI or Run entry and no launch; the program then ends.
scenario_close_box() {
  local dir='C:\Quorvane Close'
  start_wizard en_US.UTF-8 -- "$SLOW_RATE" || return
  drive_to_download "$AT_ENGLISH" "$dir"
  wait_downloading 30 || return
  click_close_box "$WINDOW"
  expect_exit 90
  expect_installed anglais "$dir"
  [ -e "$WINEPREFIX/drive_c/windows/Quorvane_e.ini" ] && fail "Quorvane_e.ini was written"
  expect_no_reg "$RUN_KEY" QuorvaneEntreprise
  ! prefix_runs quorvane.exe || fail "the sample client was started"
}

# The keyboard alone, no mouse event at all, in an English session: Tab reaches the
# checked language, Up checks French; Enter; Tab reaches "I disagree", Left checks "I
# agree"; Enter; Tab to the directory box, typed over its selection, Enter installs. On
# page 5 Space clears the automatic start and Enter (on a check box) presses Done.
scenario_keyboard() {
  local dir='C:\Quorvane Clavier\Entreprise'
  press() { xdotool key --delay 150 "$@"; sleep 0.5; }
  start_wizard en_US.UTF-8 || return
  press Tab Up        # Back is disabled: the checked language, then French
  press Return        # page 2, stores francais
  press Tab Left      # "Je refuse", then "J'accepte"
  press Return        # page 3
  press Tab Tab Tab   # Next, Back, the directory box with its text selected
  xdotool type --delay 20 "$dir"
  sleep 0.3
  press Return        # Install: page 4
  wait_placed francais 60 || return
  press Tab Tab Tab space  # Done, start now, automatic start cleared
  press Return        # Done
  expect_exit 30
  expect_installed francais "$dir"
  expect_close_entries francais "$dir" no
  wait_window "$CLIENT_TITLE" 30 >/dev/null || fail "the installed sample client did not start"
}

# ---- runner ------------------------------------------------------------------------

run_scenario() {
  local name=$1 started=$SECONDS
  scenario=$name scenario_dir=$work/$name www=$work/$name/www web=$work/$name/web
  FAILURES=()
  rm -rf "$scenario_dir" && mkdir -p "$scenario_dir"
  # A relative path typed into the wizard lands here, not in the caller's directory.
  cd "$scenario_dir" || return
  echo "--- $name"
  if wine_prefix_fresh "$work/prefix-template" "$scenario_dir/prefix"; then
    "scenario_$name"
  else
    fail "cannot copy the Wine prefix"
  fi
  if [ "${#FAILURES[@]}" -gt 0 ]; then screenshot "$work/screenshots/$name.png"; fi
  wine_stop_all
  nginx_stop
  if [ "${#FAILURES[@]}" -eq 0 ]; then
    passed=$((passed + 1))
    rm -rf "$scenario_dir/prefix"
    echo "PASS $name ($((SECONDS - started)) s)"
  else
    failed=$((failed + 1))
    echo "FAIL $name ($((SECONDS - started)) s): screenshot $work/screenshots/$name.png, prefix $scenario_dir/prefix"
  fi
}

wine_environment
started=$SECONDS
# Lists of scenarios run side by side each need a screen, mouse and keyboard of their own.
[ -z "${QUORVANE_E2E_PRIVATE_DISPLAY:-}" ] || unset DISPLAY
display_ensure || exit 1
# A scenario cut short (an unset variable under set -u) leaves nothing running.
trap 'wine_stop_all; nginx_stop; display_stop' EXIT
if ! port_lock "$port" 1200; then
  echo "port $port stayed in use by another run for 20 minutes"
  exit 1
fi
echo "Preparing the Wine prefix template..."
wine_prefix_ensure "$work/prefix-template" || { echo "cannot create the Wine prefix"; exit 1; }

passed=0 failed=0
for scenario in "$@"; do
  if declare -F "scenario_$scenario" >/dev/null; then
    run_scenario "$scenario"
  else
    echo "FAIL $scenario: no such scenario"
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed ($((SECONDS - started)) s)"
[ "$failed" -eq 0 ]
