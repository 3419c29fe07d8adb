#!/usr/bin/env bash
# Sets up the machine and builds the given targets of the Windows build in build/win:
#   scripts/build_win.sh TARGET...
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
# shellcheck source=step.sh
source "$top/scripts/step.sh"
"$top/scripts/setup.sh"
logs="$top/build/logs"
lvn_step "configuring the Windows build in build/win" "$logs/build_win-configure.log" \
  cmake --preset windows
targets=()
for target in "$@"; do targets+=(--target "$target"); done
lvn_step "building $*" "$logs/build_win-build.log" \
  cmake --build --preset windows "${targets[@]}" -j "$(nproc)"
