#!/usr/bin/env bash
# Needs the graphical program (not registered in a build without it).
# A second copy of the program ends at once with exit code 0 and the
# running copy goes on; quelvo-cli refuses to write while the program runs.
set -u
prog=$1
. "$2/tests/support/skip.sh"
[ -x "$prog/quelvo" ] || skip_test "sem o programa gráfico"
tmp=$(mktemp -d)
trap 'kill $first 2>/dev/null; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/dados/datas"
cp "$2"/assets/datas/*.txt "$tmp/dados/datas/" 2>/dev/null
export QUELVO_PASTA=$tmp QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$tmp XDG_CONFIG_HOME=$tmp/config
passed=0 failed=0
check() { if eval "$2"; then passed=$((passed+1)); else failed=$((failed+1)); echo "FALHOU: $1"; fi; }

"$prog/quelvo" & first=$!
for _ in $(seq 50); do "$prog/quelvo-cli" incluir 01/01/2030 10:00 x >/dev/null 2>&1; [ $? -eq 3 ] && break; sleep 0.1; done
check "o programa segura a trava" '"$prog/quelvo-cli" incluir 01/01/2030 10:00 x 2>/dev/null; [ $? -eq 3 ]'
check "listar funciona com o programa aberto" '"$prog/quelvo-cli" listar >/dev/null'
# The timeout only keeps a hanging second copy from stalling the run.
timeout 60 "$prog/quelvo"; rc=$?
check "segunda cópia termina sozinha, com código 0" '[ $rc -eq 0 ]'
check "a primeira cópia continua" 'kill -0 $first'
kill $first; wait $first 2>/dev/null
check "sem o programa, incluir grava" '"$prog/quelvo-cli" incluir 01/01/2030 10:00 x'
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
