#!/usr/bin/env bash
# The Windows test suite, run under Wine over an existing cross build: the
# core tests (headless), quelvo-cli.exe against the Linux quelvo-cli byte for
# byte (data, backup and calendar files), the GUI tests of quelvo.exe on a
# private Xvfb with openbox, and the installer installed, run and removed
# silently. scripts/test-windows installs the tools, builds and runs this.
# Environment: WIN_BUILD and LIN_BUILD (build folders, relative to the
# source folder), BUILT_SECONDS (how long the build took, for the summary).
set -u
cd "$(dirname "$0")/../.."
root=$PWD
WIN_BUILD=${WIN_BUILD:-build-win}
LIN_BUILD=${LIN_BUILD:-build}
start=$(( $(date +%s) - ${BUILT_SECONDS:-0} ))
built=$(date +%s)
. scripts/windows-common.sh

prepare_wine
tmp=$(mktemp -d)
echo_pid=""
stop_all() {
  [ -z "$echo_pid" ] || kill "$echo_pid" 2>/dev/null || true
  stop_display
}
trap stop_all EXIT

passed=0 failed=0
ok() { passed=$((passed + 1)); }
bad() { failed=$((failed + 1)); echo "FALHOU: $*"; }

# Runs one GoogleTest program under Wine (arguments passed on) and counts its results.
run_number=0
run_gtest() {
  run_number=$((run_number + 1))
  local name=$1
  shift
  local log=$WIN_BUILD/tests/$name${1:+-$run_number}.log
  (cd "$WIN_BUILD/tests" && timeout 600 wine "./$name.exe" "$@" >"$root/$log" 2>&1)
  local rc=$?
  local p f
  p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | tail -1)
  f=$(grep -c '^\[  FAILED  \] .*[^)]$' "$log")
  passed=$((passed + ${p:-0}))
  if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then f=1; fi  # ended before its summary
  failed=$((failed + f))
  echo "$name $*: ${p:-0} passaram, $f falharam (código $rc)"
  [ "$rc" -eq 0 ] || grep -B2 -A12 'Failure\|FAILED' "$log" | head -60
}

echo "== Testes sob o Wine"
# The local HTTP server of win32_network_test, with a self-signed certificate
# for its TLS port; its ports go to the test in QUELVO_HTTP_ECO.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 \
  -keyout "$tmp/eco.key" -out "$tmp/eco.crt" >/dev/null 2>&1 || echo "openssl não criou o certificado de teste"
/usr/bin/python3 tests/win32/support/http_echo.py "$tmp/eco.crt" "$tmp/eco.key" >"$tmp/eco.ports" 2>"$tmp/eco.err" &
echo_pid=$!
for _ in $(seq 100); do [ -s "$tmp/eco.ports" ] && break; sleep 0.1; done
export QUELVO_HTTP_ECO
QUELVO_HTTP_ECO=$(cat "$tmp/eco.ports")
[ -n "$QUELVO_HTTP_ECO" ] || cat "$tmp/eco.err"
for exe in "$WIN_BUILD"/tests/*_test.exe; do
  name=$(basename "$exe" .exe)
  case $name in *_gui_test) continue ;; esac  # they need a display: below
  run_gtest "$name"
done
kill "$echo_pid" 2>/dev/null
echo_pid=""

echo "== quelvo-cli.exe sob o Wine contra o quelvo-cli do Linux"
lin=$tmp/linux win=$tmp/windows
mkdir -p "$lin/dados" "$win/dados" "$tmp/config" "$tmp/run"
winpath() { printf 'Z:%s' "${1//\//\\}"; }
lin_cli() {
  QUELVO_PASTA=$lin XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run \
    "$LIN_BUILD/programa/quelvo-cli" "$@" >"$tmp/lin.out" 2>"$tmp/lin.err"
  lin_rc=$?
}
win_cli() {
  QUELVO_PASTA=$(winpath "$win") wine "$WIN_BUILD/programa/quelvo-cli.exe" "$@" >"$tmp/win.out" 2>"$tmp/win.err"
  win_rc=$?
  sed -i 's/\r$//' "$tmp/win.out" "$tmp/win.err"  # text-mode output ends lines in CR LF
}
same_file() {  # what, linux file, windows file
  if cmp -s "$2" "$3"; then ok; else bad "$1: $(basename "$2") difere ($(od -An -tx1 "$2" | tr -d '\n' | head -c 120) | $(od -An -tx1 "$3" | tr -d '\n' | head -c 120))"; fi
}
# Runs one command on both sides (the file argument of backup and restore made
# native on each) and compares exit codes, output and the two data files.
both() {
  local what=$1
  shift
  local lin_args=() win_args=()
  for a in "$@"; do
    case $a in
      @*) lin_args+=("$lin/${a#@}") win_args+=("$(winpath "$win/${a#@}")") ;;
      *) lin_args+=("$a") win_args+=("$a") ;;
    esac
  done
  lin_cli "${lin_args[@]}"
  win_cli "${win_args[@]}"
  if [ "$lin_rc" -eq "$win_rc" ]; then ok; else bad "$what: código $win_rc no Wine, $lin_rc no Linux ($(cat "$tmp/win.err"))"; fi
  if cmp -s "$tmp/lin.out" "$tmp/win.out"; then ok; else bad "$what: saída"$'\n'"$(cat "$tmp/win.out")"$'\n'"no Linux"$'\n'"$(cat "$tmp/lin.out")"; fi
  same_file "$what" "$lin/dados/tavodb.idx" "$win/dados/tavodb.idx"
  same_file "$what" "$lin/dados/tavodb.dat" "$win/dados/tavodb.dat"
}

both "listar vazio" listar
both "incluir" incluir 05/03/2004 09:05 "  Olá  " --repeticao Semanal
both "incluir no mesmo minuto" incluir 05/03/2004 0905 "Segundo"
both "incluir com acentos" incluir 31/12/2024 23:59 "Ação de fim de ano: çãõéü" --repeticao 4
both "incluir em 29/02" incluir 29/02/2024 00:00 "Bissexto" --repeticao Diária
both "listar" listar
both "listar num intervalo" listar --de 01/01/2004 --ate 31/03/2004
both "alterar para texto mais longo" alterar 2 05/03/2004 09:05 "Olá!! agora bem mais longo" --repeticao 2
both "alterar a data" alterar 1 06/03/2004 10:00 "Segundo"
both "excluir" excluir 3
both "listar depois de excluir" listar
both "backup" backup @copia.tvb
same_file "backup" "$lin/copia.tvb" "$win/copia.tvb"
# A backup file with accents in its name: the wide calls at the Windows edge.
both "backup com acentos" backup "@cópia de segurança.tvb"
same_file "backup com acentos" "$lin/cópia de segurança.tvb" "$win/cópia de segurança.tvb"
both "excluir antes de restaurar" excluir 1
both "restaurar" restaurar @copia.tvb
both "listar restaurado" listar
# Guards against two sides that agree by both failing.
if [ "$(wc -l <"$tmp/win.out")" -eq 3 ] && [ -s "$win/copia.tvb" ] && [ -s "$win/dados/tavodb.dat" ]; then ok; else
  bad "depois de restaurar: esperados 3 lembretes e um .tvb não vazio"$'\n'"$(cat "$tmp/win.out")"
fi
both "restaurar arquivo inexistente" restaurar @nenhum.tvb
if [ "$win_rc" -ne 0 ]; then ok; else bad "restaurar arquivo inexistente foi aceito"; fi
both "data inválida" incluir 5/3/2004 09:00 "Nada"
if [ "$win_rc" -ne 0 ]; then ok; else bad "data inválida foi aceita"; fi
# The date order comes from the locale on both sides.
LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 both "listar em inglês" listar
if grep -q '^03/05/2004' "$tmp/win.out" || grep -q '^03/06/2004' "$tmp/win.out"; then ok; else bad "ordem da data em inglês: $(head -1 "$tmp/win.out")"; fi

echo "== exportar e importar: quelvo-cli.exe sob o Wine contra o quelvo-cli do Linux"
# In São Paulo's zone on both sides. The fixtures go into the store one after
# another: summary, report lines and data files alike after each.
mkdir -p "$lin/ics" "$win/ics"
cp tests/ical/*.ics "$lin/ics/"
cp tests/ical/*.ics "$win/ics/"
for ics in tests/ical/*.ics; do
  name=$(basename "$ics")
  TZ=America/Sao_Paulo both "importar $name" importar "@ics/$name"
  if cmp -s "$tmp/lin.err" "$tmp/win.err"; then ok; else bad "importar $name: relatório"$'\n'"$(cat "$tmp/win.err")"$'\n'"no Linux"$'\n'"$(cat "$tmp/lin.err")"; fi
done
TZ=America/Sao_Paulo both "listar depois de importar" listar
if [ "$(wc -l <"$tmp/win.out")" -gt 3 ]; then ok; else bad "nada foi importado dos calendários de exemplo"; fi
# The export, the same bytes but for DTSTAMP (the minute it was made): into a
# file, and to standard output, which must not turn CR LF into CR CR LF.
no_stamp() { grep -av '^DTSTAMP:' "$1"; }
TZ=America/Sao_Paulo both "exportar" exportar @exportado.ics
if cmp -s <(no_stamp "$lin/exportado.ics") <(no_stamp "$win/exportado.ics"); then ok; else
  bad "exportar: o calendário difere"$'\n'"$(diff <(no_stamp "$lin/exportado.ics") <(no_stamp "$win/exportado.ics") | head -20)"; fi
if [ "$(grep -c '^BEGIN:VEVENT' "$win/exportado.ics")" -gt 3 ]; then ok; else bad "exportar: calendário sem os lembretes"; fi
TZ=America/Sao_Paulo QUELVO_PASTA=$lin XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run \
  "$LIN_BUILD/programa/quelvo-cli" exportar - >"$tmp/lin.ics" 2>/dev/null
TZ=America/Sao_Paulo QUELVO_PASTA=$(winpath "$win") wine "$WIN_BUILD/programa/quelvo-cli.exe" exportar - >"$tmp/win.ics" 2>/dev/null
if cmp -s <(no_stamp "$tmp/lin.ics") <(no_stamp "$tmp/win.ics") && cmp -s <(no_stamp "$tmp/lin.ics") <(no_stamp "$lin/exportado.ics"); then ok; else
  bad "exportar -: $(no_stamp "$tmp/win.ics" | head -3 | od -An -c | head -4)"; fi
# Standard input read whole, CR LF kept: the export imported into empty stores.
mkdir -p "$tmp/lin-vazio/dados" "$tmp/win-vazio/dados"
TZ=America/Sao_Paulo QUELVO_PASTA=$tmp/lin-vazio XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run \
  "$LIN_BUILD/programa/quelvo-cli" importar - <"$tmp/lin.ics" >/dev/null 2>&1
TZ=America/Sao_Paulo QUELVO_PASTA=$(winpath "$tmp/win-vazio") wine "$WIN_BUILD/programa/quelvo-cli.exe" importar - <"$tmp/lin.ics" >/dev/null 2>&1
same_file "importar -" "$tmp/lin-vazio/dados/tavodb.dat" "$tmp/win-vazio/dados/tavodb.dat"
same_file "importar -" "$tmp/lin-vazio/dados/tavodb.idx" "$tmp/win-vazio/dados/tavodb.idx"
if [ -s "$tmp/win-vazio/dados/tavodb.dat" ]; then ok; else bad "importar -: nada importado"; fi

echo "== sincronizar: quelvo-cli.exe sob o Wine contra um servidor CalDAV (Radicale)"
# The Linux end-to-end script, run over a "quelvo-cli" that is quelvo-cli.exe
# under Wine (the folder turned into a Windows path, line ends made Linux's).
mkdir -p "$tmp/wincli"
cat >"$tmp/wincli/quelvo-cli" <<WRAPPER
#!/usr/bin/env bash
out=\$(mktemp) err=\$(mktemp)
p=\${QUELVO_PASTA//\//\\\\}
QUELVO_PASTA="Z:\$p" wine "$root/$WIN_BUILD/programa/quelvo-cli.exe" "\$@" >"\$out" 2>"\$err"
rc=\$?
tr -d '\\r' <"\$out"; tr -d '\\r' <"\$err" >&2
rm -f "\$out" "\$err"
exit \$rc
WRAPPER
chmod +x "$tmp/wincli/quelvo-cli"
if bash "$root/tests/e2e/sync_caldav.sh" "$tmp/wincli" "$root" >"$tmp/sync.log" 2>&1; then
  ok
else
  bad "sincronizar sob o Wine:"$'\n'"$(cat "$tmp/sync.log")"
fi
tail -1 "$tmp/sync.log"

echo "== quelvo.exe sob o Wine, num Xvfb próprio com openbox"
start_display 1024x768 "$tmp" || bad "as janelas do Wine ficaram sem tela"
impressao=$root/$WIN_BUILD/tests/impressao.ps
use_file_printer "$impressao" || bad "a impressora de teste não foi instalada"
# What the Linux build writes for the reminder the first GUI test types.
esperado=$tmp/esperado
mkdir -p "$esperado/dados"
QUELVO_PASTA=$esperado XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run \
  "$LIN_BUILD/programa/quelvo-cli" incluir 05/03/2004 09:05 "  Olá  " --repeticao Semanal >/dev/null
export QUELVO_ESPERADO
QUELVO_ESPERADO=$(winpath "$esperado/dados")
# The settings test last: the others start from no settings, it leaves its values for reg query.
run_gtest win32_gui_test --gtest_filter=-*Settings*
run_gtest win32_gui_test --gtest_filter=*Settings*
# The page the printing test printed, read back as text.
page=$(gs -q -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile=- "$impressao" 2>/dev/null)
for want in 'Quelvo 3.0 - Página: 1' 'Data +Hora +Repetição +Texto do Lembrete' '10/05/2030 +08:00 +Nenhuma +Primeiro' \
  '11/05/2030 +09:05 +Anual +Segundo, com' '^ +duas linhas'; do
  if grep -Eq "$want" <<<"$page"; then ok; else bad "página impressa: falta /$want/"$'\n'"$page"; fi
done
settings=$(wine reg query 'HKCU\Software\Orvane\Quelvo3' 2>/dev/null | tr -d '\r')
for want in 'FrontColor +REG_DWORD +0xff$' 'BackColor +REG_DWORD +0xff8000$' 'ShowInfo +REG_DWORD +0x0$' \
  'WaveFile +REG_SZ +.*\\dados\\sons\\sino\.wav$'; do
  if LC_ALL=C grep -Eq "^ +$want" <<<"$settings"; then ok; else bad "reg query: falta /$want/"$'\n'"$settings"; fi
done

echo "== O instalador, silencioso, sob o Wine"
# The installer's steps wait for Wine to go idle (wineserver -w), so its server may end between them.
wineserver -k 2>/dev/null
wineserver -w
if scripts/windows-installer >"$tmp/instalador.log" 2>&1; then ok; else bad "scripts/windows-installer"$'\n'"$(tail -20 "$tmp/instalador.log")"; fi
instalador=$WIN_BUILD/Quelvo-3.0-instalador.exe
unix_of() { winepath -u "$(wine cmd /c "echo $1" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
inst=$(unix_of '%LOCALAPPDATA%\Programs\Quelvo')
menu=$(unix_of '%APPDATA%\Microsoft\Windows\Start Menu\Programs')
startup=$(unix_of '%APPDATA%\Microsoft\Windows\Start Menu\Programs\StartUp')
rm -rf "$inst"
installed_cli() {
  wine "$(winepath -w "$inst/quelvo-cli.exe")" "$@" >"$tmp/cli.out" 2>/dev/null
  local rc=$?
  tr -d '\r' <"$tmp/cli.out"
  return $rc
}
have() { if [ -e "$1" ]; then ok; else bad "$2: falta $1"; fi; }
lacks() { if [ ! -e "$1" ]; then ok; else bad "$2: sobrou $1"; fi; }

wine "$instalador" /S; wineserver -w
for f in quelvo.exe quelvo-cli.exe desinstalar.exe dados/datas/santos.txt dados/datas/datas.txt dados/sons/gongo.wav \
         licencas/libical-LICENSE.txt licencas/expat-COPYING.txt; do
  have "$inst/$f" "instalação"
done
have "$menu/Quelvo 3.0.lnk" "atalho no menu Iniciar"
# The shortcut holds its arguments in UTF-16.
if strings -el "$startup/Quelvo 3.0.lnk" 2>/dev/null | grep -q MINIMIZE; then ok; else bad "atalho de inicialização com MINIMIZE"; fi
installed_cli incluir 24/12/2030 20:00 "Ceia de Natal" >/dev/null
# The program started from the installed folder with MINIMIZE holds its lock: a writing
# command is refused (3) before it looks at its arguments; without the program it
# fails on the number (1) and changes nothing.
wine "$(winepath -w "$inst/quelvo.exe")" MINIMIZE >/dev/null 2>&1 &
running=0
for _ in $(seq 100); do
  installed_cli excluir 99 >/dev/null
  [ $? -eq 3 ] && { running=1; break; }
  sleep 0.2
done
if [ "$running" -eq 1 ]; then ok; else bad "quelvo.exe MINIMIZE não ficou em execução a partir da pasta instalada"; fi
# Run in place (_?=), so that this waits for it: it refuses while the program runs.
wine "$(winepath -w "$inst/desinstalar.exe")" /S "_?=$(winepath -w "$inst")"
have "$inst/quelvo.exe" "a desinstalação com o programa aberto recusa-se e"
wine taskkill /f /im quelvo.exe >/dev/null 2>&1
wineserver -w
cp "$inst/dados/tavodb.idx" "$inst/dados/tavodb.dat" "$tmp/"
wine "$(winepath -w "$inst/desinstalar.exe")" /S; wineserver -w
for f in quelvo.exe quelvo-cli.exe desinstalar.exe dados/datas dados/sons licencas; do lacks "$inst/$f" "desinstalação"; done
lacks "$menu/Quelvo 3.0.lnk" "desinstalação"
lacks "$startup/Quelvo 3.0.lnk" "desinstalação"
listing=$(QUELVO_PASTA=$inst XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run "$LIN_BUILD/programa/quelvo-cli" listar 2>&1)
if [ "$listing" = $'24/12/2030\t20:00\tNenhuma\tCeia de Natal' ]; then ok; else bad "lembretes depois de desinstalar: $listing"; fi
wine "$instalador" /S; wineserver -w
have "$inst/quelvo.exe" "reinstalação"
if cmp -s "$tmp/tavodb.idx" "$inst/dados/tavodb.idx" && cmp -s "$tmp/tavodb.dat" "$inst/dados/tavodb.dat"; then ok; else
  bad "a reinstalação mudou dados/tavodb.*"; fi
if [ "$(installed_cli listar)" = $'24/12/2030\t20:00\tNenhuma\tCeia de Natal' ]; then ok; else bad "listar depois de reinstalar"; fi
wine "$(winepath -w "$inst/desinstalar.exe")" /S; wineserver -w
rm -rf "$inst"

end=$(date +%s)
echo "Compilação $((built - start)) s, testes $((end - built)) s, total $((end - start)) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
