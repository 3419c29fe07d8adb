#!/usr/bin/env bash
# Benchmark, not a test: under Wine, the time from starting a lookup to its hand-off: of
# the local nginx lookup page beside a plain TCP request and response, and of the fault
# server over TLS beside the same server over plain HTTP.
#   scripts/bench_lookup.sh [COUNT, default 50]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/build_win.sh" lookup_bench trust_ca

# shellcheck source=bench_env.sh
source "$top/scripts/bench_env.sh"
lvn_bench_env bench
lvn_trust_test_ca
# A file, not a pipe: Wine's background processes would hold a pipe open.
out="$LVN_BUILD/lookup_bench.txt"
lvn_with_test_hosts "$WINELOADER" build/win/bin/lookup_bench.exe "${1:-50}" \
  "http://$LVN_NGINX_ADDRESS/lvn.php" "http://www.ombrix.example:8080/ok" \
  "https://www.ombrix.example:8443/ok" >"$out"
tr -d '\r' <"$out"
