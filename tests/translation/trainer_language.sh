#!/usr/bin/env bash
# The trainer's line for a file of the wrong size, by locale: English for
# en_*, German as designed for C and de_DE (the README's wording).
set -euo pipefail
train=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf abc >"$tmp/short.dat"
check() {  # LANG, expected line
  local got
  got=$(cd "$tmp" && env -u LC_ALL -u LC_MESSAGES LANG="$1" "$train" --evaluate short.dat 2>&1 >/dev/null || true)
  [ "$got" = "$2" ] || { echo "LANG=$1: '$got', expected '$2'" >&2; exit 1; }
}
check en_US.UTF-8 "zarnik-train: Cannot load file 'short.dat': wrong size (3 instead of 199620 bytes)"
check C "zarnik-train: Kann Datei 'short.dat' nicht laden: falsche Größe (3 statt 199620 Bytes)"
check de_DE.UTF-8 "zarnik-train: Kann Datei 'short.dat' nicht laden: falsche Größe (3 statt 199620 Bytes)"
echo "The trainer speaks the locale's language."
