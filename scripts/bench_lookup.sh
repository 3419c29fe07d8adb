#!/usr/bin/env bash
# Benchmark, not a test: under Wine, against the local nginx lookup page, the time from
# starting a lookup to its hand-off beside a plain TCP request and response.
#   scripts/bench_lookup.sh [COUNT, default 50]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/build_win.sh" lookup_bench

# shellcheck source=bench_env.sh
source "$top/scripts/bench_env.sh"
lvn_bench_env bench
lvn_wine build/win/bin/lookup_bench.exe "http://$LVN_NGINX_ADDRESS/lvn.php" "${1:-50}" | tr -d '\r'
