#!/usr/bin/env bash
# Benchmark, not a test: under Wine, against the local nginx lookup page, the time from
# starting a lookup to its hand-off beside a plain TCP request and response.
#   scripts/bench_lookup.sh [COUNT, default 50]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/build_win.sh" lookup_bench

export LVN_BUILD="$top/build/bench" LVN_SERVERS="$top/build/bench/servers"
mkdir -p "$LVN_BUILD"
# shellcheck source=wine_env.sh
source "$top/scripts/wine_env.sh"
# shellcheck source=servers.sh
source "$top/scripts/servers.sh"
trap 'lvn_wine_stop; lvn_servers_stop' EXIT
lvn_servers_start
lvn_start_xvfb
[ -d "$WINEPREFIX/drive_c" ] || lvn_wine_init
wine build/win/bin/lookup_bench.exe "http://$LVN_NGINX_ADDRESS/lvn.php" "${1:-50}" | tr -d '\r'
