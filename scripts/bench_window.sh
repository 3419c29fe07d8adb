#!/usr/bin/env bash
# Benchmark, not a test: the real lorvane.exe under Wine with a history of RECORDS records
# (default 100000): start-up against an empty log, an address change against an unchanged
# lookup (also with every reload compacting the log), the longest time the window leaves a
# message unanswered meanwhile, and start-up with MORE records (default 1000000). Medians
# of three; the targets are printed beside the figures.
#   scripts/bench_window.sh [RECORDS] [MORE]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/build_win.sh" lorvane window_bench

# shellcheck source=bench_env.sh
source "$top/scripts/bench_env.sh"
lvn_bench_env bench-window fresh
lvn_wine build/win/bin/window_bench.exe "${1:-100000}" "${2:-1000000}" | tr -d '\r'
