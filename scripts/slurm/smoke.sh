#!/bin/bash
# Checks the Slurm road for real on this one machine: installs Debian's
# slurm-wlm and munge, starts a one-node cluster on localhost, submits a
# 4-task array of a few generations with zarnik-runs.sbatch, waits for it,
# ranks the runs and tears the cluster down again. Needs root (or sudo).
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
job=$(ZARNIK_TRAIN=$train sbatch --parsable --wait --array=0-3 --cpus-per-task=1 \
  --export=ALL,ZARNIK_TRAIN="$train" "$here/zarnik-runs.sbatch" zarnik.dat 5 1)
echo "smoke.sh: array job $job ended after $(($(date +%s) - start)) s"
ls zarnik.runs/run-[0-3].dat >/dev/null
"$train" --rank zarnik.runs/run-0.dat zarnik.runs/run-1.dat zarnik.runs/run-2.dat zarnik.runs/run-3.dat
echo "smoke.sh: ok"
