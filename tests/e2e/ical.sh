#!/usr/bin/env bash
# quelvo-cli importar over calendar files written the way Google Calendar,
# Outlook, Thunderbird and Apple Calendar write them (tests/ical/), with the
# clock fixed at 10/03/2026 12:00 in São Paulo: the reminders each file
# gives, the lines that report what was skipped, refused files that leave
# the store untouched, and an export imported into an empty folder.
# Arguments: the program folder (holding quelvo-cli) and the source folder.
set -u
prog=$1
src=$2
fixtures=$src/tests/ical
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
. "$src/tests/support/skip.sh"
command -v faketime >/dev/null || skip_test "faketime não instalado"
export LC_ALL=pt_BR.UTF-8 TZ=America/Sao_Paulo XDG_RUNTIME_DIR=$tmp XDG_CONFIG_HOME=$tmp
now='2026-03-10 12:00:00'

passed=0 failed=0
ok() { passed=$((passed + 1)); }
bad() { failed=$((failed + 1)); echo "FALHOU: $*"; }

new_folder() {
  rm -rf "$tmp/p" && mkdir -p "$tmp/p/dados"
}
# Runs quelvo-cli at the fixed minute, keeping stdout, stderr and the exit code.
run() {
  faketime "$now" "$prog/quelvo-cli" --pasta "$tmp/p" "$@" >"$tmp/out" 2>"$tmp/err" <"${stdin:-/dev/null}"
  rc=$?
}
same() {  # what, file, expected text
  if [ "$(cat "$2")" = "$3" ]; then ok; else bad "$1:"$'\n'"$(cat "$2")"$'\n'"esperado:"$'\n'"$3"; fi
}
expect_rc() { if [ "$rc" -eq "$2" ]; then ok; else bad "$1: código $rc, esperado $2 ($(cat "$tmp/err"))"; fi; }
listing() { "$prog/quelvo-cli" --pasta "$tmp/p" listar >"$tmp/list"; }

# Imports one fixture into an empty folder; checks summary, report and listing.
check_import() {  # fixture, summary, report lines, listing
  new_folder
  run importar "$fixtures/$1"
  expect_rc "$1" 0
  same "$1: resumo" "$tmp/out" "$2"
  same "$1: relatório" "$tmp/err" "$3"
  listing
  same "$1: lembretes" "$tmp/list" "$4"
}

T=$'\t'
check_import google.ics "7 importados, 3 ignorados" \
"importado só o próximo: Revisão quinzenal
ignorado: Almoço com fornecedor: cancelado
ignorado: Feira de domingo: já passou
ignorado: Curso intensivo: já passou
importado só o próximo: Caminhada" \
"12/03/2026${T}08:00${T}Nenhuma${T}Caminhada
16/03/2026${T}10:00${T}Nenhuma${T}Revisão quinzenal
17/03/2026${T}08:50${T}Semanal${T}Reunião de equipe
20/03/2026${T}13:00${T}Nenhuma${T}Reunião de planejamento\r\nPauta: orçamento, contratações\r\nSala 4
25/03/2026${T}09:00${T}Nenhuma${T}Ligar para o banco
01/04/2026${T}00:00${T}Nenhuma${T}Dia da mentira
14/05/2026${T}09:00${T}Anual${T}Aniversário da Maria"

# The same file again adds nothing.
cp "$tmp/p/dados/tavodb.idx" "$tmp/idx.before"; cp "$tmp/p/dados/tavodb.dat" "$tmp/dat.before"
run importar "$fixtures/google.ics"
same "google.ics de novo: resumo" "$tmp/out" "0 importados, 10 ignorados"
if [ "$(grep -c ': já existe$' "$tmp/err")" -eq 7 ]; then ok; else bad "google.ics de novo: $(cat "$tmp/err")"; fi
if cmp -s "$tmp/idx.before" "$tmp/p/dados/tavodb.idx" && cmp -s "$tmp/dat.before" "$tmp/p/dados/tavodb.dat"; then ok
else bad "google.ics de novo mudou os arquivos"; fi

# Windows zone names, defined in the file or not; an unknown one is local time.
check_import outlook.ics "7 importados, 0 ignorados" \
"hora local: Horário personalizado: fuso horário desconhecido \"Customized Time Zone\"
importado só o próximo: Comitê mensal
importado só o próximo: Aula de inglês" \
"10/03/2026${T}14:00${T}Nenhuma${T}Comitê mensal
12/03/2026${T}05:45${T}Nenhuma${T}Chamada com Berlim
17/03/2026${T}09:30${T}Nenhuma${T}Aula de inglês (remarcada)
18/03/2026${T}15:45${T}Nenhuma${T}Dentista
19/03/2026${T}21:00${T}Nenhuma${T}Chamada com Tóquio
22/03/2026${T}08:30${T}Nenhuma${T}Horário personalizado
23/03/2026${T}09:30${T}Nenhuma${T}Aula de inglês"

# Apple's placeholder alarm (ACTION:NONE, 1976) is no alarm; an absolute trigger is.
check_import apple.ics "4 importados, 0 ignorados" \
"importado só o próximo: Fechar o caixa" \
"31/03/2026${T}20:00${T}Nenhuma${T}Fechar o caixa
04/04/2026${T}17:00${T}Nenhuma${T}Piquenique
10/04/2026${T}08:30${T}Nenhuma${T}Vacina da gripe\r\nLevar a carteirinha
19/07/2026${T}09:00${T}Anual${T}Aniversário do Pedro"

# To-dos (DUE, an alarm before the end, done ones), a fold inside "ç".
check_import thunderbird.ics "2 importados, 3 ignorados" \
"ignorado: Comprar pão: concluído
ignorado: Pagar a conta de luz: concluído
ignorado: Ler o livro do clube: sem data" \
"01/04/2026${T}11:00${T}Nenhuma${T}Entregar relatório
18/12/2026${T}15:00${T}Nenhuma${T}Confraternização da equipe"

# Items that cannot be read are reported; the rest of the file comes in.
check_import broken.ics "1 importados, 5 ignorados" \
"ignorado: Item quebrado: não foi possível ler
ignorado: : sem texto
ignorado: Sem data nenhuma: sem data
ignorado: Item bom: já existe
ignorado: Regra ilegível: não foi possível ler" \
"01/05/2026${T}09:00${T}Nenhuma${T}Item bom"

check_import windows1252.ics "1 importados, 0 ignorados" "" \
"15/04/2026${T}14:30${T}Nenhuma${T}Reunião — orçamento € 5.000"

# Files that are not a whole calendar are refused whole: exit 1, store untouched.
new_folder
"$prog/quelvo-cli" --pasta "$tmp/p" incluir 01/06/2026 10:00 "já estava" >/dev/null
cp "$tmp/p/dados/tavodb.idx" "$tmp/idx.before"; cp "$tmp/p/dados/tavodb.dat" "$tmp/dat.before"
head -c 1500 "$fixtures/google.ics" >"$tmp/cortado.ics"
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\n\0\0\0\r\nEND:VCALENDAR\r\n' >"$tmp/binario.ics"
tail -c +17 "$fixtures/apple.ics" >"$tmp/sem_inicio.ics"
for refused in cortado binario sem_inicio; do
  run importar "$tmp/$refused.ics"
  expect_rc "$refused.ics recusado" 1
  if grep -q "^Arquivo inválido: não é um calendário iCalendar completo" "$tmp/err"; then ok; else bad "$refused.ics: $(cat "$tmp/err")"; fi
  if [ ! -s "$tmp/out" ] && cmp -s "$tmp/idx.before" "$tmp/p/dados/tavodb.idx" &&
     cmp -s "$tmp/dat.before" "$tmp/p/dados/tavodb.dat"; then ok; else bad "$refused.ics mudou o armazenamento"; fi
done

# An export imported into an empty folder lists the same reminders; from
# standard output to standard input, and through a file.
new_folder
cli() { faketime "$now" "$prog/quelvo-cli" --pasta "$tmp/p" "$@" >/dev/null; }
cli incluir 31/03/2026 09:30 "Fechamento, dia 31; mensal" --repeticao Mensal
cli incluir 29/02/2028 08:00 "Aniversário bissexto" --repeticao Anual
cli incluir 11/03/2026 07:00 "Remédio" --repeticao 1
cli incluir 16/03/2026 19:00 "Aula" --repeticao 2
cli incluir 20/03/2026 10:00 "Duas linhas
e uma barra \\ com € e ção" --repeticao 0
cli incluir 20/03/2026 10:00 "Aula" --repeticao 0
listing; cp "$tmp/list" "$tmp/list.original"
run exportar - --de 01/03/2026 --ate 31/12/2030
same "exportar -: resumo em stderr" "$tmp/err" "6 lembretes exportados"
cp "$tmp/out" "$tmp/export.ics"
run exportar "$tmp/export2.ics"
same "exportar ARQUIVO: resumo" "$tmp/out" "6 lembretes exportados"
new_folder
stdin=$tmp/export.ics run importar -
same "importar -: resumo" "$tmp/out" "6 importados, 0 ignorados"
listing
same "exportado e importado: listar igual" "$tmp/list" "$(cat "$tmp/list.original")"
new_folder
run importar "$tmp/export2.ics"
listing
same "exportado em arquivo e importado: listar igual" "$tmp/list" "$(cat "$tmp/list.original")"
new_folder
run exportar - --de 12/03/2026 --ate 12/03/2026
same "exportar com intervalo vazio" "$tmp/err" "0 lembretes exportados"

echo "ical: $passed ok, $failed falhas"
[ "$failed" -eq 0 ]
