#!/usr/bin/env bash
# Runs a command on a real X11 display (with_x11.sh) inside a private session
# bus with its own accessibility bus, as a desktop with a screen reader has:
# Qt's bridge to assistive technology comes up, and AT-SPI clients find the
# program. Exit 77 (skipped) when a tool is missing.
set -u
if [ "${QUELVO_IN_SESSION_BUS:-}" != 1 ]; then
  for tool in dbus-run-session /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || [ -x "$tool" ] || { echo "sem $tool: teste ignorado"; exit 77; }
  done
  # dbus-daemon reports on standard error that it may not raise its file limit.
  QUELVO_IN_SESSION_BUS=1 exec dbus-run-session -- bash "$0" "$@" 2> >(grep -v 'Failed to set fd limit' >&2)
fi
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & launcher=$!
bash "$(dirname "$0")/with_x11.sh" "$@"
rc=$?
kill "$launcher" 2>/dev/null
wait 2>/dev/null
exit $rc
