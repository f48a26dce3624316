#!/usr/bin/env bash
# quelvo-cli "sincronizar" against a real CalDAV server (Radicale on the
# loopback, with a password), the other device played by python3-caldav:
# set-up by discovery, up and down, alter, delete and confirm on both sides,
# a change on both sides keeping both versions, a rule Quelvo cannot hold
# left as it was, a wrong password (1) and a stopped server (2) with the
# store untouched and the change made meanwhile sent later, and a sync with
# nothing new sending nothing.
# Arguments: the program folder (holding quelvo-cli) and the source folder.
set -u
prog=$1
src=$2
. "$src/tests/support/skip.sh"
tmp=$(mktemp -d) server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/dados" "$tmp/run" "$tmp/config"
unset DBUS_SESSION_BUS_ADDRESS  # no credential store: the password comes from QUELVO_SENHA
export QUELVO_PASTA=$tmp LC_ALL=pt_BR.UTF-8 XDG_RUNTIME_DIR=$tmp/run XDG_CONFIG_HOME=$tmp/config
. "$src/tests/support/cli_checks.sh"
. "$src/tests/support/radicale.sh"
idx=$tmp/dados/tavodb.idx dat=$tmp/dados/tavodb.dat
sync_now() { QUELVO_SENHA=segredo run sincronizar; }
expect_peer() {  # what, expected listing (printf format)
  local got want
  got=$(peer list)
  want=$(printf "$2")
  if [ "$got" = "$want" ]; then ok; else bad "$1: o servidor tem"$'\n'"$got"$'\n'"esperado"$'\n'"$want"; fi
}
expect_list() {  # what, expected listing of quelvo-cli (printf format)
  run listar
  expect_out "$1" "$2"
}
start_server

# Set-up: refused password, then discovery from the server's root, which
# makes the calendar "Quelvo".
QUELVO_SENHA=errada run sincronizar --configurar "$url" --usuario ana
expect_rc "senha errada na configuração" 1
QUELVO_SENHA=segredo run_with "$prog/quelvo-cli" sincronizar --configurar "http://127.0.0.1:1/" --usuario ana
expect_rc "servidor inalcançável na configuração" 2
run sincronizar --configurar "$url" --usuario ana <<<segredo
expect_rc "configuração" 0
[ "$(peer calendars)" = Quelvo ] && ok || bad "a agenda Quelvo não foi criada: $(peer calendars)"

# Up: two reminders, one monthly.
run incluir 20/12/2030 08:00 "Dentista às 8"
run incluir 21/12/2030 09:30 "Pagar a conta" --repeticao Mensal
sync_now
expect_rc "primeira sincronização" 0
expect_out "primeira sincronização" "enviados 2, recebidos 0, excluídos 0, conflitos 0"
expect_peer "depois de enviar" "Dentista às 8|20301220T0800|\nPagar a conta|20301221T0930|FREQ=MONTHLY"

# Down: an event and a Mon/Wed/Fri series made on the other device.
peer add outro-1@teste "Reunião" 20301222T140000
peer add outro-2@teste "Academia" 20301223T070000 "FREQ=WEEKLY;BYDAY=MO,WE,FR"
sync_now
expect_out "recebendo" "enviados 0, recebidos 2, excluídos 0, conflitos 0"
expect_list "recebendo" "20/12/2030\t08:00\tNenhuma\tDentista às 8\n21/12/2030\t09:30\tMensal\tPagar a conta\n22/12/2030\t14:00\tNenhuma\tReunião\n23/12/2030\t07:00\tNenhuma\tAcademia"
sync_now
expect_out "nada novo" "enviados 0, recebidos 0, excluídos 0, conflitos 0"

# Alter, delete and confirm here go up.
run alterar 1 20/12/2030 10:00 "Dentista às 10"
run excluir 3
run confirmar 2
sync_now
expect_out "mudanças aqui" "enviados 2, recebidos 0, excluídos 1, conflitos 0"
expect_peer "mudanças aqui" "Academia|20301223T0700|FREQ=WEEKLY;BYDAY=MO,WE,FR\nDentista às 10|20301220T1000|\nPagar a conta|20310121T0930|FREQ=MONTHLY"

# The series Quelvo cannot hold: altered here, it goes up as an item of its
# own and the other device's rule stays as it was.
run alterar 2 23/12/2030 07:30 "Academia cedo"
sync_now
expect_out "série alterada aqui" "enviados 1, recebidos 0, excluídos 0, conflitos 0"
expect_peer "série alterada aqui" "Academia cedo|20301223T0730|\nAcademia|20301223T0700|FREQ=WEEKLY;BYDAY=MO,WE,FR\nDentista às 10|20301220T1000|\nPagar a conta|20310121T0930|FREQ=MONTHLY"

# Alter and delete there come down.
peer edit "Dentista às 10" "Dentista às 10 (confirmado)"
peer delete "Academia cedo"
sync_now
expect_out "mudanças lá" "enviados 0, recebidos 1, excluídos 1, conflitos 0"
expect_list "mudanças lá" "20/12/2030\t10:00\tNenhuma\tDentista às 10 (confirmado)\n21/01/2031\t09:30\tMensal\tPagar a conta"

# Both sides change the same reminder: each side keeps its own and gets the other's, marked.
run alterar 2 21/01/2031 09:30 "Pagar a conta de luz" --repeticao Mensal
peer edit "Pagar a conta" "Pagar a conta de água"
sync_now
expect_out "conflito" "enviados 1, recebidos 1, excluídos 0, conflitos 1"
expect_list "conflito" "20/12/2030\t10:00\tNenhuma\tDentista às 10 (confirmado)\n21/01/2031\t09:30\tMensal\t(conflito) Pagar a conta de água\n21/01/2031\t09:30\tMensal\tPagar a conta de luz"
expect_peer "conflito" "(conflito) Pagar a conta de luz|20310121T0930|FREQ=MONTHLY\nAcademia|20301223T0700|FREQ=WEEKLY;BYDAY=MO,WE,FR\nDentista às 10 (confirmado)|20301220T1000|\nPagar a conta de água|20310121T0930|FREQ=MONTHLY"

# A wrong password and a stopped server change nothing here; what was made
# meanwhile goes up once the server is back.
before_idx=$(hex "$idx") before_dat=$(hex "$dat")
QUELVO_SENHA=errada run sincronizar
expect_rc "senha errada" 1
expect_err "senha errada" "recusou o usuário ou a senha"
stop_server
sync_now
expect_rc "servidor parado" 2
[ "$(hex "$idx")$(hex "$dat")" = "$before_idx$before_dat" ] && ok || bad "servidor parado: os arquivos de dados mudaram"
run incluir 24/12/2030 20:00 "Ceia"
sync_now
expect_rc "servidor parado, de novo" 2
start_server
sync_now
expect_out "de volta" "enviados 1, recebidos 0, excluídos 0, conflitos 0"
peer list | grep -q "^Ceia|20301224T2000|$" && ok || bad "a Ceia não chegou ao servidor"

# Forgetting keeps the reminders.
run sincronizar --esquecer
expect_rc "esquecer" 0
run sincronizar
expect_rc "sem configuração" 1
run listar
[ "$(wc -l <"$tmp/out")" -eq 4 ] && ok || bad "esquecer mudou os lembretes: $(cat "$tmp/out")"

echo "sync_caldav: $passed passaram, $failed falharam"
[ "$failed" -eq 0 ]
