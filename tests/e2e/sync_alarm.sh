#!/usr/bin/env bash
# Needs the graphical program (not registered in a build without it).
# A sync server that takes the request and never answers does not hold up
# the alarm: the program, set up to sync with such a server, starts its sync
# (the server holds the connection) and still raises the due reminder's alert
# at its first check.
set -u
prog=$1
. "$2/tests/support/skip.sh"
[ -x "$prog/quelvo" ] || skip_test "sem o programa gráfico"
tmp=$(mktemp -d)
pid= server=
trap 'kill $pid $server 2>/dev/null; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/dados/datas" "$tmp/dados/sons" "$tmp/config/Orvane"
cp "$prog"/dados/datas/*.txt "$tmp/dados/datas/"
cp "$prog"/dados/sons/gongo.wav "$tmp/dados/sons/"
export LC_ALL=pt_BR.UTF-8 QUELVO_PASTA=$tmp QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$tmp XDG_CONFIG_HOME=$tmp/config
unset DBUS_SESSION_BUS_ADDRESS
passed=0 failed=0
check() { if eval "$2"; then passed=$((passed+1)); else failed=$((failed+1)); echo "FALHOU: $1"; fi; }

# The silent server: writes its port, then "conectado" when a client came; answers nothing.
/usr/bin/python3 - "$tmp" <<'PY' &
import os, socket, sys, time
folder = sys.argv[1]
s = socket.socket()
s.bind(("127.0.0.1", 0))
s.listen(4)
open(os.path.join(folder, "porta.tmp"), "w").write(str(s.getsockname()[1]))
os.rename(os.path.join(folder, "porta.tmp"), os.path.join(folder, "porta"))
client, _ = s.accept()
open(os.path.join(folder, "conectado"), "w").close()
time.sleep(600)
PY
server=$!
for _ in $(seq 100); do [ -f "$tmp/porta" ] && break; sleep 0.1; done
url="http://127.0.0.1:$(cat "$tmp/porta")/"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvane\\Quelvo3\\Sincronizacao]\r\n"Endereco"="%s"\r\n"Usuario"="ana"\r\n"Agenda"="%sana/quelvo/"\r\n\r\n' \
  "$url" "$url" >"$tmp/config/Orvane/Quelvo3.reg"

when=$(date -d '1 minute ago' '+%d/%m/%Y %H:%M')
"$prog/quelvo-cli" incluir ${when% *} ${when#* } "Lembrete vencido"
QUELVO_SENHA=segredo QUELVO_STARTUP_REPORT=1 "$prog/quelvo" 2>"$tmp/log" & pid=$!
for _ in $(seq 250); do [ -f "$tmp/conectado" ] && break; sleep 0.1; done
check "a sincronização chega ao servidor" '[ -f "$tmp/conectado" ]'
for _ in $(seq 250); do grep -q '^checagem' "$tmp/log" && break; sleep 0.1; done
check "a primeira checagem termina com o servidor calado" 'grep -q "^checagem$" "$tmp/log"'
check "o alerta abre mesmo assim" 'grep -q "^alerta 0$" "$tmp/log"'
check "o servidor ainda segura o pedido" 'kill -0 $server'
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
