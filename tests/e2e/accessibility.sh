#!/usr/bin/env bash
# Needs the graphical program (not registered in a build without it).
# The built program as a screen reader meets it: on a private X display and a
# private accessibility bus, every window a user meets (a due alert, a new
# reminder, the list with rows, the settings with the palette open) is walked
# through AT-SPI; no control may be left without a name, the alert window
# must announce its reminder, and no hidden control may take the focus.
set -u
prog=$1
src=$2
. "$src/tests/a11y/session.sh"
a11y_session "$@"
when=$(date -d '1 minute ago' '+%d/%m/%Y %H:%M')
"$prog/quelvo-cli" incluir ${when% *} ${when#* } "Tomar o remédio" >/dev/null
"$prog/quelvo-cli" incluir "$(date '+%d/%m/%Y')" 23:59 "Regar as plantas" >/dev/null
a11y_start_program
/usr/bin/python3 "$src/tests/a11y/atspi_walk.py" quelvo "Lembrete: $when — Tomar o remédio"
