# Sourced by the scripts: a step that fails says so on the terminal, with its log.

# lvn_fail STEP LOG: names the failed step and its log, and shows the log's end.
lvn_fail() {
  echo "FAILED: $1; its log: $2" >&2
  if [ -s "$2" ]; then tail -n 15 "$2" | sed 's/^/  | /' >&2; fi
  return 1
}

# lvn_step STEP LOG COMMAND...: runs the command with its output in LOG.
lvn_step() {
  local name=$1 log=$2 status=0
  shift 2
  mkdir -p "$(dirname "$log")"
  "$@" >"$log" 2>&1 || status=$?
  [ $status -eq 0 ] || lvn_fail "$name (exit code $status)" "$log" || true
  return $status
}

# For a script under set -e: a command that fails outside lvn_step is named too.
lvn_name_failures() {
  trap 'lvn_status=$?; echo "FAILED: $(basename "$0") line $LINENO: $BASH_COMMAND (exit code $lvn_status)" >&2' ERR
}
