# shellcheck shell=bash
# Helpers shared by the end-to-end scenarios and scripts/run and scripts/screenshots: a
# private web server on loopback, the wizard and its windows, real mouse and keyboard input
# through the X server, and waits for the states the scenarios need. Source it; it sets no
# shell options of its own. The display and the Wine prefixes come from wine-env.sh.

# shellcheck source=scripts/lib/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/wine-env.sh"

# The wizard's client area; every coordinate handed to click_client is relative to it.
readonly WIZARD_CLIENT_WIDTH=424
readonly WIZARD_CLIENT_HEIGHT=367
readonly SAMPLE_FILES=(quorvane.exe quorvane.ini miseajour.exe uninstall.exe)

# Points inside the controls the scenarios press, in client coordinates (the bottom bar
# starts at y 337; the buttons are 93 x 22 at y 5 within it).
readonly AT_BACK="142 353" AT_NEXT="246 353" AT_CANCEL="363 353"
readonly AT_FRENCH="47 184" AT_ENGLISH="47 208"       # page 1
readonly AT_AGREE="133 312"                           # page 2
readonly AT_DIRECTORY="200 106"                       # page 3, TxtDir
readonly AT_START_NOW="55 168" AT_AUTO_START="55 192" # page 5

# stage_files SAMPLE_DIR ROOT [NAME...]: copies the sample files (all four, or the names
# given) to ROOT/download/qventreprise/, the path the wizard asks for.
stage_files() {
  local samples=$1 root=$2; shift 2
  local names=("$@")
  [ "${#names[@]}" -gt 0 ] || names=("${SAMPLE_FILES[@]}")
  mkdir -p "$root/download/qventreprise"
  local name
  for name in "${names[@]}"; do cp "$samples/$name" "$root/download/qventreprise/$name" || return 1; done
}

# port_lock PORT [SECONDS]: takes the machine-wide lock of the loopback port on file
# descriptor 8, held until the shell ends (the servers started here do not inherit it),
# so that two runs on one machine, the tests and scripts/run or two clones, take turns
# instead of answering each other's wizard. Waits up to SECONDS (default: not at all).
port_lock() {
  exec 8>"${TMPDIR:-/tmp}/quorvane-loopback-$1.lock"
  flock -w "${2:-0}" 8
}

# nginx_start ROOT PORT WORKDIR [RATE]: serves ROOT on 127.0.0.1:PORT with its own
# configuration, pid, logs and temp folders under WORKDIR; RATE (e.g. 256k) throttles
# each connection. A single process, neither daemon nor master, so NGINX_PID is the
# server itself and no worker switches to another user. Returns once it answers.
nginx_start() {
  local root=$1 port=$2 dir=$3 rate=${4:-0}
  mkdir -p "$dir/tmp"
  cat >"$dir/nginx.conf" <<EOF
daemon off;
master_process off;
pid $dir/nginx.pid;
error_log $dir/error.log;
events { worker_connections 64; }
http {
  access_log $dir/access.log;
  client_body_temp_path $dir/tmp/body;
  proxy_temp_path $dir/tmp/proxy;
  fastcgi_temp_path $dir/tmp/fastcgi;
  uwsgi_temp_path $dir/tmp/uwsgi;
  scgi_temp_path $dir/tmp/scgi;
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:$port;
    root $root;
    location / { limit_rate $rate; }
  }
}
EOF
  if curl -s -o /dev/null "http://127.0.0.1:$port/"; then
    echo "port $port is taken by another server" >&2
    return 1
  fi
  nginx -e "$dir/error.log" -p "$dir" -c "$dir/nginx.conf" 8>&- &
  NGINX_PID=$!
  local _
  for _ in $(seq 50); do
    curl -s -o /dev/null "http://127.0.0.1:$port/" && return 0
    kill -0 "$NGINX_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "nginx did not start on port $port:" >&2
  cat "$dir/error.log" >&2
  nginx_stop
  return 1
}

nginx_stop() {
  stop_started "${NGINX_PID:-}"
  NGINX_PID=
}

# wine_prefix_fresh TEMPLATE DIR: a copy of the template in DIR, made the current prefix.
wine_prefix_fresh() {
  local template=$1 prefix=$2
  rm -rf "$prefix" && cp -a "$template" "$prefix" || return 1
  export WINEPREFIX=$prefix
}

# The Unix path of a Windows path in the current prefix (drive C only).
unix_path() {
  local path=${1//\\//}
  printf '%s/drive_c/%s' "$WINEPREFIX" "${path#[Cc]:/}"
}

# The prefix's user profile folder (drive_c/users/<name>).
wine_profile_dir() {
  local dir
  for dir in "$WINEPREFIX"/drive_c/users/*; do
    [ "$(basename "$dir")" = Public ] || { printf '%s' "$dir"; return 0; }
  done
  return 1
}

# wizard_start EXE [LOG [LOCALE]]: starts the wizard in the current prefix, in the given
# locale (e.g. fr_FR.UTF-8) or the session's; sets WIZARD_PID.
wizard_start() {
  local locale_env=()
  [ -z "${3:-}" ] || locale_env=(LANG="$3" LC_ALL="$3")
  env "${locale_env[@]}" wine "$1" >>"${2:-/dev/null}" 2>&1 8>&- &
  WIZARD_PID=$!
}

# wait_for SECONDS COMMAND...: true as soon as COMMAND succeeds (tried every tenth of a
# second), false when the time runs out first.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

running() { kill -0 "$1" 2>/dev/null; }
ended() { ! running "$1"; }

# wait_exit PID SECONDS: true when the process ended within the time.
wait_exit() {
  wait_for "$2" ended "$1" || return 1
  wait "$1" 2>/dev/null
  return 0
}

# find_window REGEX: the id of a visible window whose title matches, or nothing.
find_window() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

window_shown() { [ -n "$(find_window "$1")" ]; }
window_gone() { ! window_shown "$1"; }

# wait_window REGEX SECONDS: prints the id of the first visible window whose title matches.
wait_window() {
  wait_for "$2" window_shown "$1" || return 1
  find_window "$1"
}

# wait_gone REGEX SECONDS: true once no visible window's title matches.
wait_gone() { wait_for "$2" window_gone "$1"; }

has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# wait_focus WINDOW SECONDS: true once the window holds the keyboard, so that the keys
# sent next reach it.
wait_focus() { wait_for "$2" has_focus "$1"; }

# window_image WINDOW FILE: the window as it is on screen now, as PNG.
window_image() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -define png:exclude-chunks=date,time "png:$2" 2>/dev/null
}

# still_since WINDOW FILE: takes a new image of the window; true when it equals the one in
# FILE, which it then replaces.
still_since() {
  window_image "$1" "$2.next" || return 1
  if cmp -s "$2" "$2.next"; then rm -f "$2.next"; return 0; fi
  mv "$2.next" "$2"
  return 1
}

# wait_still WINDOW FILE SECONDS [BEFORE]: waits until the window is drawn, two images a
# tenth of a second apart being equal (and both unlike the image BEFORE, when given), and
# leaves the last one in FILE.
wait_still() {
  local window=$1 file=$2 seconds=$3 before=${4:-}
  rm -f "$file"
  wait_for "$seconds" drawn_since "$window" "$file" "$before"
}

drawn_since() {  # WINDOW FILE BEFORE
  still_since "$1" "$2" || return 1
  [ -z "$3" ] || ! cmp -s "$2" "$3" || { rm -f "$2"; return 1; }
}

# prefix_runs NAME: true when a process of the current prefix runs the program NAME.
prefix_runs() {
  local environ
  for environ in /proc/[0-9]*/environ; do
    tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    tr '\0' ' ' 2>/dev/null <"${environ%/environ}/cmdline" | grep -qiF "$1" && return 0
  done
  return 1
}

# client_origin WINDOW: sets CLIENT_X and CLIENT_Y, the screen position of the wizard's
# client area, and FRAME_X, FRAME_Y, FRAME_WIDTH, FRAME_BORDER. The X window is the client
# area itself when a window manager draws the frame, the whole frame when Wine draws it;
# either way the frame has equal borders left, right and below, and the caption above.
client_origin() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  FRAME_X=$X FRAME_Y=$Y FRAME_WIDTH=$WIDTH
  FRAME_BORDER=$(((WIDTH - WIZARD_CLIENT_WIDTH) / 2))
  CLIENT_X=$((X + FRAME_BORDER))
  CLIENT_Y=$((Y + HEIGHT - WIZARD_CLIENT_HEIGHT - FRAME_BORDER))
}

# client_pixel WINDOW X Y: the colour (#RRGGBB) on screen at client coordinates.
client_pixel() {
  client_origin "$1"
  import -window root -crop "1x1+$((CLIENT_X + $2))+$((CLIENT_Y + $3))" -depth 8 txt:- 2>/dev/null |
    grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}

# click_client WINDOW X Y: a real left click at client coordinates of the wizard. Input
# reaches the wizard in the order sent, so the next click or key needs no pause; a check
# of what the click did waits for that state itself.
click_client() {
  client_origin "$1"
  local x=$((CLIENT_X + $2)) y=$((CLIENT_Y + $3)) X Y SCREEN WINDOW move=()
  eval "$(xdotool getmouselocation --shell)"
  # A pointer already there does not move, and --sync would wait out its 15 s time-out.
  [ "$X $Y" = "$x $y" ] || move=(mousemove --sync "$x" "$y")
  xdotool "${move[@]}" click 1
}

# answer_box REGEX KEYS... SECONDS: waits for a message box to hold the keyboard, presses
# the keys (an access key, Return) and waits for the box to close.
answer_box() {
  local regex=$1
  shift
  local seconds=${*: -1} keys=("${@:1:$#-1}") box
  box=$(wait_window "$regex" "$seconds") || return 1
  # With no window manager, Wine sets the X focus itself, with a time stamp of its own that
  # the X server refuses when it is older than the last focus change; Wine does not ask
  # again, so the box keeps looking active without the keyboard. Give it the focus the way
  # a window manager would.
  if ! wait_focus "$box" 3; then
    echo "    note: the X server kept the keyboard from the box; given to it"
    xdotool windowfocus "$box" 2>/dev/null
    wait_focus "$box" "$seconds" || return 1
  fi
  xdotool key "${keys[@]}"
  wait_gone "$regex" "$seconds"
}

# keys_for_letters TEXT: each letter of TEXT beyond ASCII gets a key of its own on the X
# keyboard for the rest of the session. Otherwise xdotool maps a spare key to the letter for
# the moment of its press only, and Wine, which reads the keyboard map again when told it
# changed, may find the letter gone by then and type nothing (CI lost three letters of one
# path that way).
keys_for_letters() {
  local LC_ALL=C.UTF-8 text=$1 spare=() i code next=0
  mapfile -t spare < <(xmodmap -pke | awk 'NF == 3 { print $2 }')
  for ((i = 0; i < ${#text}; i++)); do
    printf -v code '%d' "'${text:i:1}"
    [ "$code" -gt 127 ] && [ "$next" -lt "${#spare[@]}" ] || continue
    xmodmap -e "keycode ${spare[next]} = $(printf 'U%04X' "$code")"
    next=$((next + 1))
  done
}

# click_close_box WINDOW: a left click on the close box at the right end of the title bar.
click_close_box() {
  client_origin "$1"
  xdotool mousemove --sync $((FRAME_X + FRAME_WIDTH - FRAME_BORDER - 10)) $((FRAME_Y + FRAME_BORDER + (CLIENT_Y - FRAME_Y - FRAME_BORDER) / 2)) click 1
}

# screenshot FILE: the whole screen as PNG.
screenshot() {
  mkdir -p "$(dirname "$1")"
  import -window root "$1" 2>/dev/null
}
