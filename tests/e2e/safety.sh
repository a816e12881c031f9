# shellcheck shell=bash
# End-to-end scenarios of nothing lost and nothing unbounded, sourced by e2e.sh: an
# overwrite installation while the older uninstall.exe is held open by another program,
# and a server that never ends its reply header. QUORVANE_E2E_PROBE names the test-only
# probe program (tests/e2e/probe.cpp).

readonly FLOOD_GROWTH_LIMIT_KB=32768  # the wizard's peak resident size may grow this much

# probe_text TITLE: the texts of the wizard's message box with that title.
probe_text() {
  wine "$QUORVANE_E2E_PROBE" text "$1" 2>/dev/null 8>&- | tr -d '\r'
}

# expect_error_text REGEX: the error box is up and its whole text matches; it is then
# answered.
expect_error_text() {
  local text
  if ! wait_window "$ERROR_BOX" 20 >/dev/null; then fail "no error box"; return 1; fi
  screenshot "$work/screenshots/$scenario-error-box.png"
  text=$(probe_text Installation)
  [[ $text =~ ^$1$ ]] || fail "the error box says '$text'"
  answer_box "$ERROR_BOX" Return 5
}

# Ends the wizard still on page 4 with Cancel, the one button left.
cancel_from_download_page() {
  click $AT_CANCEL
  answer_box "$CANCEL_BOX" "$YES_KEY" 10 || fail "no cancel question"
  expect_exit 20
}

# wait_line FILE PREFIX SECONDS: true once the file holds a line starting with PREFIX.
wait_line() {
  local _
  for _ in $(seq $(($3 * 10))); do grep -q "^$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}

# peak_resident_kb PID: the process's peak resident size so far (VmHWM), in kB.
peak_resident_kb() {
  sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB$/\1/p' "/proc/$1/status" 2>/dev/null
}

# The older copy of all four files stays whole, byte for byte, with uninstall.exe held
# open without sharing: the new files are staged, three are put in place, the fourth
# fails, and the three are put back. The error names the file and why; nothing is
# recorded and the wizard stays on page 4.
scenario_held_older_copy() {
  local dir='C:\Quorvane Held' older name
  start_wizard en_US.UTF-8 || return
  language_names anglais
  older=$(unix_path "$dir")
  mkdir -p "$older" "$scenario_dir/older"
  for name in "${SAMPLE_FILES[@]}"; do
    printf 'older %s\r\n' "$name" >"$older/$name"
    cp "$older/$name" "$scenario_dir/older/$name"
  done
  wine "$QUORVANE_E2E_PROBE" hold "$dir\\uninstall.exe" >"$scenario_dir/hold.log" 2>&1 8>&- &
  wait_line "$scenario_dir/hold.log" held 10 || { fail "the probe did not hold uninstall.exe"; return; }

  drive_to_download "$AT_ENGLISH" "$dir"
  answer_box '^Directory not empty$' "$YES_KEY" 10 || fail "no overwrite question"
  # The system's reason in Windows' words or Wine's.
  expect_error_text "Cannot replace C:\\\\Quorvane Held\\\\uninstall\\.exe: (The process cannot access the file because it is being used by another process|Sharing violation)\\."
  expect_on_download_page 10
  expect_running
  for name in "${SAMPLE_FILES[@]}"; do
    cmp -s "$scenario_dir/older/$name" "$older/$name" || fail "$dir\\$name is not the older copy"
  done
  expect_eq "files in $dir" "$(ls -A "$older" | sort | tr '\n' ' ')" "miseajour.exe quorvane.exe quorvane.ini uninstall.exe "
  expect_eq "requests for uninstall.exe" "$(requested uninstall.exe)" 1
  expect_no_reg "$UNINSTALL_KEY$EDITION"
  [ -e "$(programs_dir)/Quorvane" ] && fail "the program group was created"
  cancel_from_download_page
  [ -e "$WINEPREFIX/drive_c/windows/Quorvane_e.ini" ] && fail "Quorvane_e.ini was written"
  return 0
}

# flood_server_start LOG: a server on the loopback port that answers every connection with
# a status line and then header lines without end, until the client goes away.
flood_server_start() {
  python3 - "$port" >"$1" 2>&1 8>&- <<'EOF' &
import socket, sys, threading
server = socket.socket()
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(("127.0.0.1", int(sys.argv[1])))
server.listen(4)
print("listening", flush=True)

def flood(connection):
    lines = 0
    try:
        connection.sendall(b"HTTP/1.0 200 OK\r\n")
        block = (b"X-Flood: " + b"f" * 50 + b"\r\n") * 100
        while True:
            connection.sendall(block)
            lines += 100
    except OSError:
        print("closed by the client after", lines, "lines", flush=True)
    finally:
        connection.close()

while True:
    connection, _ = server.accept()
    threading.Thread(target=flood, args=(connection,), daemon=True).start()
EOF
  FLOOD_PID=$!
  wait_line "$1" listening 5
}

flood_server_stop() {
  [ -n "${FLOOD_PID:-}" ] || return 0
  kill "$FLOOD_PID" 2>/dev/null
  wait "$FLOOD_PID" 2>/dev/null
  FLOOD_PID=
}

# Header lines without end: the request ends with the error within a few seconds, the
# wizard's peak resident size (read from outside) stays bounded, the connection is closed
# by the wizard, and nothing is placed.
scenario_header_flood() {
  local dir='C:\Quorvane Flood' before after
  mkdir -p "$web"
  flood_server_start "$web/flood.log" || { fail "the flood server did not start"; flood_server_stop; return; }
  launch en_US.UTF-8 || { flood_server_stop; return; }
  language_names anglais
  before=$(peak_resident_kb "$WIZARD_PID")
  drive_to_download "$AT_ENGLISH" "$dir"
  local asked=$SECONDS
  expect_error_text "Reply header of more than 1000 lines\\."
  echo "    error box within $((SECONDS - asked)) s of Install"
  after=$(peak_resident_kb "$WIZARD_PID")
  if [ -z "$before" ] || [ -z "$after" ]; then
    fail "cannot read the wizard's resident size (process $WIZARD_PID)"
  else
    echo "    peak resident size: $before kB before, $after kB after the flood"
    [ $((after - before)) -le "$FLOOD_GROWTH_LIMIT_KB" ] ||
      fail "the wizard grew by $((after - before)) kB during the flood"
  fi
  wait_line "$web/flood.log" 'closed by the client' 5 || fail "the wizard did not close the connection"
  # Nothing arrived, so the progress bar that shows page 4 elsewhere is empty here.
  expect_running
  expect_nothing_installed "$dir"
  cancel_from_download_page
  flood_server_stop
}
