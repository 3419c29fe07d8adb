#!/usr/bin/env bash
# The release as a user gets it: builds it with scripts/release.sh, checks the zip, then
# installs, upgrades and uninstalls it silently under Wine's 64-bit loader in a fresh prefix
# of its own (build/release-test/wineprefix) on a private X server. Prints one line per
# check and a count; exits non-zero when any check fails.
#   LVN_RELEASE_REUSE=1  skips the build and tests the dist/ and build/release/ of the last
#                        run (to repeat the steps under Wine without rebuilding the release)
#   LVN_CHECKS_FILE      also writes each check's verdict there, PASS or FAIL, a tab and its
#                        name, one a line (CTest's release test: scripts/test_report.py counts
#                        them)
set -uo pipefail
# Debian's wine64 comes without Wine's preloader, which reserves the addresses Wine needs
# before anything else is mapped. With the kernel's brk randomization, glibc's heap then
# lands on Wine's shared user data page (0x7ffe0000) about once in a thousand starts, and
# the program ends at once with exit code 1 ("failed to map the shared user data", which
# WINEDEBUG=-all hides). Without address randomization the heap stays next to the loader.
if [ -z "${LVN_NO_RANDOMIZE:-}" ] && setarch "$(uname -m)" -R true 2>/dev/null; then
  LVN_NO_RANDOMIZE=1 exec setarch "$(uname -m)" -R "$0" "$@"
fi
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"
started=$SECONDS

passed=0
failed=0
checks_file=${LVN_CHECKS_FILE:-/dev/null}
: >"$checks_file"
# verdict PASS|FAIL NAME
verdict() {
  echo "$1 $2"
  printf '%s\t%s\n' "$1" "$2" >>"$checks_file"
  if [ "$1" = PASS ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}
# check NAME COMMAND...: one check, passed when the command succeeds.
check() {
  local name=$1; shift
  if "$@"; then verdict PASS "$name"; else verdict FAIL "$name"; fi
}
# prepare NAME COMMAND...: a step that sets up later checks; counted as a failure when it fails.
prepare() {
  local name=$1; shift
  "$@" >/dev/null 2>&1 || verdict FAIL "preparing: $name"
}
finish() {
  echo "release: $passed passed, $failed failed ($((SECONDS - started)) s)"
  [ "$failed" -eq 0 ]
  exit
}

mkdir -p build
echo "== release.sh"
if [ "${LVN_RELEASE_REUSE:-}" = 1 ] && [ -s build/release-test.log ] && [ -d build/release/stage ]; then
  echo "(reusing the last build: LVN_RELEASE_REUSE=1)"
elif ! scripts/release.sh >build/release-test.log 2>&1; then
  cat build/release-test.log
  check "release.sh builds the release" false
  finish
fi
grep '^lorvane.exe ' build/release-test.log
version=$(sed -n 's/^#define LVN_VERSION_TEXT "\(.*\)"$/\1/p' build/release/generated/lvn_version.h)
setup="$top/dist/lorvane-$version-setup.exe"
zip="$top/dist/lorvane-$version-portable.zip"

# Only the prefix and X server started here are ever stopped.
export LVN_BUILD="$top/build/release-test"
# shellcheck source=../../scripts/wine_env.sh
source "$top/scripts/wine_env.sh"
app_pid=""
stop_all() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  lvn_wine_stop
}
trap stop_all EXIT
trap 'exit 1' INT TERM

# lvn_exit.exe ends the program the way its File menu does.
scripts/build_win.sh lvn_exit >build/release-test-lvn_exit.log 2>&1 ||
  { cat build/release-test-lvn_exit.log; check "lvn_exit.exe builds" false; finish; }
lvn_exit="$top/build/win/bin/lvn_exit.exe"
# Another program's uninstaller, for the folders the installer must leave alone; 64-bit,
# like everything built here.
foreign_uninstaller="$top/build/release-test-foreign-uninstall.exe"
{ makensis -V2 "-DOUTFILE=$foreign_uninstaller" tests/release/foreign_uninstaller.nsi &&
    tests/tools/pe_machine.py "$foreign_uninstaller"; } >build/release-test-foreign.log 2>&1 ||
  { cat build/release-test-foreign.log; check "the stand-in uninstaller builds" false; finish; }

# ---- The products in dist/, no Wine needed.
check "the installer is a 64-bit program (PE32+)" tests/tools/pe_machine.py "$setup"
check "SHA256SUMS holds both products and matches them" \
  sh -c 'cd dist && [ "$(cut -d" " -f3 SHA256SUMS | sort)" = "$(printf "%s\n" "$@" | sort)" ] &&
         sha256sum --quiet -c SHA256SUMS' sh "$(basename "$setup")" "$(basename "$zip")"

check "the zip holds Lorvane/ with the exe, help, server pages, readme and lvn.ini, nothing else" \
  tests/tools/release_checks.py zip "$zip" "$top"

check "readme.txt and the portable lvn.ini are Shift-JIS with CR LF; readme names the version, exe, data folder, uninstall" \
  tests/tools/release_checks.py readme "$zip" "$version"

# ---- Under Wine.
echo "== Wine prefix in build/release-test"
# One server for the whole run. Debian's wineserver wrapper passes -p0, so without this the
# server ends with each Wine program and the next one starts a new one, with a new session;
# a program started while the old server is still exiting waits for it only a few seconds
# before giving up ("a wine server seems to be running, but I cannot connect to it").
if ! { lvn_start_xvfb && lvn_wine_init && lvn_wineserver -p; }; then
  check "Wine starts" false
  finish
fi
drive_c="$WINEPREFIX/drive_c"
# The Unix path of a path on drive C:, without starting a Wine program for it.
unix_path() {
  local rest=${1#[Cc]:\\}
  echo "$drive_c/${rest//\\//}"
}
appdata=$(unix_path "$(lvn_wine cmd.exe /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')")
data="$appdata/Lorvane"
start_menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lorvane.lnk"
# Where versions before this one put the shortcut that started it at logon. Wine spells
# it StartUp.
startup_dir=$(find "$appdata/Microsoft/Windows/Start Menu/Programs" -maxdepth 1 -iname startup)
if [ ! -d "$startup_dir" ]; then
  echo "  no Startup folder under the prefix's %APPDATA% ($appdata)"
  check "Wine starts" false
  finish
fi
startup="$startup_dir/Lorvane.lnk"
uninst_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lorvane'
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'

# reg_read KEY VIEW: reads KEY in the registry's view VIEW (32 or 64) with one reg.exe into
# reg_values (value name -> data) and reg_subkeys (names). False when reg.exe fails, with
# the reason in reg_error.
declare -A reg_values
reg_subkeys=()
reg_error=""
reg_read() {
  local key=$1 view=$2 out status line depth
  reg_values=()
  reg_subkeys=()
  out=$(lvn_wine reg.exe query "$key" "/reg:$view" 2>"$LVN_BUILD/reg-query.err")
  status=$?
  if [ $status -ne 0 ]; then
    # Wine's messages are in the console's code page, some of them on stdout.
    reg_error="reg.exe query $key /reg:$view: exit code $status, $(
      { cat "$LVN_BUILD/reg-query.err"; echo "$out"; } | iconv -c -f CP932 -t UTF-8 |
        tr -s '\r\n' '  ')"
    return 1
  fi
  # Values under the key's full name (which Wine leaves out when there are none), then the
  # subkeys' full names, one level deeper.
  depth=${key//[^\\]/}
  while IFS= read -r line; do
    line=${line%$'\r'}
    if [[ $line =~ ^\ {4}(.+)\ {4}(REG_[A-Z_]+)(\ {4}(.*))?$ ]]; then
      reg_values[${BASH_REMATCH[1]}]=${BASH_REMATCH[4]}
    elif [[ $line == HKEY_* ]] && [ "${line//[^\\]/}" = "$depth\\" ]; then
      reg_subkeys+=("${line##*\\}")
    fi
  done <<<"$out"
}
# reg_get KEY VIEW: reg_read that says why when it fails.
reg_get() { reg_read "$@" || { echo "  $reg_error"; return 1; }; }
# reg_get_or_none KEY VIEW: reg_get, with a key that is not there read as one without values.
reg_get_or_none() {
  local error status
  reg_read "$1" "$2" && return 0
  error=$reg_error
  key_in_view "$1" "$2" >/dev/null; status=$?
  reg_values=()
  reg_subkeys=()
  [ $status -eq 1 ] || { echo "  $error"; return 1; }
}
# key_in_view KEY VIEW: exit code 0 when KEY is there, 1 when it is not, 2 when reg.exe
# failed. reg.exe fails alike for a missing key and for a Wine that could not run it, so
# absence is read from the parent's listing (or the parent's absence, and so on up).
key_in_view() {
  local key=$1 view=$2 parent=${1%\\*} status
  if reg_read "$parent" "$view"; then
    local name
    for name in "${reg_subkeys[@]}"; do [ "$name" = "${key##*\\}" ] && return 0; done
    return 1
  fi
  local error=$reg_error
  if [[ $parent == *\\*\\* ]]; then
    key_in_view "$parent" "$view" >/dev/null; status=$?
    [ $status -eq 1 ] && return 1
  fi
  echo "  $error"
  return 2
}
no_entry() {
  local status view
  for view in 64 32; do
    key_in_view "$uninst_key" "$view"; status=$?
    [ $status -eq 1 ] || { [ $status -eq 0 ] && echo "  the entry is in the $view-bit view"; return 1; }
  done
}
# A shortcut names its target's full path.
points_to() { tests/tools/release_checks.py shortcut "$1" "$2"; }
# Lorvane's files as the installer writes them: the exe, the staged help files, the uninstaller.
stage=build/release/stage/Lorvane
lorvane_files() {
  local file
  echo lorvane.exe
  for file in "$stage"/help/*; do echo "help/${file##*/}"; done
  echo uninstall.exe
}
files_installed() {
  local name
  for name in $(lorvane_files); do
    [ -f "$1/$name" ] || { echo "  $name is missing"; return 1; }
    [ "$name" = uninstall.exe ] || cmp -s "$1/$name" "$stage/$name" ||
      { echo "  $name differs from the staged one"; return 1; }
  done
}
files_gone() {
  local name
  for name in $(lorvane_files); do [ ! -e "$1/$name" ] || { echo "  $name is left"; return 1; }; done
}
# Every file and folder under $1 with its contents' hash, to show that nothing changed.
snapshot() {
  (cd "$1" && find . -printf '%y %p\n' -type f -exec sha1sum {} + | sort)
}
# expect NAME WANTED: the value NAME of the last reg_read is WANTED; says so when not.
expect() {
  if [ -z "${reg_values[$1]+set}" ]; then
    echo "  $1: not there, expected '$2'"; return 1
  elif [ "${reg_values[$1]}" != "$2" ]; then
    echo "  $1: read '${reg_values[$1]}', expected '$2'"; return 1
  fi
}
entry_is() {
  local win=$1 ok=0 bytes estimated
  reg_get "$uninst_key" 64 || return 1
  expect DisplayName Lorvane || ok=1
  expect DisplayVersion "$version" || ok=1
  expect Publisher Ombrix || ok=1
  expect DisplayIcon "$win\\lorvane.exe,0" || ok=1
  expect UninstallString "\"$win\\uninstall.exe\"" || ok=1
  expect QuietUninstallString "\"$win\\uninstall.exe\" /S" || ok=1
  expect InstallLocation "$win" || ok=1
  expect NoModify 0x1 || ok=1
  expect NoRepair 0x1 || ok=1
  # In KB, as Settings › Apps reads it; Lorvane's files only, the folder may hold others.
  # (Checked as numbers first: bash would drop the whole check on a failed expansion.)
  bytes=$(cd "$(unix_path "$win")" && stat -c %s $(lorvane_files) | paste -sd+ | bc)
  estimated=${reg_values[EstimatedSize]:-}
  if [[ ! $bytes =~ ^[0-9]+$ ]]; then
    echo "  the size of Lorvane's files in $win: '$bytes'"; ok=1
  elif [[ ! $estimated =~ ^0x[0-9a-f]+$ ]]; then
    echo "  EstimatedSize: read '$estimated', expected a DWORD"; ok=1
  elif [ $((estimated)) -ne $((bytes / 1024)) ]; then
    echo "  EstimatedSize $((estimated)) KB, Lorvane's files $((bytes / 1024)) KB"; ok=1
  fi
  return $ok
}
# starts_at_logon WIN: the machine's Run value starts WIN\lorvane.exe, and no earlier
# version's Startup shortcut is left; with no WIN, nothing starts Lorvane at logon.
starts_at_logon() {
  [ ! -e "$startup" ] || { echo "  a Startup shortcut is there"; return 1; }
  reg_get_or_none "$run_key" 64 || return 1
  if [ -n "${1:-}" ]; then
    expect Lorvane "\"$1\\lorvane.exe\" /tray"
  elif [ -n "${reg_values[Lorvane]+set}" ]; then
    echo "  Run value Lorvane: '${reg_values[Lorvane]}'"; return 1
  fi
}
# exits_with CODE PROGRAM ARGS...: runs a program under Wine and expects its exit code;
# says what it got, and what the program or Wine printed, when it differs.
exits_with() {
  local want=$1 status; shift
  lvn_wine "$@" >"$LVN_BUILD/program.out" 2>&1
  status=$?
  [ $status -eq "$want" ] && return 0
  echo "  exit code $status, expected $want: $*"
  iconv -c -f CP932 -t UTF-8 <"$LVN_BUILD/program.out" | tr -d '\r' | head -n 5 | sed 's/^/  | /'
  return 1
}
wait_for() {
  local i
  for i in $(seq 1 300); do "$@" && return 0; sleep 0.1; done
  return 1
}
# The program's windows, by the process that owns them; the single-instance mutex comes first.
window_shown() { xwininfo -root -tree 2>/dev/null | grep -qF '("lorvane.exe" '; }
app_gone() { ! kill -0 "$app_pid" 2>/dev/null; }
start_app() {
  lvn_wine "$1\\lorvane.exe" >/dev/null 2>&1 &
  app_pid=$!
  wait_for window_shown
}
end_app() {
  exits_with 0 "$lvn_exit" && wait_for app_gone && app_pid=""
}

echo "== install"
default_win='C:\Program Files\Lorvane'
default_dir="$drive_c/Program Files/Lorvane"
check "silent install succeeds" exits_with 0 "$setup" /S
check "the exe and help are in the 64-bit Program Files\\Lorvane" files_installed "$default_dir"
check "the uninstaller is a 64-bit program (PE32+)" tests/tools/pe_machine.py "$default_dir/uninstall.exe"
check "the Start-menu shortcut starts the installed exe" \
  points_to "$start_menu" "$default_win\\lorvane.exe"
check "nothing starts it at logon unless asked for" starts_at_logon
check "the uninstall entry has every value, the version $version among them" \
  entry_is "$default_win"
# An uninstaller of an earlier version (they all carry the same version resource).
prepare "a copy of Lorvane's uninstaller" \
  cp "$default_dir/uninstall.exe" "$LVN_BUILD/lorvane-uninstall.exe"

# A first run's settings, with a lookup page that nobody serves.
mkdir -p "$data"
printf '[Value]\r\nIpUrl=http://127.0.0.9/lvn.php\r\n' >"$data/lvn.ini"
if start_app "$default_win"; then
  check "the installed program ends on its exit command" end_app
else
  check "the installed program shows its window" false
fi
check "the program wrote its history to the data folder" [ -s "$data/log.csv" ]

echo "== another folder, start at logon"
other_win='C:\Apps\Lorvane'
other_dir="$drive_c/Apps/Lorvane"
check "silent install with /STARTUP and /D= succeeds" \
  exits_with 0 "$setup" /S /STARTUP "/D=$other_win"
check "the files moved to the /D= folder" \
  sh -c '[ ! -e "$1" ] && [ ! -e "$2" ]' sh "$default_dir/lorvane.exe" "$default_dir"
check "the exe and help are in the /D= folder" files_installed "$other_dir"
check "the uninstall entry names the /D= folder" entry_is "$other_win"
check "the Start-menu shortcut starts the exe in the /D= folder" \
  points_to "$start_menu" "$other_win\\lorvane.exe"
check "the machine's Run value starts it at logon, from the /D= folder" \
  starts_at_logon "$other_win"
# The shortcut an earlier version would have put in the Startup folder.
prepare "an earlier version's Startup shortcut" cp "$start_menu" "$LVN_BUILD/lorvane.lnk"

echo "== refused while the program runs"
if start_app "$other_win"; then
  # Marks that show whether the installer touched anything.
  echo marker >>"$other_dir/help/index.htm"
  rm -f "$start_menu"
  prepare "an older version in the entry" \
    lvn_wine reg.exe add "$uninst_key" /v DisplayVersion /d 0.9 /f /reg:64
  check "silent install over a running copy exits with code 2" \
    exits_with 2 "$setup" /S
  unchanged() {
    tail -n 1 "$other_dir/help/index.htm" | grep -qx marker && [ ! -e "$start_menu" ] &&
      reg_get "$uninst_key" 64 && expect DisplayVersion 0.9
  }
  check "and changes nothing" unchanged
  uninstall_refused() {
    exits_with 2 "$other_win\\uninstall.exe" /S "_?=$other_win" &&
      [ -f "$other_dir/lorvane.exe" ] && [ -f "$other_dir/help/index.htm" ]
  }
  check "silent uninstall of a running copy exits with code 2 and keeps the files" \
    uninstall_refused
  check "the program ends" end_app
else
  check "the installed program shows its window" false
fi

echo "== upgrade in place, from a version that started it from the Startup folder"
prepare "no Run value" lvn_wine reg.exe delete "$run_key" /v Lorvane /f /reg:64
prepare "the Startup shortcut" cp "$LVN_BUILD/lorvane.lnk" "$startup"
check "silent install over an older version succeeds" exits_with 0 "$setup" /S
check "it upgraded the copy in the /D= folder" files_installed "$other_dir"
check "the uninstall entry has the new version" entry_is "$other_win"
check "the Start-menu shortcut is back" points_to "$start_menu" "$other_win\\lorvane.exe"
check "the Startup shortcut became the machine's Run value" starts_at_logon "$other_win"

echo "== uninstall"
check "silent uninstall succeeds" \
  exits_with 0 "$other_dir/uninstall.exe" /S "_?=$other_win"
# With _?= the uninstaller runs in place and cannot remove itself.
check "the program files are gone" sh -c \
  '[ ! -e "$1/lorvane.exe" ] && [ ! -e "$1/help" ]' sh "$other_dir"
check "the Start-menu shortcut is gone" [ ! -e "$start_menu" ]
check "nothing starts it at logon any more" starts_at_logon
check "the uninstall entry is gone from both views" no_entry
check "the settings and history stay" sh -c '[ -s "$1/lvn.ini" ] && [ -s "$1/log.csv" ]' sh "$data"

echo "== upgrade over the earlier 32-bit installer's copy"
# What that installer left: its files, and its uninstall entry in the 32-bit view. (No
# blank in the folder: the uninstaller reads _?= up to the end of its command line.)
old_win='C:\Old\Lorvane'
old_dir="$drive_c/Old/Lorvane"
mkdir -p "$old_dir/help"
printf 'old' >"$old_dir/lorvane.exe"
printf 'old' >"$old_dir/help/index.htm"
prepare "that copy's uninstaller" cp "$LVN_BUILD/lorvane-uninstall.exe" "$old_dir/uninstall.exe"
prepare "the 32-bit entry's folder" \
  lvn_wine reg.exe add "$uninst_key" /v InstallLocation /d "$old_win" /f /reg:32
prepare "the 32-bit entry's version" \
  lvn_wine reg.exe add "$uninst_key" /v DisplayVersion /d 0.9 /f /reg:32
check "silent install over it succeeds" exits_with 0 "$setup" /S
check "it upgraded that copy in its folder" files_installed "$old_dir"
check "nothing went to the default folder" [ ! -e "$default_dir" ]
only_64_entry() {
  key_in_view "$uninst_key" 32
  case $? in 0) echo "  an entry is left in the 32-bit view"; return 1;; 2) return 1;; esac
  entry_is "$1"
}
check "one uninstall entry, in the 64-bit view, naming that folder" only_64_entry "$old_win"
old_removed() {
  exits_with 0 "$old_win\\uninstall.exe" /S "_?=$old_win" && [ ! -e "$old_dir/lorvane.exe" ]
}
check "silent uninstall removes it" old_removed

echo "== a folder that another program's uninstaller owns"
taken_win='C:\Apps\Tidewell'
taken_dir="$drive_c/Apps/Tidewell"
mkdir -p "$taken_dir/help"
prepare "its uninstaller" cp "$foreign_uninstaller" "$taken_dir/uninstall.exe"
# Help files of its own, one of them named like Lorvane's.
for name in $(lorvane_files); do
  case $name in help/*) printf 'Tidewell %s\r\n' "$name" >"$taken_dir/$name";; esac
done
printf 'Tidewell notes\r\n' >"$taken_dir/help/notes.htm"
taken_before=$(snapshot "$taken_dir")
check "silent install into it is refused with exit code 2" \
  exits_with 2 "$setup" /S "/D=$taken_win"
untouched() {
  [ "$(snapshot "$taken_dir")" = "$taken_before" ] || { echo "  the folder changed"; return 1; }
  no_entry && [ ! -e "$start_menu" ] && starts_at_logon
}
check "and touches nothing: the folder, the uninstall entry, the shortcut" untouched

echo "== a folder with other programs' files but no uninstaller"
shared_win='C:\Apps\Shared'
shared_dir="$drive_c/Apps/Shared"
mkdir -p "$shared_dir/help"
printf 'notes\r\n' >"$shared_dir/help/notes.htm"
# Large enough to show in the entry's size, were it counted.
head -c 65536 /dev/zero >"$shared_dir/tool.exe"
others() { (cd "$shared_dir" && sha1sum help/notes.htm tool.exe); }
others_before=$(others)
check "silent install beside them succeeds" exits_with 0 "$setup" /S "/D=$shared_win"
beside() { files_installed "$shared_dir" && [ "$(others)" = "$others_before" ]; }
check "Lorvane's files are there and the others as they were" beside
check "the uninstall entry counts only Lorvane's files" entry_is "$shared_win"
# The plain QuietUninstallString: the uninstaller finishes from a copy in the temporary
# folder, and removes itself too; the entry goes last.
entry_gone() { key_in_view "$uninst_key" 64 >/dev/null; [ $? -eq 1 ]; }
check "silent uninstall finishes" exits_with 0 "$shared_win\\uninstall.exe" /S
check "and removes its entry" wait_for entry_gone
only_others_left() {
  files_gone "$shared_dir" && [ "$(others)" = "$others_before" ] &&
    [ "$(ls -A "$shared_dir")" = "$(printf 'help\ntool.exe')" ]
}
check "it removed Lorvane's files only; the others and the folder stay" only_others_left

finish
