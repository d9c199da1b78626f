#!/bin/bash
# Checks the Slurm road for real on this one machine: installs Debian's
# slurm-wlm and munge, starts a one-node cluster on localhost, submits a
# 3-task array of a few generations with zarnik-runs.sbatch and ranks the
# runs; then a set of 4 places with a goal through zarnik-set.sh (split in
# two arrays: MaxArraySize is 3 here), requeues one place in the middle, and
# checks the set against `zarnik-train --runs 4` of the same seed and goal.
# Tears the cluster down again. Needs root (or sudo).
#
#   bash scripts/slurm/smoke.sh [path/to/zarnik-train]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
train=$(realpath "${1:-$here/../../build/release/src/train/zarnik-train}")
[ -x "$train" ] || { echo "smoke.sh: no trainer at $train (build it first)" >&2; exit 2; }
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

if ! command -v slurmctld >/dev/null || ! command -v munged >/dev/null; then
  $sudo apt-get install -y --no-install-recommends slurm-wlm munge
fi

work=$(mktemp -d /tmp/zarnik-slurm-XXXXXX)
chmod 755 "$work"
node=$(hostname -s)
cpus=$(nproc)
conf=$work/slurm.conf
cat >"$conf" <<CONF
ClusterName=zarnik-smoke
SlurmctldHost=$node
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$work/munge/munge.socket
CommunicationParameters=NoAddrCache
MpiDefault=none
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmdSpoolDir=$work/slurmd
StateSaveLocation=$work/state
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
SlurmctldPort=6917
SlurmdPort=6918
MaxArraySize=3
NodeName=$node NodeAddr=127.0.0.1 CPUs=$cpus State=UNKNOWN
PartitionName=smoke Nodes=$node Default=YES MaxTime=INFINITE State=UP
CONF
mkdir -p "$work/slurmd" "$work/state" "$work/munge" "$work/runs"
export SLURM_CONF=$conf

# Our own munge daemon on its own socket and key, so nothing of the machine's is touched.
$sudo dd if=/dev/urandom of="$work/munge/munge.key" bs=1024 count=1 status=none
$sudo chmod 400 "$work/munge/munge.key"
socket=$work/munge/munge.socket
pids=()
cleanup() {
  for pid in "${pids[@]}"; do $sudo kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  $sudo rm -rf "$work"
}
trap cleanup EXIT

$sudo munged --force --key-file="$work/munge/munge.key" --socket="$socket" \
  --pid-file="$work/munge/munged.pid" --log-file="$work/munge/munged.log" --seed-file="$work/munge/seed"
sleep 1
pids+=("$(cat "$work/munge/munged.pid")")

$sudo env SLURM_CONF="$conf" slurmctld -D -f "$conf" >"$work/slurmctld.out" 2>&1 &
pids+=($!)
$sudo env SLURM_CONF="$conf" slurmd -D -f "$conf" -N "$node" >"$work/slurmd.out" 2>&1 &
pids+=($!)

for _ in $(seq 60); do
  sinfo -h -o %T 2>/dev/null | grep -Eq '^(idle|mixed)' && break
  sleep 1
done
sinfo -h -o %T | grep -Eq '^(idle|mixed)' || { echo "smoke.sh: node did not come up" >&2; cat "$work"/*.log >&2; exit 1; }

cd "$work/runs"
start=$(date +%s)
job=$(ZARNIK_TRAIN=$train sbatch --parsable --wait --array=0-2 --cpus-per-task=1 \
  --export=ALL,ZARNIK_TRAIN="$train" "$here/zarnik-runs.sbatch" zarnik.dat 5 1)
echo "smoke.sh: array job $job ended after $(($(date +%s) - start)) s"
ls zarnik.runs/run-[0-2].dat >/dev/null
"$train" --rank zarnik.runs/run-0.dat zarnik.runs/run-1.dat zarnik.runs/run-2.dat

# A set over the cluster. Seed 13 with goal 1: place 0 gives run 0 up at 300 and meets the goal with run 4
# at work 400, place 1 with run 1 at 400 too (a lower mean): run 4 wins; places 2 and 3 stop at 400.
seed=13 goal=1
fail() { echo "smoke.sh: $*" >&2; exit 1; }
mkdir "$work/one" "$work/set"
(cd "$work/one" && "$train" --runs 4 --seed $seed --until-deliveries $goal --threads 2 --quiet zarnik.dat >/dev/null)
cd "$work/set"
start=$(date +%s)
submitted=$(ZARNIK_TRAIN=$train bash "$here/zarnik-set.sh" -t 2 4 zarnik.dat $seed $goal --cpus-per-task=1)
echo "$submitted"
first=$(echo "$submitted" | awk '/^places:/ {print $2}')
[ "$(echo "$submitted" | awk '/^places:/ {print NF - 1}')" -eq 2 ] || fail "4 places were not split into two arrays"
# Place 1 is requeued once it has stored its run: it goes on from its files.
for _ in $(seq 300); do [ -e zarnik.runs/run-1.dat ] && break; sleep 0.1; done
[ -e zarnik.runs/run-1.dat ] || fail "place 1 stored nothing"
scontrol requeue "${first}_1"
for _ in $(seq 50); do
  [ "$(squeue -h -j "${first}_1" -o %T 2>/dev/null)" = PENDING ] && break
  sleep 0.2
done
scontrol update JobId="${first}_1" StartTime=now >/dev/null 2>&1 || true
for _ in $(seq 600); do
  [ -z "$(squeue -h -o %i)" ] && break
  sleep 0.5
done
[ -z "$(squeue -h -o %i)" ] && echo "smoke.sh: set ended after $(($(date +%s) - start)) s" || fail "the set did not end in 5 minutes"

[ -e zarnik.runs/summary.txt ] || fail "the collecting job did not run"
cat zarnik.runs/summary.txt
cmp zarnik.dat "$work/one/zarnik.dat" || fail "the set's winner is not that of --runs 4"
cmp zarnik.runs/run-1-best.dat "$work/one/zarnik.runs/run-1-best.dat" || fail "the requeued place decided otherwise"
grep -qx "starts 2" zarnik.runs/place-1.txt || fail "place 1 was not started again: $(cat zarnik.runs/place-1.txt)"
for p in 0 1 2 3; do
  # Each place ends at its first check at or past the goal's work, 400.
  ended=$(awk '$1 == "ended" {print $2}' zarnik.runs/place-$p.txt)
  work=$(awk '$1 == "work" {print $2}' zarnik.runs/place-$p.txt)
  [[ $ended == goal || $ended == after-goal ]] && [ "$work" -le 500 ] || fail "place $p: ended $ended at work $work"
done
# No task wrote another's files: each file of a place was last written before its task ended (to the
# second); the set's own files are the collecting job's.
read -r -a arrays <<<"$(echo "$submitted" | awk '/^places:/ {$1 = ""; print}')"
ended_at() { date -d "$(scontrol show job "$1" | grep -o 'EndTime=[^ ]*' | cut -d= -f2)" +%s; }
for f in zarnik.runs/*; do
  name=${f#zarnik.runs/}
  case $name in
    run-*) k=${name#run-}; p=$(( ${k%%[-.]*} % 4 )) ;;
    goal-*|place-*) p=${name#*-}; p=${p%.txt} ;;
    set.txt|summary.txt) continue ;;
    *) fail "a stray file $name" ;;
  esac
  [ "$(stat -c %Y "$f")" -le $(( $(ended_at "${arrays[p / 3]}_$((p % 3))") + 1 )) ] || fail "$name written after place $p ended"
done
echo "smoke.sh: ok"
