# Sourced: a private X server (Xvfb, on a display it chooses itself) with the
# openbox window manager, for the tests that drive windows through X.
# start_x11_display SIZE SCRATCH sets DISPLAY, xvfb_pid and wm_pid; it returns
# 1 with a message when either does not come up. The caller ends both (its
# trap on EXIT): a server left behind would keep the test's output open.

xvfb_pid="" wm_pid=""

# True once a window manager has announced itself on the root window.
x11_wm_ready() {
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# $1: WIDTHxHEIGHT, $2: a scratch folder (the display number, openbox's log).
start_x11_display() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$2/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  # Generous waits: on a loaded machine (tests side by side) the server and the
  # window manager can take several seconds to come up.
  for _ in $(seq 600); do [ -s "$2/display" ] && break; sleep 0.05; done
  [ -s "$2/display" ] || { echo "o Xvfb não abriu"; return 1; }
  export DISPLAY=:$(head -1 "$2/display")
  local attempt
  for attempt in 1 2; do
    openbox >"$2/openbox.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 600); do
      x11_wm_ready && return 0
      kill -0 "$wm_pid" 2>/dev/null || break   # it ended: start it once more
      sleep 0.05
    done
    kill "$wm_pid" 2>/dev/null
    wait "$wm_pid" 2>/dev/null
  done
  echo "o openbox não começou:"
  cat "$2/openbox.log"
  return 1
}

stop_x11_display() {
  [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
  wait $wm_pid $xvfb_pid 2>/dev/null
  wm_pid="" xvfb_pid=""
  return 0
}
