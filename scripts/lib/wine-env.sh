# shellcheck shell=bash
# The one Wine and X environment of every script and test layer: the display, the Wine
# settings and the prefix set-up. Source it; it sets no shell options of its own.

# Wine quiet, 32-bit, without the Gecko/Mono installers and without menu entries written
# into the real home for each shortcut a run makes.
wine_environment() {
  export WINEDEBUG=-all WINEARCH=win32
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# display_ensure: keeps $DISPLAY when set; otherwise starts one private Xvfb on a display
# number the server picks itself, exports DISPLAY and sets XVFB_PID (empty when none was
# started). The caller stops it with display_stop.
display_ensure() {
  XVFB_PID=
  [ -z "${DISPLAY:-}" ] || return 0
  local ready _
  ready=$(mktemp "${TMPDIR:-/tmp}/quorvane-xvfb.XXXXXX") || return 1
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$ready" >/dev/null 2>&1 8>&- &
  XVFB_PID=$!
  for _ in $(seq 300); do
    if grep -q '^[0-9][0-9]*$' "$ready"; then
      export DISPLAY=":$(cat "$ready")"
      rm -f "$ready"
      return 0
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$ready"
  echo "Xvfb did not start" >&2
  display_stop
  return 1
}

display_stop() {
  stop_started "${XVFB_PID:-}"
  XVFB_PID=
}

# stop_started [PID]: ends a process that this shell started, and reaps it.
stop_started() {
  [ -n "${1:-}" ] || return 0
  kill "$1" 2>/dev/null
  wait "$1" 2>/dev/null
  return 0
}

# What every prefix holds besides Wine's defaults: "Times New Roman" drawn with the
# metric-compatible Liberation Serif, and unmanaged windows, so that Wine draws the frames
# (and the close box to click) where no window manager runs. A prefix made with other
# settings is brought up to these on its next use.
readonly WINE_PREFIX_SETTINGS='REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Times New Roman"="Liberation Serif"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
'

# wine_prefix_ensure DIR: makes DIR a ready prefix, once, under a lock shared by every
# process that asks for the same one. Its shell folders (Desktop, Documents...) are
# folders of its own: Wine links them to the home folder, where the shortcuts a run makes
# would otherwise land and outlive the prefix. A prefix is ready when its stamp holds the
# current settings; it is built aside and moved in place, so none is ever half made.
wine_prefix_ensure() {
  local prefix=$1
  wine_prefix_ready "$prefix" && return 0
  mkdir -p "$(dirname "$prefix")" || return 1
  (
    flock 9
    wine_prefix_ready "$prefix" && exit 0
    wine_environment
    local work=$prefix link
    if [ ! -f "$prefix/system.reg" ]; then
      work=$prefix.new
      rm -rf "$work"
      WINEPREFIX=$work wineboot -i >/dev/null 2>&1 8>&- 9>&-
      WINEPREFIX=$work wineserver -w
      [ -f "$work/system.reg" ] || exit 1
    fi
    for link in "$work"/drive_c/users/*/*; do
      if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
    done
    printf '%s' "$WINE_PREFIX_SETTINGS" >"$work/drive_c/quorvane-settings.reg"
    WINEPREFIX=$work wine regedit /S 'C:\quorvane-settings.reg' >/dev/null 2>&1 8>&- 9>&-
    WINEPREFIX=$work wineserver -w
    rm -f "$work/drive_c/quorvane-settings.reg"
    printf '%s' "$WINE_PREFIX_SETTINGS" >"$work/.quorvane-settings"
    if [ "$work" != "$prefix" ]; then rm -rf "$prefix" && mv "$work" "$prefix"; fi
  ) 9>"$prefix.lock"
}

# wine_prefix_ready DIR: true when DIR was set up with the current settings.
wine_prefix_ready() {
  [ "$(cat "$1/.quorvane-settings" 2>/dev/null)" = "$(printf '%s' "$WINE_PREFIX_SETTINGS")" ]
}

# Ends every process of the current prefix.
wine_stop_all() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  return 0
}
