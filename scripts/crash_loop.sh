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
python3 - "$work/log.csv" "$records" <<'PY'
import sys
path, count = sys.argv[1], int(sys.argv[2])
with open(path, "wb") as f:
    for i in range(count):
        f.write(b"%d,20,2019/07/04,09:05:03,10.%d.%d.%d\r\n" % (1000 + i, i >> 16, (i >> 8) & 255, i & 255))
PY

# Whole files and every record kept: prints one word for the run.
check() {
  python3 - "$work/log.csv" "$data/log.csv" "$data/lvn.ini" "$1" "$2" <<'PY'
import re, sys
before_path, log_path, ini_path, old_ip, new_ip = sys.argv[1:]
record = re.compile(rb"^-?\d+,(0|1|2|11|12|20),[^,\r\n]*,[^,\r\n]*,[^\r\n]*$")
def records(path):
    data = open(path, "rb").read()
    if data and not data.endswith(b"\r\n"):
        return None, "log.csv ends in a torn line"
    lines = data.split(b"\r\n")[:-1]
    for line in lines:
        if not record.match(line):
            return None, "log.csv holds a broken line: %r" % line[:80]
    return lines, None
before, _ = records(before_path)
after, problem = records(log_path)
if problem:
    print("BROKEN", problem); sys.exit(0)
renumbered = bool(after) and after[0].startswith(b"0,")
before = [line.split(b",", 1)[1] for line in before]
after = [line.split(b",", 1)[1] for line in after]
if after[:len(before)] != before:
    print("LOST", "records of the history are missing or changed"); sys.exit(0)
extra = after[len(before):]
if any(not re.match(rb"^(1|2|0|11|12|20),", e) for e in extra):
    print("BROKEN", "unexpected records appended"); sys.exit(0)
try:
    ini = open(ini_path, "rb").read()
except OSError:
    print("BROKEN", "lvn.ini is missing"); sys.exit(0)
if not ini.startswith(b"[Value]\r\n") or b"\r\nIpUrl=http://127.0.0.2/lvn.php\r\n" not in ini:
    print("BROKEN", "lvn.ini lost its settings: %r" % ini[:120]); sys.exit(0)
ip = re.search(rb"\r\nIpHoz=([^\r\n]*)\r\n", ini)
if not ip or ip.group(1).decode() not in (old_ip, new_ip):
    print("BROKEN", "lvn.ini holds an address it never had"); sys.exit(0)
changed = any(e.startswith(b"20,") for e in extra)
print("WHOLE", "rewritten" if renumbered else "", "appended" if changed else "",
      "saved" if ip.group(1).decode() == new_ip else "")
PY
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
