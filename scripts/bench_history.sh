#!/usr/bin/env bash
# Benchmark, not a test: the history log at 100,000 records, natively, in a Release build
# without sanitizers. Prints the reload and rewrite times against reading the file and
# counting its lines, records and megabytes per second, and one append.
#   scripts/bench_history.sh [records, default 100000] [repeats, default 7]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { cmake -S . -B build/bench-history -G Ninja -DCMAKE_BUILD_TYPE=Release -DLVN_SANITIZE=OFF &&
       cmake --build build/bench-history --target history_bench -j "$(nproc)"; } >"$log" 2>&1; then
  tail -n 40 "$log"
  exit 1
fi
build/bench-history/history_bench "${1:-100000}" "${2:-7}"
