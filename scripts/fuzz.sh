#!/usr/bin/env bash
# Longer fuzz runs than the test command's, one target after another:
#   scripts/fuzz.sh [seconds per target, default 600] [target...]
# Each target starts from its corpus in tests/fuzz/corpus/<target>/ and works in
# build/fuzz/corpus/<target>/, as the test command's short runs do. With LVN_FUZZ_SAVE=1 the corpus kept in the repository is
# replaced by the minimised union of both afterwards. Prints executions and findings.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
# shellcheck source=step.sh
source "$top/scripts/step.sh"
"$top/scripts/setup.sh"
seconds=${1:-600}
shift || true
lvn_step "configuring the fuzz build" build/logs/fuzz-configure.log cmake --preset fuzz
lvn_step "building the fuzzers" build/logs/fuzz-build.log cmake --build --preset fuzz -j "$(nproc)"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for target in build/fuzz/*_fuzz; do [ -x "$target" ] && targets+=("$(basename "$target")"); done
fi
mkdir -p build/fuzz/findings
summary=()
for name in "${targets[@]}"; do
  work="build/fuzz/corpus/$name"
  kept="tests/fuzz/corpus/$name"
  mkdir -p "$work" "$kept"
  log="build/fuzz/$name.log"
  echo "== $name, $seconds s"
  status=0
  "build/fuzz/$name" "$work" "$kept" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -artifact_prefix="build/fuzz/findings/$name-" -print_final_stats=1 >"$log" 2>&1 || status=$?
  runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' || echo "?")
  findings=$(find build/fuzz/findings -name "$name-*" | wc -l)
  if [ "${LVN_FUZZ_SAVE:-0}" = 1 ] && [ $status -eq 0 ]; then
    merged=$(mktemp -d)
    "build/fuzz/$name" -merge=1 "$merged" "$kept" "$work" >/dev/null 2>&1
    rm -rf "$kept" && mkdir -p "$kept" && cp "$merged"/* "$kept"/ && rm -rf "$merged"
  fi
  summary+=("$name: $runs executions in $seconds s, exit $status, $findings findings, corpus $(ls "$kept" | wc -l) files")
  [ $status -ne 0 ] && tail -n 30 "$log"
done
printf '%s\n' "${summary[@]}"
