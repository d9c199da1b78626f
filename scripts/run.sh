#!/usr/bin/env bash
# Installs what is missing, builds the release programs (the window and the
# headless trainer) and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)" --target zarnik zarnik-train
echo "Headless trainer: $PWD/build/release/src/train/zarnik-train (see README, Headless training)"
exec ./build/release/src/zarnik/zarnik "$@"
