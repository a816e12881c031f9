# shellcheck shell=bash
# Helpers shared by the end-to-end scenarios and scripts/run: a private web server on
# loopback, Wine prefixes, the wizard and its windows, and real mouse and keyboard input
# through the X server. Source it; it sets no shell options of its own.

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

# Wine quiet, 32-bit, without the Gecko/Mono installers and without menu entries written
# into the real home for each shortcut the wizard makes.
wine_environment() {
  export WINEDEBUG=-all WINEARCH=win32
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# xvfb_start: starts a private X server on a free display and exports DISPLAY; sets XVFB_PID.
xvfb_start() {
  local n _
  for n in $(seq 90 160); do [ -e "/tmp/.X$n-lock" ] || break; done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  echo "Xvfb did not start on :$n" >&2
  return 1
}

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
  [ -n "${NGINX_PID:-}" ] || return 0
  kill "$NGINX_PID" 2>/dev/null
  wait "$NGINX_PID" 2>/dev/null
  NGINX_PID=
}

# wine_prefix_create DIR: boots a new prefix whose shell folders (Desktop, Documents...)
# are folders of its own: Wine links them to the home folder, where the shortcuts a run
# makes would otherwise land and outlive the prefix.
wine_prefix_create() {
  local prefix=$1 link
  WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1 8>&-
  WINEPREFIX=$prefix wineserver -w
  [ -f "$prefix/system.reg" ] || return 1
  for link in "$prefix"/drive_c/users/*/*; do
    [ -L "$link" ] && rm "$link" && mkdir "$link"
  done
  return 0
}

# wine_prefix_template DIR: a prefix, made once and kept, to copy for each scenario. Its
# windows are unmanaged: Wine draws their frames, so the close box is there to be clicked.
wine_prefix_template() {
  local template=$1
  [ -f "$template/system.reg" ] && return 0
  (
    flock 9
    [ -f "$template/system.reg" ] && exit 0
    rm -rf "$template.new"
    wine_prefix_create "$template.new" || exit 1
    WINEPREFIX=$template.new wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    WINEPREFIX=$template.new wineserver -w
    mv "$template.new" "$template"
  ) 9>"$template.lock"
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
  local locale=()
  [ -z "${3:-}" ] || locale=(LANG="$3" LC_ALL="$3")
  env "${locale[@]}" wine "$1" >>"${2:-/dev/null}" 2>&1 8>&- &
  WIZARD_PID=$!
}

# wait_exit PID SECONDS: true when the process ended within the time.
wait_exit() {
  local pid=$1 tenths=$(($2 * 10)) _
  for _ in $(seq "$tenths"); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
    sleep 0.1
  done
  return 1
}

# Ends every process of the current prefix (the wizard, a launched sample program).
wine_stop_all() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
}

# find_window REGEX: the id of a visible window whose title matches, or nothing.
find_window() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# wait_window REGEX SECONDS: prints the id of the first visible window whose title matches.
wait_window() {
  local regex=$1 tenths=$(($2 * 10)) id _
  for _ in $(seq "$tenths"); do
    id=$(find_window "$regex")
    [ -n "$id" ] && { printf '%s' "$id"; return 0; }
    sleep 0.1
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

# click_client WINDOW X Y: a real left click at client coordinates of the wizard.
click_client() {
  client_origin "$1"
  xdotool mousemove --sync $((CLIENT_X + $2)) $((CLIENT_Y + $3)) click 1
  sleep 0.3
}

# answer_box REGEX KEYS... SECONDS: waits for a message box and presses the keys (an
# access key, Return); Wine gives the new box the keyboard.
answer_box() {
  local regex=$1; shift
  local seconds=${*: -1} keys=("${@:1:$#-1}")
  wait_window "$regex" "$seconds" >/dev/null || return 1
  sleep 0.3
  xdotool key "${keys[@]}"
  sleep 0.3
}

# click_close_box WINDOW: a left click on the close box at the right end of the title bar.
click_close_box() {
  client_origin "$1"
  xdotool mousemove --sync $((FRAME_X + FRAME_WIDTH - FRAME_BORDER - 10)) $((FRAME_Y + FRAME_BORDER + (CLIENT_Y - FRAME_Y - FRAME_BORDER) / 2)) click 1
  sleep 0.3
}

# screenshot FILE: the whole screen as PNG.
screenshot() {
  mkdir -p "$(dirname "$1")"
  import -window root "$1" 2>/dev/null
}
