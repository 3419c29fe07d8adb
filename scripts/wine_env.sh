# Sourced by the run and test scripts: a private Wine prefix and, when needed, a private
# X server. Only the prefix and server started here are ever stopped.
#   LVN_BUILD  folder that holds the prefix (required)

export WINEPREFIX="$LVN_BUILD/wineprefix"
export WINEDEBUG=-all
export WINEARCH=win64
# Wine only through its 64-bit loader and server: Debian's wine, wineboot and winepath
# wrappers choose the 32-bit loader whenever wine32 is installed, and some kernels cannot
# execute it. Wine's own helpers start other programs through WINELOADER.
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
# Code page 932 for the program's ANSI texts.
export LC_ALL=ja_JP.UTF-8
# WinINet takes the user's Internet settings, and under Wine the environment's proxy too:
# the tests' lookups go to loopback servers only, through no proxy but one they set.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY
# No Mono or Gecko installer prompts.
export WINEDLLOVERRIDES="mscoree,mshtml="
# DLLs the program must never take from its own folder (the e2e run tells Wine to look
# there first for these, as Windows does). Not version.dll: Wine's own user32 imports it,
# so Wine would take a planted one before the program runs, where Windows never does.
export LVN_PLANTED_DLLS="winmm,msimg32,wininet,oleacc"

# shellcheck source=step.sh
source "$(dirname "${BASH_SOURCE[0]}")/step.sh"

LVN_XVFB_PID=""

lvn_wine() { "$WINELOADER" "$@"; }
lvn_wineserver() { "$WINESERVER" "$@"; }
# Wine's path for a Unix one (-w) or the other way round (-u), without the CR.
lvn_winepath() { "$WINELOADER" winepath.exe "$@" 2>/dev/null | tr -d '\r'; }

lvn_start_xvfb() {
  local fd_file log="$LVN_BUILD/xvfb.log"
  mkdir -p "$LVN_BUILD"
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >"$log" 2>&1 &
  LVN_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    sleep 0.1
  done
  if [ ! -s "$fd_file" ]; then
    rm -f "$fd_file"
    lvn_fail "the X server (Xvfb) did not start" "$log"
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$fd_file")"
  rm -f "$fd_file"
}

# A fresh prefix for this run.
lvn_wine_init() {
  local log="$LVN_BUILD/wineboot.log"
  lvn_wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  if [ ! -x "$WINELOADER" ] || [ ! -x "$WINESERVER" ]; then
    echo "Wine's 64-bit loader or server is missing ($WINELOADER, $WINESERVER)" >"$log"
    lvn_fail "Wine's 64-bit half is not installed (scripts/setup.sh installs it)" "$log"
    return 1
  fi
  # Without a window manager Wine draws the window frames itself.
  if ! { lvn_wine wineboot.exe -i &&
         lvn_wine reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
         lvn_wineserver -w; } >"$log" 2>&1; then
    lvn_fail "Wine could not make its prefix in $WINEPREFIX" "$log"
    return 1
  fi
}

# The display scale of the prefix's programs from now on, in DPI (96 is 100 %). Wine reads
# it when its server starts: the server is let go, and the next program starts a new one.
lvn_set_dpi() {
  local dpi=$1 log="$LVN_BUILD/set-dpi.log"
  if ! { lvn_wine reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
           /d "$dpi" /f && lvn_wineserver -w; } >"$log" 2>&1; then
    lvn_fail "Wine's display scale could not be set to $dpi DPI" "$log"
    return 1
  fi
}

# Saves a picture of the window titled $1 to $2, once it shows; false when it never does.
lvn_screenshot() {
  local title=$1 out=$2 i line="" geometry
  for i in $(seq 1 600); do
    line=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | head -n 1) || true
    [ -n "$line" ] && break
    sleep 0.1
  done
  [ -n "$line" ] || return 1
  # Let the first paint and the first lookup land.
  sleep 2
  # The tree line ends with the window's size and its place on the screen: WxH+X+Y +X+Y.
  geometry=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | head -n 1 |
             grep -o '[0-9]\+x[0-9]\++-\?[0-9]\++-\?[0-9]\+  +-\?[0-9]\++-\?[0-9]\+' |
             awk '{split($1, size, "+"); split($2, at, "+"); print size[1] "+" at[2] "+" at[3]}') ||
    true
  if [ -n "$geometry" ]; then
    xwd -root -silent | convert xwd:- -crop "$geometry" +repage "$out"
  else
    xwd -root -silent | convert xwd:- -trim +repage "$out"
  fi
}

lvn_wine_stop() {
  lvn_wineserver -k 2>/dev/null || true
  if [ -n "$LVN_XVFB_PID" ]; then
    kill "$LVN_XVFB_PID" 2>/dev/null || true
    wait "$LVN_XVFB_PID" 2>/dev/null || true
    LVN_XVFB_PID=""
  fi
}
