#!/usr/bin/env bash
# Needs the graphical program (not registered in a build without it).
# The built program used without a pointer: real key events through the X
# server add a reminder, list it, alter it, delete it, change the text colour
# through the palette, close every window and end the program (the run is
# tests/a11y/keyboard_run.py; it follows the focus through AT-SPI).
set -u
prog=$1
src=$2
. "$src/tests/a11y/session.sh"
a11y_session "$@"
a11y_start_program
/usr/bin/python3 "$src/tests/a11y/keyboard_run.py" quelvo "$prog/quelvo-cli" "$XDG_CONFIG_HOME/Orvane/Quelvo3.reg" || exit 1
# Confirmed "Encerrar o Programa": the program ends by itself, with exit code 0.
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && { echo "FALHOU: o programa não terminou"; exit 1; }
wait "$program"
rc=$?
[ "$rc" -eq 0 ] || { echo "FALHOU: o programa terminou com o código $rc"; exit 1; }
echo "ok: tudo feito pelo teclado"
