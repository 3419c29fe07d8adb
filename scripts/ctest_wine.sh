#!/usr/bin/env bash
# CTest's side of Wine (cmake/windows_tests.cmake): the fixtures' steps, and the runner
# of the Windows test programs in what they made.
#   scripts/ctest_wine.sh xvfb-start | xvfb-stop | prefix-init | prefix-stop
#   scripts/ctest_wine.sh servers-start | servers-stop | trust-ca
#   scripts/ctest_wine.sh wrappers-make | wrappers-check
#   scripts/ctest_wine.sh run LOADER PROGRAM ARGS...
# Each step is a test of its own, so what a later one needs lives in files of LVN_BUILD:
# the X server's display and pid, the display scale the prefix is set to.
#   LVN_BUILD    the Windows build folder, which holds the prefix (required)
#   LVN_SERVERS  the lookup servers' folder (required but for the wrappers)
# For run:
#   LVN_TEST_DPI       the display scale to run at, in DPI (default 96)
#   LVN_LOCALE         the locale instead of ja_JP.UTF-8 (en_US.UTF-8: an English Windows)
#   LVN_PLANTED_FIRST  set: Wine looks beside the program first for the DLLs a planted copy
#                      could replace, as Windows does
#   GTEST_FILTER       when set, it chooses the cases instead of the test's --gtest_filter
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
action=${1:?"usage: $0 ACTION [ARGS...]"}
shift

wrappers="$LVN_BUILD/wine-wrappers"
case $action in
  # Debian's Wine wrappers choose the 32-bit loader when wine32 is installed: stand-ins that
  # record any call and fail, for the PATH of every test that may start Wine.
  wrappers-make)
    mkdir -p "$wrappers/bin"
    touch "$wrappers/calls.log"
    for name in wine wine-stable wineboot winepath wineserver winecfg wineconsole; do
      printf '#!/bin/sh\necho "$0 $*" >>"%s"\necho "$0: Wine only through its 64-bit loader" >&2\nexit 126\n' \
        "$wrappers/calls.log" >"$wrappers/bin/$name"
      chmod +x "$wrappers/bin/$name"
    done
    exit 0 ;;
  # The calls are set aside once told, so that the next run starts clean.
  wrappers-check)
    [ -s "$wrappers/calls.log" ] || exit 0
    echo "Wine's wrappers were called:"
    cat "$wrappers/calls.log"
    mv "$wrappers/calls.log" "$wrappers/calls.log.old"
    exit 1 ;;
esac

# shellcheck source=wine_env.sh
source "$here/wine_env.sh"
# shellcheck source=servers.sh
source "$here/servers.sh"
display_file="$LVN_BUILD/xvfb.display"
pid_file="$LVN_BUILD/xvfb.pid"
dpi_file="$LVN_BUILD/wineprefix.dpi"

load_display() {
  [ -s "$display_file" ] || { echo "no X server: its fixture (setup.xvfb) did not run" >&2; return 1; }
  DISPLAY=$(cat "$display_file")
  export DISPLAY
}

# Only the X server this folder started, even when its pid file is stale.
stop_xvfb() {
  local pid
  [ -f "$pid_file" ] || return 0
  pid=$(cat "$pid_file")
  if tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q '^Xvfb '; then
    kill "$pid" 2>/dev/null
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$pid_file" "$display_file"
}

case $action in
  xvfb-start)
    mkdir -p "$LVN_BUILD"
    stop_xvfb
    # Nothing of it may hold CTest's pipes: CTest would wait for the X server's end.
    lvn_start_xvfb </dev/null || exit 1
    echo "$DISPLAY" >"$display_file"
    echo "$LVN_XVFB_PID" >"$pid_file"
    echo "X server $DISPLAY, pid $LVN_XVFB_PID" ;;
  xvfb-stop)
    stop_xvfb ;;
  prefix-init)
    load_display || exit 1
    rm -f "$dpi_file"
    lvn_wine_init </dev/null && echo "Wine prefix $WINEPREFIX" ;;
  prefix-stop)
    lvn_wineserver -k 2>/dev/null
    exit 0 ;;
  servers-start)
    mkdir -p "$LVN_SERVERS"
    # Their output to a file: the servers outlive this step and would hold CTest's pipes.
    lvn_servers_start </dev/null >"$LVN_SERVERS/start.log" 2>&1
    status=$?
    cat "$LVN_SERVERS/start.log"
    exit $status ;;
  servers-stop)
    lvn_servers_stop ;;
  trust-ca)
    load_display || exit 1
    lvn_trust_test_ca </dev/null ;;
  run)
    load_display || exit 1
    [ -z "${LVN_LOCALE:-}" ] || export LC_ALL="$LVN_LOCALE"
    [ -z "${LVN_PLANTED_FIRST:-}" ] || export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$LVN_PLANTED_DLLS=n,b"
    # Each run sets the scale it needs, so that one that failed or timed out at another
    # leaves the next run nothing to undo. Wine reads it when its server starts.
    dpi=${LVN_TEST_DPI:-96}
    if [ "$dpi" != "$(cat "$dpi_file" 2>/dev/null || echo 96)" ]; then
      lvn_set_dpi "$dpi" </dev/null || exit 1
      echo "$dpi" >"$dpi_file"
    fi
    # GoogleTest's XML file goes by its Windows name; the output beside it, in a file
    # first: Wine's background processes would hold a pipe open after the program ends.
    out="$LVN_BUILD/wine_test.log"
    args=()
    for arg in "$@"; do
      case $arg in
        --gtest_output=xml:*)
          xml=${arg#--gtest_output=xml:}
          rm -f "$xml"
          out=${xml%.xml}.log
          arg="--gtest_output=xml:Z:${xml//\//\\}" ;;
        --gtest_filter=*)
          [ -z "${GTEST_FILTER:-}" ] || continue ;;
      esac
      args+=("$arg")
    done
    lvn_with_test_hosts "${args[@]}" </dev/null >"$out" 2>&1
    status=$?
    tr -d '\r' <"$out"
    exit $status ;;
  *)
    echo "$0: unknown action $action" >&2
    exit 2 ;;
esac
