#!/usr/bin/env bash
# Benchmark-like check, not a test: starts the real lorvane.exe under Wine RUNS times
# (default 50) on a history whose keys are out of place, so that the start rewrites the
# whole log, and with a new address at the lookup page, so that a record is appended and
# the settings are saved; kills it with SIGKILL at a random moment of that work and checks
# that log.csv and lvn.ini are whole and that no record was lost. Prints the counts.
#   scripts/crash_loop.sh [RUNS] [RECORDS, default 50000]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
runs=${1:-50}
records=${2:-50000}
"$top/scripts/build_win.sh" lorvane

# shellcheck source=bench_env.sh
source "$top/scripts/bench_env.sh"
lvn_bench_env crash-loop fresh
data="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Lorvane"
mkdir -p "$data"
answer="$LVN_SERVERS/fault/answer.txt"
work="$LVN_BUILD/work"
mkdir -p "$work"

# The history before a run: keys start at 1000, so the first reload renumbers every record.
scripts/crash_loop_files.py history "$work/log.csv" "$records"

# Whole files and every record kept: prints one word for the run.
check() {
  scripts/crash_loop_files.py check "$work/log.csv" "$data/log.csv" "$data/lvn.ini" "$1" "$2"
}

# SIGKILL until no copy is left for half a second: a kill that lands in Wine's launcher
# may come before the program's own process shows.
kill_program() {
  local quiet=0
  for _ in $(seq 1 400); do
    if pgrep -f 'lorvane\.exe' >/dev/null; then
      pkill -9 -f 'lorvane\.exe' || true
      quiet=0
    else
      quiet=$((quiet + 1))
      [ $quiet -ge 10 ] && return 0
    fi
    sleep 0.05
  done
  echo "lorvane.exe survived SIGKILL" >&2
  return 1
}

# Puts the files of a run in place and starts the program.
start_run() {
  cp "$work/log.csv" "$data/log.csv"
  rm -f "$data/log.csv.tmp" "$data/lvn.ini.tmp"
  printf '[Value]\r\nIpUrl=http://127.0.0.2/lvn.php\r\nInterval=3600000\r\nIpHoz=%s\r\n\r\n' \
    "$1" >"$data/lvn.ini"
  printf '[%s]' "$2" >"$answer"
  lvn_wine build/win/bin/lorvane.exe >/dev/null 2>&1 &
  # Killed on purpose: no word from the shell about it.
  disown
}

# One run to the end first: how long the start's work takes, rewrite to last save.
start_run 192.0.2.1 198.51.100.1
begin=$(date +%s%N)
for _ in $(seq 1 600); do
  grep -q 'IpHoz=198.51.100.1' "$data/lvn.ini" 2>/dev/null && break
  sleep 0.02
done
span_ms=$((($(date +%s%N) - begin) / 1000000))
kill_program
echo "start to saved address: $span_ms ms; kills fall within 0 to $((span_ms * 6 / 5)) ms"

whole=0 broken=0 rewritten=0 appended=0 saved=0
for run in $(seq 1 "$runs"); do
  old_ip="192.0.2.$((run % 250))"
  new_ip="198.51.100.$((run % 250))"
  start_run "$old_ip" "$new_ip"
  delay=$(awk -v seed="$RANDOM" -v span="$span_ms" 'BEGIN { srand(seed); printf "%.3f", rand() * span * 1.2 / 1000 }')
  sleep "$delay"
  kill_program
  result=$(check "$old_ip" "$new_ip")
  echo "run $run, killed after $delay s: $result"
  case "$result" in
    WHOLE*) whole=$((whole + 1)) ;;
    *) broken=$((broken + 1)) ;;
  esac
  [[ "$result" == *rewritten* ]] && rewritten=$((rewritten + 1))
  [[ "$result" == *appended* ]] && appended=$((appended + 1))
  [[ "$result" == *saved* ]] && saved=$((saved + 1))
done
echo "crash loop: $runs runs killed with SIGKILL, $records records each"
echo "  whole after the kill: $whole; broken or lost: $broken"
echo "  killed after the rewrite: $rewritten; after the change was appended: $appended;" \
  "after lvn.ini was saved: $saved"
[ "$broken" -eq 0 ]
