# Shared by the Windows scripts (sourced): the MinGW-w64 cross build in
# $WIN_BUILD, the Wine prefix, a private display and the test printer.

# Configures and builds the Windows programs and tests in $WIN_BUILD
# (everything: the core tests, quelvo-cli.exe, quelvo.exe, the GUI tests).
build_windows() {
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DQUELVO_GUI=OFF -DQUELVO_BENCH=OFF "${launcher[@]}" >/dev/null || return 1
  cmake --build "$WIN_BUILD" -j"$(nproc)" >"$WIN_BUILD/build.log" 2>&1 || { tail -40 "$WIN_BUILD/build.log"; return 1; }
}

# The Wine prefix in $WIN_BUILD/wineprefix, made on first use; the fonts the
# windows name are given their metric-compatible stand-ins (as the Qt
# program does). Sets the Wine environment for the callers.
prepare_wine() {
  export WINEPREFIX=$PWD/$WIN_BUILD/wineprefix WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv="
  export LC_ALL=pt_BR.UTF-8 LANG=pt_BR.UTF-8
  unset DISPLAY WAYLAND_DISPLAY QUELVO_PASTA
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' /d 'Liberation Serif' /f >/dev/null 2>&1
    wineserver -w
  fi
  # A server that stays between the programs: one that ends when idle can meet
  # the next program while it goes ("wine client error: recvmsg").
  wineserver -p
}

. tests/support/x11_display.sh

# Ends what start_display started, Wine's processes and the scratch folder
# $tmp, whatever state the script is in (for a trap on EXIT).
stop_display() {
  # Waits until Wine's server has gone, so that the next Wine program does not meet it dying.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  stop_x11_display
  [ -z "${tmp:-}" ] || rm -rf "$tmp"
}

# A private X server of the given size with openbox (tests/support/x11_display.sh);
# sets DISPLAY, xvfb_pid and wm_pid. $1: WIDTHxHEIGHT, $2: a scratch folder.
# Wine's desktop process is ended first, so that the next Wine program opens
# on this display.
start_display() {
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p
  start_x11_display "$1" "$2"
}

# Makes the printer that prints into a file (tests/win32/support/file_printer)
# the default printer of the prefix, printing into the Linux path $1.
use_file_printer() {
  local ppd
  ppd=$(ls /usr/share/ghostscript/*/lib/ghostpdf.ppd 2>/dev/null | head -1)
  [ -n "$ppd" ] || { echo "ghostpdf.ppd não encontrado (pacote ghostscript)"; return 1; }
  wine "$WIN_BUILD/tests/file_printer.exe" "$(winepath -w "$ppd")" "$(winepath -w "$1")"
}
