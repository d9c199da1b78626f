#!/usr/bin/env bash
# Runs a command on a fresh Xvfb display with openbox as window manager, so
# that keys arrive through the X server as a user's would (xdotool).
#   with_xvfb.sh COMMAND [ARGS...]
set -euo pipefail
for tool in Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "with_xvfb: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
tmp=$(mktemp -d)
cleanup() {
  [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
# The server picks a free display number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1600x1000x24}" -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
[ -s "$tmp/display" ] || { cat "$tmp/xvfb.log" >&2; echo "with_xvfb: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$tmp/display")"
openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
wm=$!
# openbox owns the screen's window-manager selection once it is ready.
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done
export QT_QPA_PLATFORM=xcb
"$@"
