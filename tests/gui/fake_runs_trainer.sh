#!/bin/sh
# Stands in for `zarnik-train --runs ... --progress FILE` in the window's tests:
# prints the progress lines of runs 0, 1 and 3 (run 2 ended before its first
# line, as a refill the set's end overtakes; run 3 goes on from run 1's kept
# best of generation 200), a ranking and the winner line.
# $1: a population file that becomes run 1's; then the trainer's arguments,
# written to fake-args.txt. FAKE_WAIT=1: trains until SIGTERM, then stops.
source=$1
shift
echo "$*" > fake-args.txt
for file; do :; done
stem=${file%.dat}
if [ -f "$file" ]; then cp "$file" fake-found.dat; else rm -f fake-found.dat; fi  # what the set found there
# What the set is, as the trainer stores it: the next call with the same arguments resumes.
mkdir -p "$stem.runs"
seed=1; runs=1; goal=-
set -- "$@"
while [ $# -gt 0 ]; do
  case $1 in
    --seed) seed=$2; shift ;;
    --runs) runs=$2; shift ;;
    --until-deliveries) goal=$2; shift ;;
  esac
  shift
done
[ "$goal" = 3.0 ] && goal=3
[ -f "$stem.runs/set.txt" ] || printf 'zarnik-set 1\nseed %s\nruns %s\ngoal %s\nrestarts 1\n' "$seed" "$runs" "$goal" > "$stem.runs/set.txt"
trap 'printf "run\t0\t1\t300\t700\t1\t0.40\t0.40\tstopped\n"; exit 130' TERM
for g in 100 200; do
  printf 'run\t0\t1\t%d\t%d\t0\t-\t-\trunning\n' $g $((g * 2))
  printf 'run\t1\t2\t%d\t%d\t3\t1.25\t1.25\trunning\n' $g $((g * 5))
done
printf 'run\t3\t4\t200\t150\t0\t-\t-\trunning\n'
printf 'from\t3\t1\t200\n'
if [ -n "$FAKE_WAIT" ]; then
  while :; do sleep 0.02; done
fi
printf 'run\t1\t2\t250\t1300\t4\t3.10\t3.10\tgoal\n'
cp "$source" "$file"
printf 'Rang  Datei          Ablagen\n   1  %s.runs/run-1-best.dat  31\n' "$stem"
printf 'winner %s\n' "$file"
