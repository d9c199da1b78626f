#!/bin/bash
# How long a user waits for a network that carries the ball: the wall time until
# a set of runs holds a network with a mean of GOAL deliveries per episode over
# all 100 episodes, for plain runs side by side and for the restart rule, run as
# a user runs them, SEEDS sets of each, taking turns, in one run. Prints every
# set, and for each kind the median, the 90th percentile, how many missed the
# goal, and the CPU seconds per core beside the wall time.
#
#   bash bench/time_to_delivery.sh [-n SEEDS] [-s S1,S2,..] [-g GOAL] [-m MINUTES] [-p PLAIN_RUNS] [-r RULE_RUNS] [-k KINDS] [TRAINER]
#
# The seeds are drawn at random unless -s gives them, and printed first, so
# that any run can be repeated: figures on the seeds a rule was fitted on are
# no evidence for it. Defaults: 16 seeds, goal 3, at most 15 minutes a set, 4 plain runs, as many
# runs with the restart rule as there are cores; TRAINER is the release build's
# zarnik-train. The limit counts CPU time per core, not wall time. -k names the kinds compared, comma-separated (default
# "plain,rule"); a kind "rule:ARGS" runs the restart rule's --runs with ARGS
# added, e.g. -k "rule,rule:--strategy restart". A set that meets no goal within its minutes counts as that long:
# the script says how many did, and a median among them is only a lower bound.
# Both kinds of set start from the same seed S (runs S, S+1, ...), so the pairs
# share their first runs. The machine should be otherwise idle; on a shared one
# the CPU seconds beside the wall time show how much it was.
set -euo pipefail

seeds=16 goal=3 minutes=15 plain=4 rule=$(nproc) given="" kinds="plain,rule"
while getopts "n:s:g:m:p:r:k:" opt; do
  case $opt in
    n) seeds=$OPTARG ;;
    s) given=$OPTARG ;;
    g) goal=$OPTARG ;;
    m) minutes=$OPTARG ;;
    p) plain=$OPTARG ;;
    r) rule=$OPTARG ;;
    k) kinds=$OPTARG ;;
    *) sed -n '9p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
here=$(cd "$(dirname "$0")/.." && pwd)
trainer=${1:-$here/build/release/src/train/zarnik-train}
[[ -x $trainer ]] || { echo "time_to_delivery.sh: no trainer at $trainer (cmake --preset release && cmake --build --preset release)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
IFS=, read -r -a kind_list <<<"$kinds"
cores=$(nproc)

# CPU clock ticks of process $1 and its children so far (live ones and those it has waited for).
tree_ticks() {
  local files=(/proc/"$1"/stat) child
  for child in $(pgrep -P "$1"); do files+=(/proc/"$child"/stat); done
  cat "${files[@]}" 2>/dev/null | awk '{ sub(/^.*\) /, ""); t += $12 + $13 + $14 + $15 } END { print t + 0 }'
}
tick=$(getconf CLK_TCK)

# The shell's children's CPU seconds so far (user + system), into $cpu_now: `times` in this shell, not in a
# command substitution's (whose children are its own).
children_cpu() {
  times >"$work/times"
  cpu_now=$(awk 'NR == 2 { for (i = 1; i <= 2; ++i) { split($i, p, /[ms]/); t += p[1] * 60 + p[2] } print t }' "$work/times")
}

# One set: prints "WALL CPU MET" (MET 1 if a network met the goal). Its limit is MINUTES of CPU time per
# core, so that a shared machine does not cut sets short (10 x MINUTES of wall time is a last guard).
one_set() {
  local kind=$1 seed=$2 dir=$work/set-$2 extra
  mkdir -p "$dir"
  local args=(--runs "$plain" --no-restart)
  if [[ $kind == rule* ]]; then
    args=(--runs "$rule")
    extra=${kind#rule}
    extra=${extra#:}
    [[ -n $extra ]] && read -r -a more <<<"$extra" && args+=("${more[@]}")
  fi
  local before start pid status=0 stopped=0
  children_cpu
  before=$cpu_now
  start=$(date +%s.%N)
  "$trainer" "${args[@]}" --seed "$seed" --until-deliveries "$goal" --minutes "$(awk -v m="$minutes" 'BEGIN { print 10 * m }')" \
    --quiet "$dir/z.dat" >"$dir/out.txt" 2>"$dir/err.txt" &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    sleep 0.5
    if awk -v t="$(tree_ticks "$pid")" -v k="$tick" -v n="$cores" -v m="$minutes" 'BEGIN { exit !(t / k / n >= m * 60) }'; then
      kill -TERM "$pid"
      stopped=1
      break
    fi
  done
  wait "$pid" || status=$?
  ((status == 0 || (stopped == 1 && status == 130))) ||
    { echo "time_to_delivery.sh: $kind set of seed $seed failed:" >&2; cat "$dir/err.txt" >&2; exit 1; }
  local met=0
  grep -q '^Gewinner: ' "$dir/out.txt" && ! grep -q 'Ziel nicht erreicht' "$dir/out.txt" && met=1
  children_cpu
  echo "$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { print e - s }') $(awk -v a="$before" -v b="$cpu_now" 'BEGIN { print b - a }') $met"
  rm -rf "$dir"
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
# The 90th percentile, nearest rank.
p90() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { r = int(0.9 * NR + 0.999999); print v[r < 1 ? 1 : r] }'; }

if [[ -n $given ]]; then
  IFS=, read -r -a seed_list <<<"$given"
else
  seed_list=()
  for ((i = 0; i < seeds; ++i)); do seed_list+=("$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')"); done
fi
seeds=${#seed_list[@]}
echo "seeds: $(IFS=,; echo "${seed_list[*]}")  (repeat with -s)"
declare -A walls=() cpus=() missed=()
for kind in "${kind_list[@]}"; do missed[$kind]=0; done

echo "goal: $goal deliveries per episode over all 100 episodes; plain: --runs $plain --no-restart; rule: --runs $rule; kinds: $kinds; at most $minutes min a set"
for ((i = 1; i <= seeds; ++i)); do
  seed=${seed_list[i - 1]}
  # Taking turns at going first, so a change of the machine's load falls on every kind.
  order=()
  n=${#kind_list[@]}
  for ((j = 0; j < n; ++j)); do order+=("${kind_list[(i + j) % n]}"); done
  for kind in "${order[@]}"; do
    read -r wall cpu met <<<"$(one_set "$kind" "$seed")"
    printf 'seed %10d  %-24s  %8.1f s wall  %8.1f s CPU  %s\n' "$seed" "$kind" "$wall" "$cpu" \
      "$([[ $met == 1 ]] && echo goal || echo 'no goal within the limit')"
    walls[$kind]+=" $wall"
    cpus[$kind]+=" $(awk -v c="$cpu" -v n="$cores" 'BEGIN { print c / n }')"
    ((met == 1)) || missed[$kind]=$((missed[$kind] + 1))
  done
done
for kind in "${kind_list[@]}"; do
  read -r -a w <<<"${walls[$kind]}"
  read -r -a c <<<"${cpus[$kind]}"
  printf '%-24s over %d seeds: median %.1f s, 90th percentile %.1f s wall (CPU per core: median %.1f s, 90th percentile %.1f s), %d without goal within %s min\n' \
    "$kind" "$seeds" "$(median "${w[@]}")" "$(p90 "${w[@]}")" "$(median "${c[@]}")" "$(p90 "${c[@]}")" "${missed[$kind]}" "$minutes"
done
