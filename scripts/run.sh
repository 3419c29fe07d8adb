#!/usr/bin/env bash
# Builds lorvane.exe and starts it under Wine, checking against the shipped lookup page
# served by a local nginx: on $DISPLAY when there is one, otherwise on a private X server,
# where a screenshot is saved and the program then ended.
#   LVN_SCREENSHOT  where to save the screenshot (default build/screenshot.png)
#   LVN_OPTIONS_SCREENSHOT  where to save one of the options window as well (none if unset)
#   LVN_NOTIFY_SCREENSHOT   and one of its 通知 page (none if unset)
#   LVN_CONNECTION_SCREENSHOT  and one of its 接続 page (none if unset)
#   LVN_RUN_DIR     the folder of the run's Wine prefix and servers (default build/run)
#   LVN_DPI         the display scale to run at, in DPI (96 is 100 %; the prefix keeps it)
#   LVN_LOCALE      the locale to run in instead of ja_JP.UTF-8 (en_US.UTF-8: the English
#                   interface)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
# shellcheck source=step.sh
source "$top/scripts/step.sh"
lvn_name_failures

"$top/scripts/build_win.sh" lorvane lvn_exit lvn_options

# The program's prefix outlives a run, so its data folder and settings stay.
export LVN_BUILD="${LVN_RUN_DIR:-$top/build/run}"
export LVN_SERVERS="$LVN_BUILD/servers"
mkdir -p "$LVN_BUILD"
# shellcheck source=wine_env.sh
source "$top/scripts/wine_env.sh"
[ -z "${LVN_LOCALE:-}" ] || export LC_ALL="$LVN_LOCALE"
# shellcheck source=servers.sh
source "$top/scripts/servers.sh"
[ -d "$WINEPREFIX/drive_c" ] || lvn_wine_init
[ -z "${LVN_DPI:-}" ] || lvn_set_dpi "$LVN_DPI"
trap 'lvn_wine_stop; lvn_servers_stop' EXIT
lvn_servers_start

# A first run checks against the local page; an lvn.ini of the user's own is left alone.
data="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Lorvane"
if [ ! -f "$data/lvn.ini" ]; then
  mkdir -p "$data"
  printf '[Value]\r\nIpUrl=http://%s/lvn.php\r\n\r\n' "$LVN_NGINX_ADDRESS" >"$data/lvn.ini"
fi

log="$LVN_BUILD/lorvane.log"
if [ -n "${DISPLAY:-}" ]; then
  echo "lorvane.exe runs on $DISPLAY; its data folder is $data"
  if ! lvn_wine build/win/bin/lorvane.exe 2>&1 | tee "$log"; then
    lvn_fail "running lorvane.exe under Wine" "$log"
    exit 1
  fi
  exit 0
fi

# The windows are found by their captions, in the interface's language.
main_title="Lorvaneグローバル" options_title="環境設定"
case $LC_ALL in ja_*) ;; *) main_title="Lorvane Global" options_title="Options" ;; esac
lvn_start_xvfb
lvn_wine build/win/bin/lorvane.exe >"$log" 2>&1 &
shot="${LVN_SCREENSHOT:-$top/build/screenshot.png}"
lvn_screenshot "$main_title" "$shot" ||
  { lvn_fail "lorvane.exe under Wine: its window never showed" "$log"; exit 1; }
if [ -n "${LVN_OPTIONS_SCREENSHOT:-}" ]; then
  lvn_wine build/win/bin/lvn_options.exe >>"$log" 2>&1
  lvn_screenshot "$options_title" "$LVN_OPTIONS_SCREENSHOT" ||
    { lvn_fail "the options window never showed" "$log"; exit 1; }
fi
if [ -n "${LVN_NOTIFY_SCREENSHOT:-}" ]; then
  lvn_wine build/win/bin/lvn_options.exe notify >>"$log" 2>&1 ||
    { lvn_fail "the options window's 通知 page never showed" "$log"; exit 1; }
  lvn_screenshot "$options_title" "$LVN_NOTIFY_SCREENSHOT" ||
    { lvn_fail "the options window never showed" "$log"; exit 1; }
fi
if [ -n "${LVN_CONNECTION_SCREENSHOT:-}" ]; then
  lvn_wine build/win/bin/lvn_options.exe connection >>"$log" 2>&1 ||
    { lvn_fail "the options window's 接続 page never showed" "$log"; exit 1; }
  lvn_screenshot "$options_title" "$LVN_CONNECTION_SCREENSHOT" ||
    { lvn_fail "the options window never showed" "$log"; exit 1; }
fi
lvn_wine build/win/bin/lvn_exit.exe >>"$log" 2>&1 || true
echo "No display: lorvane.exe ran on a private X server; screenshot saved to $shot"
