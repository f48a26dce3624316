#!/usr/bin/env bash
# quelvo-cli's "adiar" under a fixed clock: a snooze shows as the fifth field
# of "listar", crosses midnight, is cancelled with 0, goes with its reminder,
# survives a damaged snooze file as a message only, and never changes a byte
# of the two data files; with the program running it is refused (code 3).
# Arguments: the program folder (holding quelvo-cli) and the source folder.
set -u
prog=$1
. "$2/tests/support/skip.sh"
command -v faketime >/dev/null || skip_test "faketime não instalado"
tmp=$(mktemp -d)
holder=
trap '[ -n "$holder" ] && kill "$holder" 2>/dev/null; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/dados" "$tmp/run" "$tmp/config"
export QUELVO_PASTA=$tmp LC_ALL=pt_BR.UTF-8 XDG_RUNTIME_DIR=$tmp/run XDG_CONFIG_HOME=$tmp/config
idx=$tmp/dados/tavodb.idx dat=$tmp/dados/tavodb.dat adi=$tmp/dados/tavodb.adi

. "$2/tests/support/cli_checks.sh"
# quelvo-cli at a fixed moment of the clock ("" for the real clock).
run_at() {
  local when=$1
  shift
  run_with ${when:+faketime "$when"} "$prog/quelvo-cli" "$@"
}
expect_data_unchanged() {  # what
  if [ "$(hex "$idx")" = "$data_idx" ] && [ "$(hex "$dat")" = "$data_dat" ]; then ok
  else bad "$1: os arquivos de dados mudaram"; fi
}

run_at "" incluir 15/06/2024 10:30 "Tomar o remédio" --repeticao Diária
run_at "" incluir 16/06/2024 09:00 "Reunião"
data_idx=$(hex "$idx") data_dat=$(hex "$dat")

# ---- Snooze the first for a minute: the fifth field, the data files untouched ----
run_at "2024-06-15 10:30:00" adiar 1 1
expect_rc "adiar 1 1" 0
expect_data_unchanged "adiar 1 1"
if [ -s "$adi" ]; then ok; else bad "adiar 1 1: sem dados/tavodb.adi"; fi
run_at "" listar
expect_rc "listar com um adiado" 0
expect_out "listar com um adiado" \
  "15/06/2024\t10:30\tDiária\tTomar o remédio\tadiado até 15/06/2024 10:31\n16/06/2024\t09:00\tNenhuma\tReunião"

# ---- Across midnight, and a day at most ----
run_at "2024-06-15 23:59:00" adiar 2 1440
expect_rc "adiar por um dia" 0
run_at "2024-06-15 23:59:00" adiar 1 10
run_at "" listar --de 15/06/2024 --ate 15/06/2024
expect_out "adiado para depois da meia-noite" \
  "15/06/2024\t10:30\tDiária\tTomar o remédio\tadiado até 16/06/2024 00:09"
run_at "" listar --de 16/06/2024 --ate 16/06/2024
expect_out "adiado por um dia" "16/06/2024\t09:00\tNenhuma\tReunião\tadiado até 16/06/2024 23:59"
expect_data_unchanged "dois adiados"

# ---- Refused: a number of minutes out of 0-1440, a reminder that is not there ----
before_adi=$(hex "$adi")
for args in "adiar 1 1441" "adiar 1 -5" "adiar 1 x" "adiar 1 ''" "adiar 3 5" "adiar 0 5" "adiar 1" "adiar 1 5 6"; do
  eval "run_at '' $args"
  expect_rc "recusa: $args" 1
done
run_at "" adiar 1 1441
expect_err "minutos demais" "1 a 1440"
if [ "$(hex "$adi")" = "$before_adi" ]; then ok; else bad "recusas mudaram dados/tavodb.adi"; fi

# ---- 0 cancels; the snooze of a reminder confirmed goes with it ----
run_at "" adiar 1 0
expect_rc "adiar 1 0" 0
run_at "" listar
expect_out "cancelado" \
  "15/06/2024\t10:30\tDiária\tTomar o remédio\n16/06/2024\t09:00\tNenhuma\tReunião\tadiado até 16/06/2024 23:59"
expect_data_unchanged "cancelar"
run_at "" confirmar 2
run_at "" listar
expect_out "confirmado com o adiamento" "15/06/2024\t10:30\tDiária\tTomar o remédio"
data_idx=$(hex "$idx") data_dat=$(hex "$dat")

# ---- A damaged snooze file: a message, the reminders listed, rewritten at the next change ----
run_at "2024-06-15 10:30:00" adiar 1 5
printf 'QADI\001lixo' >"$adi"
run_at "" listar
expect_rc "arquivo de adiados danificado" 0
expect_out "arquivo de adiados danificado" "15/06/2024\t10:30\tDiária\tTomar o remédio"
expect_err "arquivo de adiados danificado" "Os lembretes adiados não puderam ser lidos"
run_at "2024-06-15 10:30:00" adiar 1 15
expect_rc "adiar depois do dano" 0
run_at "" listar
expect_out "reescrito" "15/06/2024\t10:30\tDiária\tTomar o remédio\tadiado até 15/06/2024 10:45"
expect_no_err "reescrito"
expect_data_unchanged "arquivo de adiados danificado"

# ---- An exported calendar carries the reminder alone, not this computer's snooze ----
if "$prog/quelvo-cli" 2>&1 | grep -q exportar; then
  # DTSTAMP is the moment of writing, which faketime lets run on: left out.
  run_at "2024-06-15 10:40:00" exportar -
  grep -v '^DTSTAMP:' "$tmp/out" >"$tmp/adiado.ics"
  run_at "" adiar 1 0
  run_at "2024-06-15 10:40:00" exportar -
  grep -v '^DTSTAMP:' "$tmp/out" >"$tmp/sem_adiar.ics"
  if [ -s "$tmp/sem_adiar.ics" ] && cmp -s "$tmp/sem_adiar.ics" "$tmp/adiado.ics"; then ok; else bad "o adiamento mudou o calendário exportado"; fi
  run_at "2024-06-15 10:30:00" adiar 1 15
fi

# ---- The program runs (its lock is held): adiar is refused with 3, listar reads the snooze ----
exec 3< <(python3 -c '
import fcntl, sys, time
f = open(sys.argv[1], "a")
fcntl.lockf(f, fcntl.LOCK_EX)
print("ok", flush=True)
time.sleep(600)  # held until killed below
' "$XDG_RUNTIME_DIR/Orvane_Quelvo_2003")
holder=$!
read -r ready <&3
[ "$ready" = ok ] || bad "a trava do programa não foi tomada"
before_adi=$(hex "$adi")
run_at "" adiar 1 5
expect_rc "adiar com o programa aberto" 3
run_at "" adiar 1 0
expect_rc "cancelar com o programa aberto" 3
run_at "" listar
expect_rc "listar com o programa aberto" 0
expect_out "listar com o programa aberto" "15/06/2024\t10:30\tDiária\tTomar o remédio\tadiado até 15/06/2024 10:45"
if [ "$(hex "$adi")" = "$before_adi" ]; then ok; else bad "com o programa aberto, dados/tavodb.adi mudou"; fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
