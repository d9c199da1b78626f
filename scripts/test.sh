#!/usr/bin/env bash
# Installs what is missing, builds everything under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs every test through CTest, checks the release
# build's Debian package and a job array on a one-node Slurm cluster, then
# fuzzes the network-file loader, the fitness-history and learning-path readers for a bounded
# time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
cmake --preset test
cmake --build --preset test -j "$jobs"
ctest --preset test -j "$jobs"

# The core, the trainer and its evaluation pool under ThreadSanitizer: a data race fails.
cmake --preset tsan
cmake --build --preset tsan -j "$jobs"
ctest --preset tsan -j "$jobs"

# The release build must compile too (benchmarks included), without running them.
cmake --preset release
cmake --build --preset release -j "$jobs"
# The Debian package and the installed programs.
bash scripts/package-check.sh
# The Slurm road on a one-node cluster of this machine: independent runs, then a set of places with a
# requeue and its collecting job (one to two minutes).
bash scripts/slurm/smoke.sh build/release/src/train/zarnik-train

if [ -d fuzz ] && [ -f fuzz/CMakeLists.txt ]; then
  cmake --preset fuzz
  cmake --build --preset fuzz -j "$jobs"
  bash scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
fi
echo "All tests passed."
