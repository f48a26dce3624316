#!/usr/bin/env bash
# The Debian package DEB from end to end: checks it (lintian,
# desktop-file-validate, appstreamcli, man), installs it with apt-get, uses it
# as an ordinary user (quelvo-cli in the per-user folder; quelvo MINIMIZE from
# the autostart entry under Xvfb), then purges it and checks that the user's
# reminders stay. Needs root or sudo: it installs the package (replacing an
# installed quelvo) and purges it at the end, and as root it creates a user
# for the run. scripts/test-package builds the package and runs this.
# Usage: installed_package.sh DEB
set -u
deb=$1
start=$(date +%s)
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo

passed=0 failed=0
check() { if eval "$2"; then passed=$((passed+1)); else failed=$((failed+1)); echo "FALHOU: $1"; fi; }

# ---- The package itself ----
lintian --fail-on error --display-info "$deb" >"$deb.lintian" 2>&1; rc=$?
grep -v '^N:\|not recommended' "$deb.lintian"
check "lintian sem erros" '[ $rc -eq 0 ]'

# ---- Installed ----
user=quelvoteste made_user="" temp_home=""
xvfb="" quelvo_pid=""
cleanup() {
  [ -n "$quelvo_pid" ] && kill "$quelvo_pid" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  [ -n "$made_user" ] && userdel -r "$user" 2>/dev/null
  [ -n "$temp_home" ] && rm -rf "$temp_home"
  $SUDO apt-get -o DPkg::Lock::Timeout=600 purge -y -qq quelvo >/dev/null 2>&1
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq "$deb" >/dev/null
check "apt-get instala o pacote" '[ -x /usr/bin/quelvo ] && [ -x /usr/bin/quelvo-cli ]'
installed_at=$(date +%s)

desktop-file-validate /usr/share/applications/quelvo.desktop; rc=$?
check "entrada do menu válida" '[ $rc -eq 0 ]'
desktop-file-validate /etc/xdg/autostart/quelvo.desktop; rc=$?
check "entrada de início automático válida" '[ $rc -eq 0 ]'
check "entrada do menu: Quelvo 3.0" 'grep -qx "Name=Quelvo 3.0" /usr/share/applications/quelvo.desktop'
appstreamcli validate --no-net /usr/share/metainfo/*.metainfo.xml >/tmp/quelvo-appstream.$$ 2>&1; rc=$?
check "metainfo AppStream válida" '[ $rc -eq 0 ] || { cat /tmp/quelvo-appstream.$$; false; }'
rm -f /tmp/quelvo-appstream.$$
check "ícones do tema hicolor" \
  '[ "$(ls /usr/share/icons/hicolor/*/apps/quelvo.png | wc -l)" -ge 6 ] && [ -f /usr/share/icons/hicolor/48x48/apps/quelvo.png ]'
for page in quelvo quelvo-cli; do
  out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  check "man -l $page: sem avisos" '[ -z "$out" ] || { echo "$out"; false; }'
done
manual=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l /usr/share/man/man1/quelvo-cli.1.gz 2>/dev/null)
check "man quelvo-cli: renderizado" 'grep -q "^NOME" <<<"$manual"'
# Every command the program knows (from its own usage text) and every exit code has its entry.
commands=$(quelvo-cli 2>&1 | sed -n 's/^  \([a-z]*\).*/\1/p')
check "quelvo-cli lista comandos" '[ "$(wc -w <<<"$commands")" -ge 11 ]'
for cmd in $commands; do check "man quelvo-cli: comando $cmd" 'grep -qE "^ {7}$cmd( |$)" <<<"$manual"'; done
for code in 0 1 2 3; do check "man quelvo-cli: código $code" 'grep -qE "^ {7}$code {2,}" <<<"$manual"'; done

# ---- Used by an ordinary user ----
# As root: a user made for the run (removed at the end). Otherwise: the caller,
# with a temporary home, so that a real per-user folder is never touched.
if [ "$(id -u)" -eq 0 ]; then
  if ! id "$user" >/dev/null 2>&1; then useradd --create-home --shell /bin/bash "$user" && made_user=1; fi
  as_user() { runuser -u "$user" -- "$@"; }
  home=$(getent passwd "$user" | cut -d: -f6)
  rm -rf "$home/.local/share/quelvo" "$home/lembretes.tvb"  # left by an earlier run
else
  user=$(id -un)
  as_user() { "$@"; }
  home=$(mktemp -d) temp_home=$home
fi
folder=$home/.local/share/quelvo
# A login's environment, nothing inherited from this script's.
run() { as_user env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/local/bin:/usr/bin:/bin \
  LC_ALL=pt_BR.UTF-8 ${DISPLAY:+DISPLAY=$DISPLAY} "$@"; }

due=$(date -d '1 minute ago' '+%d/%m/%Y %H:%M')
run quelvo-cli incluir "${due% *}" "${due#* }" "Reunião do condomínio"; rc=$?
check "quelvo-cli inclui como usuário comum" '[ $rc -eq 0 ]'
check "a pasta pessoal foi criada com os dados" '[ -s "$folder/dados/tavodb.idx" ] && [ -s "$folder/dados/tavodb.dat" ]'
check "a pasta pessoal é do usuário" '[ "$(stat -c %U "$folder/dados/tavodb.dat")" = "$user" ]'
check "calendário e sons copiados de /usr/share/quelvo" \
  'diff -r /usr/share/quelvo/datas "$folder/dados/datas" && diff -r /usr/share/quelvo/sons "$folder/dados/sons"'
run quelvo-cli incluir 24/12/2030 20:00 "Ceia de Natal" --repeticao Anual
listing=$(run quelvo-cli listar)
check "quelvo-cli lista os dois lembretes" \
  '[ "$(wc -l <<<"$listing")" -eq 2 ] && grep -q "Reunião do condomínio" <<<"$listing" && grep -qP "^24/12/2030\t20:00\tAnual\tCeia de Natal$" <<<"$listing"'
run quelvo-cli backup "$home/lembretes.tvb"; rc=$?
check "quelvo-cli grava o backup" '[ $rc -eq 0 ] && [ "$(head -c 7 "$home/lembretes.tvb")" = TAVOBKP ]'

# ---- Started at login: the autostart entry's Exec line, under Xvfb ----
exec_line=$(sed -n 's/^Exec=//p' /etc/xdg/autostart/quelvo.desktop)
check "início automático: quelvo MINIMIZE" '[ "$exec_line" = "quelvo MINIMIZE" ]'
exec 3< <(Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>&1 >/dev/null 2>&1)
xvfb=$!
read -r -t 20 display <&3
if [ -n "${display:-}" ]; then
  logs=$(mktemp -d) log=$logs/log
  chmod 777 "$logs"
  # The shell writes its process id, then becomes the program.
  DISPLAY=:$display run QT_QPA_PLATFORM=xcb QUELVO_STARTUP_REPORT=1 \
    sh -c "echo \$\$ >'$logs/pid'; exec $exec_line 2>>'$log'" &
  session=$!
  for _ in $(seq 100); do [ -s "$logs/pid" ] && break; sleep 0.1; done
  quelvo_pid=$(cat "$logs/pid")
  # quelvo-cli refuses a writing command with 3 while the program holds its lock
  # (this one would only be refused otherwise, so nothing is written).
  for _ in $(seq 100); do run quelvo-cli excluir 99 2>/dev/null; [ $? -eq 3 ] && break; sleep 0.1; done
  run quelvo-cli incluir 01/01/2031 10:00 "Não deve entrar" 2>/dev/null; rc=$?
  check "quelvo MINIMIZE segura a trava de instância única" '[ $rc -eq 3 ] && kill -0 $quelvo_pid'
  for _ in $(seq 100); do grep -q '^janela-principal' "$log" && break; sleep 0.1; done
  check "quelvo MINIMIZE chega à primeira ativação" 'grep -q "^janela-principal" "$log"'
  # The reminder due a minute ago comes up at the first check, with the default sound of the per-user folder.
  for _ in $(seq 250); do grep -q '^alerta' "$log" && break; sleep 0.1; done
  check "o alarme usa o som da pasta pessoal" 'grep -qx "som $folder/dados/sons/gongo.wav" "$log" || { cat "$log"; false; }'
  kill "$quelvo_pid"; wait "$session"; quelvo_pid=""
  rm -rf "$logs"
else
  check "Xvfb iniciou" false
fi

# ---- Removed: the user's reminders stay ----
sums=$(cd "$folder/dados" && md5sum tavodb.idx tavodb.dat)
DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 purge -y -qq quelvo >/dev/null
check "o pacote foi removido" '[ ! -e /usr/bin/quelvo ] && [ ! -e /usr/share/quelvo ] && [ ! -e /etc/xdg/autostart/quelvo.desktop ]'
check "os lembretes do usuário continuam" '[ "$(cd "$folder/dados" && md5sum tavodb.idx tavodb.dat)" = "$sums" ] && [ -f "$home/lembretes.tvb" ]'
[ "$(id -u)" -eq 0 ] && [ -z "$made_user" ] && rm -rf "$folder" "$home/lembretes.tvb"

echo "tests/package: $passed passed, $failed failed ($(( $(date +%s) - start )) s, $(( $(date +%s) - installed_at )) s depois de instalar)"
[ $failed -eq 0 ]
