#!/usr/bin/env bash
# Runs one GUI test program on a real X11 display: a private Xvfb with the
# openbox window manager, so that keys, clicks and the clipboard go through
# the X server (xdotool, xsel) as a user's would. Exit 77 (skipped) when the
# display tools are missing.
set -u
. "$(dirname "$0")/../../support/skip.sh"
for tool in Xvfb openbox xdotool xsel xprop; do
  command -v "$tool" >/dev/null || skip_test "sem $tool"
done
tmp=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null & xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
[ -s "$tmp/display" ] || { echo "o Xvfb não abriu"; exit 1; }
export DISPLAY=":$(cat "$tmp/display")"
openbox >/dev/null 2>&1 & wm=$!
# The window manager is ready once it has announced itself on the root window.
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || { echo "o openbox não começou"; exit 1; }
QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$tmp "$@"
rc=$?
kill "$wm" "$xvfb" 2>/dev/null
wait 2>/dev/null
rm -rf "$tmp"
exit $rc
