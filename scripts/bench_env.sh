# Sourced by the benchmark scripts: a Wine prefix, a private X server and the lookup
# servers of the benchmark's own, in build/NAME, all stopped when the script ends.
#   lvn_bench_env NAME [fresh]   (fresh: a new prefix; otherwise an earlier one is reused)
lvn_bench_env() {
  local top name=$1 fresh=${2:-}
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  export LVN_BUILD="$top/build/$name" LVN_SERVERS="$top/build/$name/servers"
  [ -z "$fresh" ] || rm -rf "$LVN_BUILD"
  mkdir -p "$LVN_BUILD"
  # shellcheck source=wine_env.sh
  source "$top/scripts/wine_env.sh"
  # shellcheck source=servers.sh
  source "$top/scripts/servers.sh"
  trap 'lvn_wine_stop; lvn_servers_stop' EXIT
  lvn_servers_start
  lvn_start_xvfb
  [ -d "$WINEPREFIX/drive_c" ] || lvn_wine_init
}
