#!/usr/bin/env bash
# The trainer's line for a file of the wrong size, its --help headings (Qt's
# own texts) and the ranking's head, by locale: English for en_*, German as
# designed for C and de_DE (the README's wording).
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

# A line of `zarnik-train ARGS...` under LANG=$1 that matches the pattern $2.
# The output is taken whole first: grep -q stops reading at its match, and a
# trainer still writing (a help longer than one pipe write) would die of SIGPIPE.
has_line() {
  local lang=$1 pattern=$2 out
  shift 2
  out=$(cd "$tmp" && env -u LC_ALL -u LC_MESSAGES LANG="$lang" "$train" "$@")
  grep -qx -- "$pattern" <<<"$out" || { echo "LANG=$lang $*: no line '$pattern'" >&2; exit 1; }
}
for lang in C de_DE.UTF-8; do
  has_line "$lang" "Optionen:" --help
  has_line "$lang" "Argumente:" --help
  has_line "$lang" "Aufruf: .*zarnik-train \\[Optionen\\] FILE" --help
done
has_line en_US.UTF-8 "Options:" --help
has_line en_US.UTF-8 "Arguments:" --help
has_line en_US.UTF-8 "Usage: .*zarnik-train \\[options\\] FILE" --help

(cd "$tmp" && "$train" --generations 1 --seed 3 --quiet ranked.dat)
has_line C "Rang  Datei                        Generationen  Ablagen/Episode  Ablagen  Aufnahmen      Fitness" --rank ranked.dat
has_line en_US.UTF-8 "Rank  File                          Generations Deliveries/episode Deliveries      Takes      Fitness" --rank ranked.dat
has_line en_US.UTF-8 "(each file's best in all 100 episodes, .*)" --rank ranked.dat
echo "The trainer speaks the locale's language."
