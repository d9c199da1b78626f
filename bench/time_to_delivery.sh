#!/bin/bash
# How long a user waits for a network that carries the ball: the wall time until
# a set of runs holds a network with a mean of GOAL deliveries per episode over
# all 100 episodes, for plain runs side by side and for the restart rule, run as
# a user runs them, SEEDS sets of each, taking turns, in one run. Prints every
# set, and for each kind the median, the 90th percentile, how many missed the
# goal, and the CPU seconds per core beside the wall time.
#
#   bash bench/time_to_delivery.sh [-n SEEDS] [-s S1,S2,..] [-g GOAL] [-m MINUTES] [-p PLAIN_RUNS] [-r RULE_RUNS] [TRAINER]
#
# The seeds are drawn at random unless -s gives them, and printed first, so
# that any run can be repeated: figures on the seeds a rule was fitted on are
# no evidence for it. Defaults: 16 seeds, goal 3, at most 15 minutes a set, 4 plain runs, as many
# runs with the restart rule as there are cores; TRAINER is the release build's
# zarnik-train. A set that meets no goal within its minutes counts as that long:
# the script says how many did, and a median among them is only a lower bound.
# Both kinds of set start from the same seed S (runs S, S+1, ...), so the pairs
# share their first runs. The machine should be otherwise idle; on a shared one
# the CPU seconds beside the wall time show how much it was.
set -euo pipefail

seeds=16 goal=3 minutes=15 plain=4 rule=$(nproc) given=""
while getopts "n:s:g:m:p:r:" opt; do
  case $opt in
    n) seeds=$OPTARG ;;
    s) given=$OPTARG ;;
    g) goal=$OPTARG ;;
    m) minutes=$OPTARG ;;
    p) plain=$OPTARG ;;
    r) rule=$OPTARG ;;
    *) sed -n '9p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
here=$(cd "$(dirname "$0")/.." && pwd)
trainer=${1:-$here/build/release/src/train/zarnik-train}
[[ -x $trainer ]] || { echo "time_to_delivery.sh: no trainer at $trainer (cmake --preset release && cmake --build --preset release)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
declare -a wall_plain=() wall_rule=()
missed_plain=0 missed_rule=0

# One set: prints "WALL CPU MET" (MET 1 if a network met the goal).
one_set() {
  local kind=$1 seed=$2 dir=$work/$1-$2 timing
  mkdir -p "$dir"
  local args=(--runs "$plain" --no-restart)
  [[ $kind == rule ]] && args=(--runs "$rule")
  TIMEFORMAT='%R %U %S'
  timing=$( { time "$trainer" "${args[@]}" --seed "$seed" --until-deliveries "$goal" --minutes "$minutes" \
                --quiet "$dir/z.dat" >"$dir/out.txt" 2>"$dir/err.txt"; } 2>&1 ) ||
    { echo "time_to_delivery.sh: $kind set of seed $seed failed:" >&2; cat "$dir/err.txt" >&2; exit 1; }
  local met=0
  grep -q '^Gewinner: ' "$dir/out.txt" && ! grep -q 'Ziel nicht erreicht' "$dir/out.txt" && met=1
  read -r real user sys <<<"$timing"
  echo "$real $(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }') $met"
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
cores=$(nproc)
echo "seeds: $(IFS=,; echo "${seed_list[*]}")  (repeat with -s)"
declare -a cpu_plain=() cpu_rule=()

echo "goal: $goal deliveries per episode over all 100 episodes; plain: --runs $plain --no-restart; rule: --runs $rule; at most $minutes min a set"
for ((i = 1; i <= seeds; ++i)); do
  seed=${seed_list[i - 1]}
  # Taking turns at going first, so a change of the machine's load falls on both.
  order=(plain rule)
  ((i % 2 == 0)) && order=(rule plain)
  for kind in "${order[@]}"; do
    read -r wall cpu met <<<"$(one_set "$kind" "$seed")"
    printf 'seed %10d  %-5s  %8.1f s wall  %8.1f s CPU  %s\n' "$seed" "$kind" "$wall" "$cpu" \
      "$([[ $met == 1 ]] && echo goal || echo 'no goal within the limit')"
    if [[ $kind == plain ]]; then
      wall_plain+=("$wall")
      cpu_plain+=("$(awk -v c="$cpu" -v n="$cores" 'BEGIN { print c / n }')")
      ((met == 1)) || missed_plain=$((missed_plain + 1))
    else
      wall_rule+=("$wall")
      cpu_rule+=("$(awk -v c="$cpu" -v n="$cores" 'BEGIN { print c / n }')")
      ((met == 1)) || missed_rule=$((missed_rule + 1))
    fi
  done
done
mp=$(median "${wall_plain[@]}")
mr=$(median "${wall_rule[@]}")
for kind in plain rule; do
  declare -n w=wall_$kind c=cpu_$kind m=missed_$kind
  printf '%-5s over %d seeds: median %.1f s, 90th percentile %.1f s wall (CPU per core: median %.1f s, 90th percentile %.1f s), %d without goal within %s min\n' \
    "$kind" "$seeds" "$(median "${w[@]}")" "$(p90 "${w[@]}")" "$(median "${c[@]}")" "$(p90 "${c[@]}")" "$m" "$minutes"
  unset -n w c m
done
awk -v p="$mp" -v r="$mr" 'BEGIN { printf "ratio plain / rule: %.2f\n", p / r }'
