# Sourced by the end-to-end scripts that read the program through AT-SPI: a
# private X display with a window manager, a private session bus with its
# own accessibility bus, and a program folder of its own. Exit 77 (skipped)
# when a tool is missing.

# a11y_session PROG SRC: re-runs the calling script inside a private session
# bus when it is not yet in one, then prepares the display and the folder.
a11y_session() {
  if [ "${QUELVO_IN_SESSION_BUS:-}" != 1 ]; then
    local tool
    for tool in Xvfb openbox xdotool dbus-run-session /usr/libexec/at-spi-bus-launcher; do
      command -v "$tool" >/dev/null || [ -x "$tool" ] || { echo "sem $tool: ignorado"; exit 77; }
    done
    [ -x "$prog/quelvo" ] || { echo "sem o programa gráfico: ignorado"; exit 77; }
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "sem pyatspi: ignorado"; exit 77; }
    QUELVO_IN_SESSION_BUS=1 exec dbus-run-session -- bash "$0" "$@"
  fi
  tmp=$(mktemp -d)
  pids=()
  trap 'a11y_stop' EXIT
  mkdir -p "$tmp/dados"
  cp -r "$prog/dados/datas" "$prog/dados/sons" "$tmp/dados/"
  export LC_ALL=pt_BR.UTF-8 QUELVO_PASTA=$tmp XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null & pids+=($!)
  local _
  for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(cat "$tmp/display")"
  openbox >/dev/null 2>&1 & pids+=($!)
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & pids+=($!)
}

# Starts the program with its accessibility bridge on; its pid is $program.
a11y_start_program() {
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$prog/quelvo" >"$tmp/quelvo.log" 2>&1 & program=$!
  pids+=("$program")
}

a11y_stop() {
  kill "${pids[@]}" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$tmp"
}
