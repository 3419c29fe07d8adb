#!/usr/bin/env bash
# Builds lorvane.exe and starts it under Wine: on $DISPLAY when there is one, otherwise on
# a private X server, where a screenshot is saved and the program then stopped.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

"$top/scripts/setup.sh"
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win --target lorvane -j "$(nproc)"

# The program's prefix outlives a run, so its data folder and settings stay.
export LVN_BUILD="$top/build/run"
mkdir -p "$LVN_BUILD"
# shellcheck source=wine_env.sh
source "$top/scripts/wine_env.sh"
[ -d "$WINEPREFIX/drive_c" ] || lvn_wine_init

if [ -n "${DISPLAY:-}" ]; then
  echo "lorvane.exe runs on $DISPLAY; its data folder is under $WINEPREFIX/drive_c/users"
  exec wine build/win/bin/lorvane.exe
fi

trap lvn_wine_stop EXIT
lvn_start_xvfb
wine build/win/bin/lorvane.exe &
shot="${LVN_SCREENSHOT:-$top/build/screenshot.png}"
lvn_screenshot "Lorvaneグローバル" "$shot"
echo "No display: lorvane.exe ran on a private X server; screenshot saved to $shot"
