#!/usr/bin/env bash
# Benchmark, not a test: the history log at 100,000 records, natively, in a Release build
# without sanitizers. Prints the reload and rewrite times against reading the file and
# counting its lines, records and megabytes per second, and one append.
#   scripts/bench_history.sh [records, default 100000] [repeats, default 7]
#   scripts/bench_history.sh --build-only   (the test command's check that it still builds)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
# shellcheck source=step.sh
source "$top/scripts/step.sh"
"$top/scripts/setup.sh"
mkdir -p build/logs
lvn_step "configuring the benchmark build" build/logs/bench-history-configure.log \
  cmake --preset bench
lvn_step "building history_bench" build/logs/bench-history-build.log \
  cmake --build --preset bench -j "$(nproc)"
[ "${1:-}" = --build-only ] && exit 0
build/bench-history/history_bench "${1:-100000}" "${2:-7}"
