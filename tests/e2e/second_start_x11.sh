#!/usr/bin/env bash
# Needs the graphical program (not registered in a build without it).
# On a real X display with a window manager (no notification area): a start
# with MINIMIZE keeps the main window minimised; a second start brings it
# forward with the keyboard focus within a second and ends with exit code 0,
# the first copy going on; a second start with MINIMIZE leaves it alone.
set -u
prog=$1 src=$2
. "$src/tests/support/skip.sh"
[ -x "$prog/quelvo" ] || skip_test "sem o programa gráfico"
command -v xlogo >/dev/null || skip_test "sem xlogo"
if [ "${QUELVO_ON_X11:-}" != 1 ]; then
  QUELVO_ON_X11=1 exec bash "$src/tests/gui/support/with_x11.sh" bash "$0" "$@"
fi
tmp=$(mktemp -d)
first= other=
trap 'kill $first $other 2>/dev/null; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/dados/datas"
cp "$src"/assets/datas/*.txt "$tmp/dados/datas/"
export QUELVO_PASTA=$tmp XDG_CONFIG_HOME=$tmp/config
passed=0 failed=0
check() { if eval "$2"; then passed=$((passed+1)); else failed=$((failed+1)); echo "FALHOU: $1"; fi; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Polls `command` until it succeeds; false once `ms` milliseconds have passed.
within() {
  local ms=$1; shift
  local deadline=$(( $(now_ms) + ms ))
  until eval "$*"; do [ "$(now_ms)" -lt "$deadline" ] || return 1; sleep 0.02; done
}
main_window() { xdotool search --pid "$first" --name '^Quelvo 3\.0$' 2>/dev/null; }
shown() { [ -n "$(xdotool search --onlyvisible --pid "$first" --name '^Quelvo 3\.0$' 2>/dev/null)" ]; }
minimised() { for w in $(main_window); do xprop -id "$w" WM_STATE 2>/dev/null | grep -q Iconic && return 0; done; return 1; }
focused_on() { [ -n "${1:-}" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

"$prog/quelvo" MINIMIZE & first=$!
check "MINIMIZE sem área de notificação deixa a janela minimizada" 'within 20000 minimised'
check "e não a mostra" '! shown'

# Another program has the focus, as when the user starts the program again.
xlogo & other=$!
other_shown() { other_window=$(xdotool search --onlyvisible --class xlogo 2>/dev/null | head -1); [ -n "$other_window" ]; }
check "o outro programa tem o foco" 'within 5000 other_shown && within 5000 focused_on "$other_window"'

timeout 60 "$prog/quelvo" MINIMIZE; rc=$?
check "segunda cópia com MINIMIZE termina com código 0" '[ $rc -eq 0 ]'
# It has ended; a window it had asked for would show within the second.
check "segunda cópia com MINIMIZE não mostra a janela" '! within 1000 shown'

start=$(now_ms)
timeout 60 "$prog/quelvo"; rc=$?
check "segunda cópia termina com código 0" '[ $rc -eq 0 ]'
check "a janela principal aparece" 'within 5000 shown'
elapsed=$(( $(now_ms) - start ))
echo "janela principal visível ${elapsed} ms após a segunda partida"
check "em menos de um segundo" '[ $elapsed -le 1000 ]'
shown_window=$(xdotool search --onlyvisible --pid "$first" --name '^Quelvo 3\.0$' | head -1)
check "com o foco do teclado" 'within 2000 focused_on "$shown_window"'
check "a primeira cópia continua" 'kill -0 $first'

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
