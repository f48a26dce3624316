#!/usr/bin/env bash
# Which program folder quelvo-cli uses: installed (executable in <prefix>/bin
# beside <prefix>/share/quelvo) it makes and fills a per-user folder under
# $XDG_DATA_HOME, never replacing a file already there; QUELVO_PASTA and
# --pasta still choose a portable folder; a portable folder without dados/
# still fails with the store's message.
# Arguments: the program folder (holding quelvo-cli) and the source folder.
set -u
prog=$1 src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0 failed=0
check() { if eval "$2"; then passed=$((passed+1)); else failed=$((failed+1)); echo "FALHOU: $1"; fi; }

# A prefix laid out as the package installs it.
prefix=$tmp/prefix
mkdir -p "$prefix/bin" "$prefix/share/quelvo/datas" "$prefix/share/quelvo/sons"
cp "$prog/quelvo-cli" "$prefix/bin/"
cp "$src"/assets/datas/*.txt "$prefix/share/quelvo/datas/"
cp "$src"/assets/sons/*.wav "$prefix/share/quelvo/sons/"
cli() { env -u QUELVO_PASTA -u XDG_DATA_HOME HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp" \
  XDG_CONFIG_HOME="$tmp/config" LC_ALL=pt_BR.UTF-8 "$@"; }
same_tree() { diff -r "$1" "$2" >/dev/null; }

# First start: ~/.local/share/quelvo with the data files and every shipped file.
mkdir -p "$tmp/home"
user=$tmp/home/.local/share/quelvo
cli "$prefix/bin/quelvo-cli" incluir 24/12/2030 20:00 "Ceia de Natal"; rc=$?
check "instalado: incluir funciona na pasta pessoal" '[ $rc -eq 0 ] && [ -s "$user/dados/tavodb.idx" ] && [ -s "$user/dados/tavodb.dat" ]'
check "instalado: datas copiadas" 'same_tree "$prefix/share/quelvo/datas" "$user/dados/datas"'
check "instalado: sons copiados" 'same_tree "$prefix/share/quelvo/sons" "$user/dados/sons"'
check "instalado: nenhum arquivo temporário" '[ -z "$(find "$user" -name ".*.novo")" ]'

# Files already there stay as they are; a missing one comes back; reminders stay.
LC_ALL=C sed -i 's|^25/12=.*\r$|25/12=Santo de casa\r|' "$user/dados/datas/santos.txt"
cp "$user/dados/datas/santos.txt" "$tmp/santos-do-usuario"
rm "$user/dados/sons/sino.wav"
cli "$prefix/bin/quelvo-cli" listar >"$tmp/lista"; rc=$?
check "instalado: arquivo do usuário não é substituído" 'cmp -s "$tmp/santos-do-usuario" "$user/dados/datas/santos.txt"'
check "instalado: arquivo que falta volta" 'cmp -s "$prefix/share/quelvo/sons/sino.wav" "$user/dados/sons/sino.wav"'
check "instalado: o lembrete continua" '[ $rc -eq 0 ] && grep -q "Ceia de Natal" "$tmp/lista"'
cli "$prefix/bin/quelvo-cli" eventos 25/12/2030 >"$tmp/eventos"
check "instalado: eventos lê o calendário da pasta pessoal" 'grep -q "Santo de casa" "$tmp/eventos"'

# XDG_DATA_HOME when it is an absolute path; a relative one is ignored.
cli env XDG_DATA_HOME="$tmp/xdg" "$prefix/bin/quelvo-cli" listar >/dev/null
check "XDG_DATA_HOME escolhe a pasta" '[ -f "$tmp/xdg/quelvo/dados/tavodb.idx" ] && [ -f "$tmp/xdg/quelvo/dados/sons/gongo.wav" ]'
(cd "$tmp" && cli env XDG_DATA_HOME=relativa "$prefix/bin/quelvo-cli" listar >"$tmp/lista2")
check "XDG_DATA_HOME relativo é ignorado" '[ ! -e "$tmp/relativa" ] && grep -q "Ceia de Natal" "$tmp/lista2"'

# QUELVO_PASTA and --pasta keep choosing a portable folder, also when installed.
mkdir -p "$tmp/portatil/dados"
cli env QUELVO_PASTA="$tmp/portatil" "$prefix/bin/quelvo-cli" incluir 01/01/2031 08:00 "Portátil"
check "QUELVO_PASTA vence a instalação" '[ -s "$tmp/portatil/dados/tavodb.dat" ] && [ ! -e "$tmp/portatil/dados/sons" ]'
check "--pasta vence a instalação" \
  '[ "$(cli "$prefix/bin/quelvo-cli" --pasta "$tmp/portatil" listar | cut -f4)" = "Portátil" ]'

# A bin folder without share/quelvo beside it is a portable folder; without dados/ it fails.
rm -rf "$tmp/home"; mkdir -p "$tmp/home" "$tmp/solto/bin"
cp "$prog/quelvo-cli" "$tmp/solto/bin/"
cli "$tmp/solto/bin/quelvo-cli" listar 2>"$tmp/erro"; rc=$?
check "portátil sem dados: código 2" '[ $rc -eq 2 ]'
check "portátil sem dados: a mensagem do armazenamento" 'grep -qx "Erro ao criar arquivos de dados" "$tmp/erro"'
check "portátil sem dados: nada criado" '[ ! -e "$tmp/solto/bin/dados" ] && [ ! -e "$tmp/home/.local" ]'

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
