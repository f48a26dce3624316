#!/usr/bin/env bash
# Runs one GUI test program on a real X11 display: a private Xvfb with the
# openbox window manager, so that keys, clicks and the clipboard go through
# the X server (xdotool, xsel) as a user's would. Exit 77 (skipped) when the
# display tools are missing.
set -u
support=$(dirname "$0")/../../support
. "$support/skip.sh"
. "$support/x11_display.sh"
for tool in Xvfb openbox xdotool xsel xprop; do
  command -v "$tool" >/dev/null || skip_test "sem $tool"
done
tmp=$(mktemp -d)
trap 'stop_x11_display; rm -rf "$tmp"' EXIT
start_x11_display 1024x768 "$tmp" || exit 1
QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$tmp "$@"
