#!/usr/bin/env bash
# Takes the README's screenshots (docs/screenshot.png, docs/options.png,
# docs/options-notify.png and docs/options-connection.png) on a private X server, from a
# first run in a prefix of its own.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$top/docs"
rm -rf "$top/build/screenshot"
env -u DISPLAY LVN_RUN_DIR="$top/build/screenshot" LVN_SCREENSHOT="$top/docs/screenshot.png" \
  LVN_OPTIONS_SCREENSHOT="$top/docs/options.png" \
  LVN_NOTIFY_SCREENSHOT="$top/docs/options-notify.png" \
  LVN_CONNECTION_SCREENSHOT="$top/docs/options-connection.png" "$top/scripts/run.sh"
