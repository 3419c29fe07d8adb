#!/usr/bin/env bash
# Takes the README's screenshot (docs/screenshot.png) on a private X server.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$top/docs"
env -u DISPLAY LVN_SCREENSHOT="$top/docs/screenshot.png" "$top/scripts/run.sh"
