# Shared by scripts/test-windows and scripts/windows-installer (sourced):
# the Debian packages they need and the MinGW-w64 cross build in $WIN_BUILD.

# Installs the Debian packages given that are not installed yet.
install_missing() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Instalando pacotes: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures and builds the Windows programs and tests in $WIN_BUILD
# (everything: the core tests, quelvo-cli.exe, quelvo.exe, the GUI tests).
build_windows() {
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DQUELVO_GUI=OFF -DQUELVO_BENCH=OFF "${launcher[@]}" >/dev/null || return 1
  cmake --build "$WIN_BUILD" -j"$(nproc)" >"$WIN_BUILD/build.log" 2>&1 || { tail -40 "$WIN_BUILD/build.log"; return 1; }
}
