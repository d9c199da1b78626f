#!/bin/bash
# Submits a set of runs over a cluster: the places as array jobs of zarnik-set.sbatch (split into parts
# of at most the cluster's MaxArraySize tasks) and the job that collects the set once they have all
# ended, whatever way (afterany). Run it in a directory all nodes share; it prints the job ids.
#
#   bash scripts/slurm/zarnik-set.sh [-t THROTTLE] [-G GENERATIONS] PLACES FILE SEED GOAL [sbatch options...]
#
# THROTTLE (%N) limits the tasks of each part that run at once. The sbatch options (e.g.
# --partition, --cpus-per-task, --time) go to every job of the set.
set -euo pipefail

throttle="" generations=""
while getopts "t:G:" opt; do
  case $opt in
    t) throttle=$OPTARG ;;
    G) generations=$OPTARG ;;
    *) sed -n '5p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 4 ] || { sed -n '5p' "$0" >&2; exit 2; }
places=$1 file=$2 seed=$3 goal=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
script=$here/zarnik-set.sbatch
[[ $places =~ ^[1-9][0-9]*$ ]] || { echo "zarnik-set.sh: PLACES must be a number from 1" >&2; exit 2; }
[ -z "$throttle" ] || [[ $throttle =~ ^[1-9][0-9]*$ ]] || { echo "zarnik-set.sh: THROTTLE must be a number from 1" >&2; exit 2; }

# MaxArraySize bounds the index, not only the count: indices 0 .. MaxArraySize-1.
max=$(scontrol show config | awk '$1 == "MaxArraySize" {print $3}')
[[ ${max:-} =~ ^[0-9]+$ ]] && [ "$max" -gt 0 ] || max=1001
args=("$places" "$file" "$seed" "$goal")
[ -z "$generations" ] || args+=("$generations")
jobs=()
for ((offset = 0; offset < places; offset += max)); do
  count=$((places - offset < max ? places - offset : max))
  array="0-$((count - 1))${throttle:+%$throttle}"
  jobs+=("$(sbatch --parsable --array="$array" --export=ALL,ZARNIK_PLACE_OFFSET="$offset" "$@" "$script" "${args[@]}")")
done
after=$(IFS=:; echo "${jobs[*]%%;*}")
collect=$(sbatch --parsable --dependency=afterany:"$after" --job-name=zarnik-collect --output=zarnik-collect-%j.out \
  "$@" "$script" "${args[@]}")
echo "places: ${jobs[*]%%;*}"
echo "collect: ${collect%%;*}"
