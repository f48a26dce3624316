#!/usr/bin/env bash
# Runs a command on a real X11 display (with_x11.sh) inside a private session
# bus with its own accessibility bus, as a desktop with a screen reader has:
# Qt's bridge to assistive technology comes up, and AT-SPI clients find the
# program. Exit 77 (skipped) when a tool is missing.
set -u
. "$(dirname "$0")/../../support/skip.sh"
if [ "${QUELVO_IN_SESSION_BUS:-}" != 1 ]; then
  for tool in dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || [ -x "$tool" ] || skip_test "sem $tool"
  done
  # dbus-daemon reports on standard error that it may not raise its file limit.
  QUELVO_IN_SESSION_BUS=1 exec dbus-run-session -- bash "$0" "$@" 2> >(grep -v 'Failed to set fd limit' >&2)
fi
# The accessibility bus's socket goes below XDG_RUNTIME_DIR: a folder of our
# own, so that runs side by side do not share it.
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & launcher=$!
# A client that asks before the launcher holds its name would have the bus
# start a second one, and the two would fail each other.
for _ in $(seq 200); do
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true' && break
  sleep 0.05
done
bash "$(dirname "$0")/with_x11.sh" "$@"
rc=$?
kill "$launcher" 2>/dev/null
wait 2>/dev/null
rm -rf "$runtime"
exit $rc
