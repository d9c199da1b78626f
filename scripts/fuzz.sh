#!/usr/bin/env bash
# Fuzzes the network-file loader, the fitness-history and the learning-path readers for $1
# seconds (default 60). The corpus lives in a temporary directory, seeded with
# a valid file of each kind and a few damaged ones.
# Exits non-zero on any crash or sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
fuzzer="${FUZZER:-build/fuzz/fuzz/network_file_fuzz}"
if [ ! -x "$fuzzer" ]; then
  echo "fuzz target not built: $fuzzer (cmake --preset fuzz && cmake --build --preset fuzz)" >&2
  exit 1
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
corpus="$work/corpus"
mkdir -p "$corpus"
# Crashing inputs are kept for a look afterwards.
artifacts="build/fuzz-artifacts"
mkdir -p "$artifacts"

"$fuzzer" -write-seed "$corpus/valid.dat"
size=$(stat -c %s "$corpus/valid.dat")
head -c $((size - 1)) "$corpus/valid.dat" > "$corpus/truncated.dat"
head -c 44 "$corpus/valid.dat" > "$corpus/header-only.dat"
{ cat "$corpus/valid.dat"; printf '\0'; } > "$corpus/oversized.dat"
# Best index 100 and a record claiming 22 nodes.
cp "$corpus/valid.dat" "$corpus/bad-index.dat"
printf '\x64\x00\x00\x00' | dd of="$corpus/bad-index.dat" bs=1 seek=0 conv=notrunc status=none
cp "$corpus/valid.dat" "$corpus/bad-shape.dat"
printf '\x16\x00\x00\x00' | dd of="$corpus/bad-shape.dat" bs=1 seek=48 conv=notrunc status=none

# Histories: a good one, one with a torn last line, one number out of range.
header="generation,mode,best_fitness,average_fitness,generation_of_best,seconds"
printf '%s\n0,2,-4230,-9120,0,0.812\n1,2,-4100,-9000,1,1.630\n' "$header" > "$corpus/history.csv"
printf '%s\n0,1,-4230,-9120,0,0.812\r\n1,2,-41' "$header" > "$corpus/history-torn.csv"
printf '%s\n2147483647,1,0,0,0,0.5\n' "$header" > "$corpus/history-overflow.csv"

# Learning paths of 4-byte networks: an empty one and one entry (generation 100, 100 episodes,
# 30 takes, 12 deliveries, fitness sum 5000); their CRC-32 as zlib.crc32 gives it.
printf 'ZARNIKLP\x01\0\0\0\x04\0\0\0\0\0\0\0\xf6\xb0\xaf\0' > "$corpus/path-empty.path"
python3 -c 'import struct, sys, zlib
b = b"ZARNIKLP" + struct.pack("<IIIIIqqq", 1, 4, 1, 100, 100, 30, 12, 5000) + b"\1\2\3\4"
sys.stdout.buffer.write(b + struct.pack("<I", zlib.crc32(b)))' > "$corpus/path-one.path"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# Inputs up to one byte past a complete file, so the size checks are reached.
"$fuzzer" "$corpus" -max_total_time="$seconds" -max_len=$((size + 1)) -timeout=10 \
  -artifact_prefix="$artifacts/" -print_final_stats=1
echo "Fuzzing found nothing in ${seconds} s."
