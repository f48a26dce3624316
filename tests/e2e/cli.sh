#!/usr/bin/env bash
# quelvo-cli as a new user works with it, in a program folder of its own:
# add, list, alter, confirm and delete, with the two data files checked byte
# for byte after every step, and the exit codes 0, 1, 2 and 3.
# Arguments: the program folder (holding quelvo-cli) and the source folder.
set -u
prog=$1
tmp=$(mktemp -d)
holder=
trap '[ -n "$holder" ] && kill "$holder" 2>/dev/null; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/dados" "$tmp/run" "$tmp/config"
export QUELVO_PASTA=$tmp LC_ALL=pt_BR.UTF-8 XDG_RUNTIME_DIR=$tmp/run XDG_CONFIG_HOME=$tmp/config
idx=$tmp/dados/tavodb.idx dat=$tmp/dados/tavodb.dat

. "$2/tests/support/cli_checks.sh"
cli() { "$prog/quelvo-cli" "$@"; }

expect_files() {  # what, index hex, data hex
  local got_idx got_dat
  got_idx=$(hex "$idx") got_dat=$(hex "$dat")
  if [ "$got_idx" = "$2" ]; then ok; else bad "$1: tavodb.idx $got_idx, esperado $2"; fi
  if [ "$got_dat" = "$3" ]; then ok; else bad "$1: tavodb.dat $got_dat, esperado $3"; fi
  local extra
  extra=$(ls "$tmp/dados" | grep -vx -e tavodb.idx -e tavodb.dat)
  if [ -z "$extra" ]; then ok; else bad "$1: arquivos a mais em dados/: $extra"; fi
}

# An index entry: DateTime (8 bytes, given as hex), Id, TextPos, TextLen, RepeatKind.
le32() { printf '%02x%02x%02x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
entry() { printf '%s%s%s%02x%02x%02x00' "$1" "$(le32 "$2")" "$(le32 "$3")" $(($4 & 255)) $(($4 >> 8)) "$5"; }
d0503_0905=1cc7711c6c94e240  # 5 March 2004 09:05 = 38051 + 545/1440
d0603_1000=555555558d94e240  # 6 March 2004 10:00
d1203_0905=1cc7711c4c95e240  # 12 March 2004 09:05

# ---- The first start creates both files empty ----
run listar
expect_rc "listar num armazenamento novo" 0
expect_out "listar num armazenamento novo" ""
expect_files "primeira execução" "" ""

# ---- Add: the entry of 5 March 2004 09:05, the text in Windows-1252 ----
run incluir 05/03/2004 09:05 "  Olá  " --repeticao Semanal
expect_rc "incluir" 0
expect_files "incluir" "$(entry $d0503_0905 0 0 3 2)" "4f6ce1"
run listar
expect_out "listar" "05/03/2004\t09:05\tSemanal\tOlá"

# The same minute again: the later one stands first; Ids are renumbered at each start.
run incluir 05/03/2004 0905 "Segundo"
expect_rc "incluir no mesmo minuto" 0
expect_files "incluir no mesmo minuto" \
  "$(entry $d0503_0905 1 3 7 0)$(entry $d0503_0905 0 0 3 2)" "4f6ce1$(printf Segundo | od -An -tx1 | tr -d ' \n')"
run listar
expect_out "listar com dois" "05/03/2004\t09:05\tNenhuma\tSegundo\n05/03/2004\t09:05\tSemanal\tOlá"

# ---- Alter to a longer text: it keeps its place, the later text moves ----
run alterar 2 05/03/2004 09:05 "Olá!!" --repeticao 2
expect_rc "alterar para texto mais longo" 0
expect_files "alterar para texto mais longo" \
  "$(entry $d0503_0905 1 0 5 2)$(entry $d0503_0905 0 5 7 0)" "4f6ce12121$(printf Segundo | od -An -tx1 | tr -d ' \n')"

# ---- Alter with the same length and a later date: overwritten in place ----
run alterar 2 06/03/2004 10:00 "SEGUNDO"
expect_rc "alterar com o mesmo tamanho" 0
expect_files "alterar com o mesmo tamanho" \
  "$(entry $d0503_0905 0 0 5 2)$(entry $d0603_1000 1 5 7 0)" "4f6ce12121$(printf SEGUNDO | od -An -tx1 | tr -d ' \n')"
run listar
expect_out "listar depois de alterar" "05/03/2004\t09:05\tSemanal\tOlá!!\n06/03/2004\t10:00\tNenhuma\tSEGUNDO"

# ---- Confirm a weekly reminder: one week on, behind the other ----
run confirmar 1
expect_rc "confirmar semanal" 0
expect_files "confirmar semanal" \
  "$(entry $d0603_1000 1 5 7 0)$(entry $d1203_0905 0 0 5 2)" "4f6ce12121$(printf SEGUNDO | od -An -tx1 | tr -d ' \n')"

# ---- Confirm a one-time reminder: it is deleted, its text taken out ----
run confirmar 1
expect_rc "confirmar sem repetição" 0
expect_files "confirmar sem repetição" "$(entry $d1203_0905 1 0 5 2)" "4f6ce12121"
run listar
expect_out "listar depois de confirmar" "12/03/2004\t09:05\tSemanal\tOlá!!"

# ---- Delete the last one: both files empty ----
run excluir 1
expect_rc "excluir" 0
expect_files "excluir" "" ""

# ---- Month and year steps, ranges and escapes ----
cli incluir 31/01/2025 08:00 "fim do mês" --repeticao Mensal >/dev/null
cli incluir 29/02/2024 07:30 "bissexto" --repeticao Anual >/dev/null
cli incluir 10/02/2025 12:00 $'linha 1\nlinha 2\tcom\\barra' >/dev/null
run listar
expect_out "listar três" \
  '29/02/2024\t07:30\tAnual\tbissexto\n31/01/2025\t08:00\tMensal\tfim do mês\n10/02/2025\t12:00\tNenhuma\tlinha 1\\r\\nlinha 2\\tcom\\\\barra'
cli confirmar 1 >/dev/null && cli confirmar 1 >/dev/null
run listar --de 28/02/2025 --ate 28/02/2025
expect_out "passo anual e mensal no último dia" "28/02/2025\t07:30\tAnual\tbissexto\n28/02/2025\t08:00\tMensal\tfim do mês"
run listar --de 01/02/2025 --ate 27/02/2025
expect_out "listar um intervalo" '10/02/2025\t12:00\tNenhuma\tlinha 1\\r\\nlinha 2\\tcom\\\\barra'
run listar --de 01/03/2025 --ate 01/01/2025
expect_out "fim antes do início: só o dia do início" ""

# ---- Today's parts fill what is not a number (fixed clock) ----
if command -v faketime >/dev/null; then
  faketime '2024-06-15 10:30:00' "$prog/quelvo-cli" incluir ab/03/2004 ab05 "hoje" >/dev/null
  run listar --de 15/03/2004 --ate 15/03/2004
  expect_out "dia e hora de hoje no lugar do que não é número" "15/03/2004\t10:05\tNenhuma\thoje"
else
  bad "faketime não instalado"
fi

# ---- Refused input: exit code 1, nothing written ----
before_idx=$(hex "$idx") before_dat=$(hex "$dat")
for args in "incluir 01/01/2030 10:00 '   '" "incluir 1/1/2030 10:00 x" "incluir 01/01/2030 1000x x" \
            "incluir 01/01/2030 10:00 x --repeticao 7" "excluir 99" "excluir 0" "alterar x 01/01/2030 10:00 y" \
            "confirmar" "comando-que-nao-existe" "" "incluir 01/01/2030 10:00 $(printf 'x%.0s' $(seq 1025))"; do
  eval "run $args"
  expect_rc "recusa: ${args:0:40}" 1
done
run incluir 01/01/2030 10:00 "   "
expect_err "texto vazio" "Lembrete vazio. Inclusão cancelada"
expect_files "nada gravado nas recusas" "$before_idx" "$before_dat"

# ---- A data-file failure: exit code 2 with the store's message ----
mkdir -p "$tmp/sem_dados"
run --pasta "$tmp/sem_dados" listar
expect_rc "sem a pasta dados" 2
expect_err "sem a pasta dados" "Erro ao criar arquivos de dados"

# ---- The program runs (its lock is held): writing refused with 3, reading works ----
python3 -c '
import fcntl, sys, time
f = open(sys.argv[1], "a")
fcntl.lockf(f, fcntl.LOCK_EX)
print("ok", flush=True)
time.sleep(120)
' "$XDG_RUNTIME_DIR/Orvane_Quelvo_2003" >"$tmp/lock" &
holder=$!
for _ in $(seq 100); do grep -q ok "$tmp/lock" 2>/dev/null && break; sleep 0.05; done
for args in "incluir 01/01/2030 10:00 x" "excluir 1" "alterar 1 01/01/2030 10:00 y" "confirmar 1"; do
  eval "run $args"
  expect_rc "com o programa aberto: ${args%% *}" 3
done
run listar
expect_rc "listar com o programa aberto" 0
expect_files "nada gravado com o programa aberto" "$before_idx" "$before_dat"
kill "$holder"
wait "$holder" 2>/dev/null
holder=
run incluir 01/01/2030 10:00 "depois"
expect_rc "incluir depois que o programa fecha" 0

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
