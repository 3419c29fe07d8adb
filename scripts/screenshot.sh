#!/usr/bin/env bash
# Takes the screenshots of the README and docs/using.md (docs/screenshot.png, docs/options.png,
# docs/options-notify.png and docs/options-connection.png, and both windows at 150 %
# display scale: docs/screenshot-144dpi.png and docs/options-144dpi.png), and the main
# window in English (docs/screenshot.en.png, under en_US.UTF-8) on a private X server, from
# first runs in prefixes of their own.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$top/docs"
rm -rf "$top/build/screenshot"
env -u DISPLAY LVN_RUN_DIR="$top/build/screenshot" LVN_SCREENSHOT="$top/docs/screenshot.png" \
  LVN_OPTIONS_SCREENSHOT="$top/docs/options.png" \
  LVN_NOTIFY_SCREENSHOT="$top/docs/options-notify.png" \
  LVN_CONNECTION_SCREENSHOT="$top/docs/options-connection.png" "$top/scripts/run.sh"
rm -rf "$top/build/screenshot-144dpi"
env -u DISPLAY LVN_RUN_DIR="$top/build/screenshot-144dpi" LVN_DPI=144 \
  LVN_SCREENSHOT="$top/docs/screenshot-144dpi.png" \
  LVN_OPTIONS_SCREENSHOT="$top/docs/options-144dpi.png" "$top/scripts/run.sh"
rm -rf "$top/build/screenshot-en"
env -u DISPLAY LVN_RUN_DIR="$top/build/screenshot-en" LVN_LOCALE=en_US.UTF-8 \
  LVN_SCREENSHOT="$top/docs/screenshot.en.png" "$top/scripts/run.sh"
