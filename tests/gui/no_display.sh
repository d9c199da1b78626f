#!/usr/bin/env bash
# The window started where there is no display: one line on stderr, in the
# locale's language, and status 1, not Qt's abort.
set -uo pipefail
zarnik=$1
check() {  # LANG (empty: none), expected line
  local err status
  if [ -n "$1" ]; then
    err=$(env -i PATH="$PATH" LANG="$1" "$zarnik" 2>&1 >/dev/null)
  else
    err=$(env -i PATH="$PATH" "$zarnik" 2>&1 >/dev/null)
  fi
  status=$?
  [ "$status" = 1 ] || { echo "LANG=$1: status $status, expected 1 ($err)" >&2; exit 1; }
  [ "$err" = "$2" ] || { echo "LANG=$1: '$err', expected '$2'" >&2; exit 1; }
}
check "" "zarnik: keine grafische Anzeige (DISPLAY, WAYLAND_DISPLAY und QT_QPA_PLATFORM sind nicht gesetzt)"
check en_US.UTF-8 "zarnik: no graphical display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are not set)"
echo "Without a display the window says so and ends."
