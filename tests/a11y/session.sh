# Sourced by the end-to-end scripts that read the program through AT-SPI:
# a11y_session re-runs the calling script on a private X display inside a
# private session bus with its own accessibility bus (the GUI tests' own
# tests/gui/support/with_a11y.sh), then gives it a program folder of its own.
# Exit 77 (skipped) when a tool or the graphical program is missing.

# a11y_session PROG SRC (the calling script's arguments)
a11y_session() {
  if [ "${QUELVO_A11Y_SESSION:-}" != 1 ]; then
    . "$src/tests/support/skip.sh"
    [ -x "$prog/quelvo" ] || skip_test "sem o programa gráfico"
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip_test "sem pyatspi"
    QUELVO_A11Y_SESSION=1 exec bash "$src/tests/gui/support/with_a11y.sh" bash "$0" "$@"
  fi
  folder=$(mktemp -d)
  pids=()
  trap 'a11y_stop' EXIT
  mkdir -p "$folder/dados"
  cp -r "$prog/dados/datas" "$prog/dados/sons" "$folder/dados/"
  export LC_ALL=pt_BR.UTF-8 QUELVO_PASTA=$folder XDG_CONFIG_HOME=$folder/config
}

# Starts the program with its accessibility bridge on; its pid is $program.
a11y_start_program() {
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$prog/quelvo" >"$folder/quelvo.log" 2>&1 & program=$!
  pids+=("$program")
}

a11y_stop() {
  kill "${pids[@]}" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$folder"
}
