#!/usr/bin/env bash
# Needs the graphical program (not registered in a build without it).
# The program syncs by itself at start: a reminder made here goes up, one
# made on the other device comes down, with the program running.
set -u
prog=$1
src=$2
. "$src/tests/support/skip.sh"
[ -x "$prog/quelvo" ] || skip_test "sem o programa gráfico"
tmp=$(mktemp -d) server= pid=
trap 'kill $pid $server 2>/dev/null; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/dados/datas" "$tmp/dados/sons" "$tmp/run" "$tmp/config"
cp "$prog"/dados/datas/*.txt "$tmp/dados/datas/"
unset DBUS_SESSION_BUS_ADDRESS
export QUELVO_PASTA=$tmp LC_ALL=pt_BR.UTF-8 QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$tmp/run XDG_CONFIG_HOME=$tmp/config
. "$src/tests/support/cli_checks.sh"
. "$src/tests/support/radicale.sh"
start_server

run sincronizar --configurar "$url" --usuario ana <<<segredo
expect_rc "configuração" 0
run incluir 20/12/2030 08:00 "Feito no computador"
peer add celular-1@teste "Feito no celular" 20301221T090000
QUELVO_SENHA=segredo "$prog/quelvo" 2>"$tmp/log" & pid=$!
# Both arrive within the first sync, a few seconds after the start.
for _ in $(seq 300); do
  peer list | grep -q "^Feito no computador|" && "$prog/quelvo-cli" listar 2>/dev/null | grep -q "Feito no celular" && break
  sleep 0.1
done
peer list | grep -q "^Feito no computador|20301220T0800|$" && ok || bad "o lembrete daqui não chegou ao servidor: $(peer list)"
run listar
expect_out "o lembrete do celular chegou" "20/12/2030\t08:00\tNenhuma\tFeito no computador\n21/12/2030\t09:00\tNenhuma\tFeito no celular"
echo "sync_gui: $passed passaram, $failed falharam"
[ "$failed" -eq 0 ]
