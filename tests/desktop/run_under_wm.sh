#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program on its own Xvfb screen under the openbox window manager, with the xcb
# platform; exits 77 (skipped) when Xvfb, openbox or xprop is not installed. Every wait has a limit,
# and the server and the window manager are ended however the test ends.
#   run_under_wm.sh PROGRAM [ARGS...]
set -u
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/zemo-wm.XXXXXX") || exit 1
xvfb_pid=""; wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# The server picks a free display and writes its number once it listens.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
i=0
while [ ! -s "$work/display" ]; do
  i=$((i + 1)); [ $i -gt 100 ] && { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
  sleep 0.1
done
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
# The window manager is up once it has announced itself on the root window.
i=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  i=$((i + 1)); [ $i -gt 100 ] && { echo "openbox did not start"; cat "$work/openbox.log"; exit 1; }
  sleep 0.1
done

# The desktop bus library keeps a buffer for the whole run.
LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS
QT_QPA_PLATFORM=xcb timeout -k 10 240 "$@"
