#!/usr/bin/env bash
# Benchmark, not a test: a running lorvane.exe does COUNT lookups (default 1000) against
# the local nginx page under Wine; memory, handles and GDI and USER objects are printed
# before and after, and should stay flat.
#   scripts/bench_soak.sh [COUNT]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/build_win.sh" lorvane lvn_exit soak_bench

# shellcheck source=bench_env.sh
source "$top/scripts/bench_env.sh"
lvn_bench_env bench-soak fresh
data="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Lorvane"
mkdir -p "$data"
# A long interval keeps the timer out of the count.
printf '[Value]\r\nIpUrl=http://%s/lvn.php\r\nInterval=3600000\r\n\r\n' "$LVN_NGINX_ADDRESS" >"$data/lvn.ini"
lvn_wine build/win/bin/lorvane.exe &
for _ in $(seq 1 300); do [ -s "$data/log.csv" ] && break; sleep 0.1; done
access_log="Z:$(echo "$LVN_SERVERS/nginx/access.log" | tr / '\\')"

# Wine answers some of the Windows counters with 0; the Linux side of the same processes
# tells the rest: the program's resident memory and open descriptors, and the wineserver's
# memory, which grows with every kernel object or window a process keeps.
linux_figures() {
  local program server
  program=$(pgrep -f 'lorvane\.exe' | head -n 1) || true
  server=$(pgrep -n -f "$WINESERVER") || true
  printf '%-7s lorvane.exe RSS %s kB, %s open descriptors; wineserver RSS %s kB\n' "$1" \
    "$(awk '/^VmRSS/ {print $2}' "/proc/$program/status")" "$(ls "/proc/$program/fd" | wc -l)" \
    "$(awk '/^VmRSS/ {print $2}' "/proc/$server/status")"
}
linux_figures before
lvn_wine build/win/bin/soak_bench.exe "${1:-1000}" "$access_log" | tr -d '\r'
linux_figures after
lvn_wine build/win/bin/lvn_exit.exe || true
