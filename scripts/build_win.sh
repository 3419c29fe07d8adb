#!/usr/bin/env bash
# Sets up the machine and builds the given targets of the Windows build in build/win:
#   scripts/build_win.sh TARGET...
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build build/win "${targets[@]}" -j "$(nproc)" >/dev/null
