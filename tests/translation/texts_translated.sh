#!/usr/bin/env bash
# Fails if a translatable text of the sources has no finished English
# translation: runs lupdate over every source into a copy of the shipped .ts
# and counts what it leaves unfinished (new texts come in unfinished).
# Usage: texts_translated.sh LUPDATE SOURCES.lst TS OPTIONS...
set -euo pipefail
lupdate=$1 sources=$2 ts=$3
shift 3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$ts" "$tmp/check.ts"
"$lupdate" "$@" "@$sources" -ts "$tmp/check.ts" >"$tmp/lupdate.log" 2>&1 || { cat "$tmp/lupdate.log" >&2; exit 1; }
unfinished=$(grep -c 'type="unfinished"' "$tmp/check.ts" || true)
if [ "$unfinished" -ne 0 ]; then
  echo "$unfinished text(s) without an English translation:" >&2
  grep -B2 'type="unfinished"' "$tmp/check.ts" | grep '<source>' >&2
  echo "Run: cmake --build --preset test --target update_translations, then translate them in $ts (Qt Linguist: linguist $ts)." >&2
  exit 1
fi
if ! cmp -s "$ts" "$tmp/check.ts"; then
  echo "$ts is not what lupdate makes of the sources (texts gone or moved):" >&2
  diff -u "$ts" "$tmp/check.ts" >&2 || true
  exit 1
fi
echo "All $(grep -c '<message>' "$ts") texts translated."
