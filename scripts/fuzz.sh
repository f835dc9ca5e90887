#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time:
# scripts/fuzz.sh BUILD_DIR SECONDS_EACH
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-"$here/build-fuzz"}
seconds=${2:-30}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
CC=clang CXX=clang++ BUILD_TYPE=RelWithDebInfo bash "$here/scripts/build.sh" "$dir" \
  -DTERVIX_FUZZ=ON -DBUILD_TESTING=OFF
for target in "$dir"/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  work="$dir/fuzz-work/$name"
  mkdir -p "$work/corpus"
  # The data file reader stops at 154,810 characters: its inputs must be able to pass that.
  max_len=30000
  [ "$name" = fuzz_datafile ] && max_len=160000
  # New inputs go to the work folder's corpus; the committed seeds are only read.
  seeds=()
  [ -d "$here/fuzz/corpus/$name" ] && seeds=("$here/fuzz/corpus/$name")
  echo "-- $name for ${seconds} s"
  # Each target runs in its own folder: the program touches files in its current directory.
  (cd "$work" && "$target" -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=2048 \
      -print_final_stats=1 corpus "${seeds[@]}" 2>&1 | tail -n 12)
done
