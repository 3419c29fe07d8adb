#!/usr/bin/env bash
# Longer fuzz runs than the test command's: scripts/fuzz.sh [seconds per target, default 600]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DLVN_FUZZ=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/fuzz -j "$(nproc)"
for target in build/fuzz/*_fuzz; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  mkdir -p "build/fuzz-corpus/$name"
  echo "== $name"
  "$target" "build/fuzz-corpus/$name" "tests/fuzz/seeds/$name" -max_total_time="${1:-600}" \
    -rss_limit_mb=2048 -artifact_prefix=build/fuzz/ -print_final_stats=1
done
