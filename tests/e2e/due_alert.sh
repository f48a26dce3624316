#!/usr/bin/env bash
# Needs the graphical program (not registered in a build without it).
# The built program, started in a fresh program folder that holds a reminder
# due a minute ago, raises its alert window at the first check (about ten
# seconds after start) and asks for the alarm sound once.
set -u
prog=$1
. "$2/tests/support/skip.sh"
[ -x "$prog/quelvo" ] || skip_test "sem o programa gráfico"
tmp=$(mktemp -d)
trap 'kill $pid 2>/dev/null; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/dados/datas" "$tmp/dados/sons"
cp "$prog"/dados/datas/*.txt "$tmp/dados/datas/"
cp "$prog"/dados/sons/gongo.wav "$tmp/dados/sons/"
export LC_ALL=pt_BR.UTF-8 QUELVO_PASTA=$tmp QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$tmp XDG_CONFIG_HOME=$tmp/config
passed=0 failed=0
check() { if eval "$2"; then passed=$((passed+1)); else failed=$((failed+1)); echo "FALHOU: $1"; fi; }

when=$(date -d '1 minute ago' '+%d/%m/%Y %H:%M')
"$prog/quelvo-cli" incluir ${when% *} ${when#* } "Lembrete vencido"
"$prog/quelvo-cli" incluir 01/01/2099 10:00 "Ainda não"
QUELVO_STARTUP_REPORT=1 "$prog/quelvo" 2>"$tmp/log" & pid=$!
# The end of the first check proves the program had its chance to open
# every alert it would open.
for _ in $(seq 250); do grep -q '^checagem' "$tmp/log" && break; sleep 0.1; done
check "a primeira checagem termina" 'grep -q "^checagem$" "$tmp/log"'
check "a janela de alerta abre na primeira checagem" 'grep -q "^alerta 0$" "$tmp/log"'
check "só o lembrete vencido abre" '[ "$(grep -c "^alerta" "$tmp/log")" -eq 1 ]'
check "o som é pedido uma vez" '[ "$(grep -c "^som .*gongo.wav$" "$tmp/log")" -eq 1 ]'
check "nada foi apagado" '[ "$("$prog/quelvo-cli" listar | wc -l)" -eq 2 ]'
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
