#!/usr/bin/env bash
# Takes the README's screenshot (docs/screenshot.png) on a private X server, from a first
# run in a prefix of its own.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$top/docs"
rm -rf "$top/build/screenshot"
env -u DISPLAY LVN_RUN_DIR="$top/build/screenshot" LVN_SCREENSHOT="$top/docs/screenshot.png" \
  "$top/scripts/run.sh"
