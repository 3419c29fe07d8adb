#!/usr/bin/env bash
# Builds and runs every test with CTest, through the presets of CMakePresets.json: the
# include check before anything is built, then the core's unit tests natively (ASan,
# UBSan), a short fuzz run, the Windows tests and end-to-end tests under Wine on a private
# X server, and the release's installer and zip (tests/release).
# Nothing 32-bit runs: Wine only through its 64-bit loader, every Windows program PE32+.
# Prints one line per suite, counted from CTest's JUnit files (scripts/test_report.py), the
# time taken and a closing summary; non-zero on any failure. One test or one label alone:
# ctest --preset windows -L e2e (README.md, "Building and testing").
#   LVN_FUZZ_SECONDS  seconds per fuzz target (default 20)
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
started=$SECONDS
# shellcheck source=step.sh
source "$top/scripts/step.sh"

# Where Wine's 32-bit half is installed, the run goes on as on a kernel that cannot
# execute it: in a mount namespace of its own, the 32-bit loader is a file that no kernel
# runs ("Exec format error"). Nothing may need it.
loader32=/usr/lib/wine/wine
if [ -z "${LVN_NO_32BIT:-}" ] && [ -e "$loader32" ]; then
  mkdir -p "$top/build"
  printf '\177ELF not a program\n' >"$top/build/no-32-bit-loader"
  chmod +x "$top/build/no-32-bit-loader"
  exec env LVN_NO_32BIT=1 unshare --mount sh -c 'mount --bind "$1" "$2" && shift 2 && exec "$@"' \
    sh "$top/build/no-32-bit-loader" "$loader32" "$0" "$@"
fi
[ -n "${LVN_NO_32BIT:-}" ] && echo "== Wine's 32-bit loader is installed; this run cannot execute it"

"$top/scripts/setup.sh" || { echo "FAILED: setup (scripts/setup.sh), see above"; exit 1; }

jobs=$(nproc)
logs="$top/build/test-logs"
mkdir -p "$logs"
# What scripts/test_report.py counts, in order: JUnit files, and failed:TITLE for a build
# that failed before its tests could run.
results=()

# The Windows tests' fixtures, by the files they keep in the build folder.
export LVN_BUILD="$top/build/win" LVN_SERVERS="$top/build/win/servers"
# Wine's wrappers choose its 32-bit loader when wine32 is installed: the stand-ins that the
# Windows tests also have (cmake/windows_tests.cmake) shadow them for the whole run, and
# their last test fails the run when any was called.
rm -f "$LVN_BUILD/wine-wrappers/calls.log"
scripts/ctest_wine.sh wrappers-make
export PATH="$LVN_BUILD/wine-wrappers/bin:$PATH"
# What an interrupted run leaves: the cleanups of the fixtures, which stop only what the
# build folder's files name.
stop_fixtures() {
  local action
  for action in prefix-stop xvfb-stop servers-stop; do
    scripts/ctest_wine.sh "$action" >/dev/null 2>&1
  done
}
trap stop_fixtures EXIT

# build PRESET TITLE: configures and builds it; TITLE is counted as failed when either fails.
build() {
  local preset=$1 title=$2
  echo "== building $preset"
  lvn_step "configuring the $preset build" "$logs/$preset-configure.log" cmake --preset "$preset" &&
    lvn_step "building $preset" "$logs/$preset-build.log" cmake --build --preset "$preset" -j "$jobs" &&
    return 0
  results+=("failed:$title")
  return 1
}

# run_tests PRESET FOLDER NAME CTEST_ARGS...: the preset's tests, with the JUnit file
# NAME.xml in its build folder FOLDER; CTest's output goes to a log, its line per test (but
# the unit cases') to the terminal.
run_tests() {
  local preset=$1 junit="$top/$2/$3.xml" log="$logs/ctest-$1-$3.log"
  shift 3
  echo "== ctest --preset $preset${*:+ $*}"
  rm -f "$junit"
  ctest --preset "$preset" --output-junit "$junit" "$@" 2>&1 | tee "$log" |
    grep --line-buffered -E '^ *[0-9]+/[0-9]+ Test +#' | grep --line-buffered -Ev ' Test +#[0-9]+: unit\.'
  results+=("$junit")
}

# 1. Includes go the way the layers allow (docs/CONVENTIONS.md), before anything is built.
# 2. The core's unit tests natively, and the native benchmark's build.
echo "== building native"
if lvn_step "configuring the native build" "$logs/native-configure.log" cmake --preset native; then
  run_tests native build/native junit-layers -L '^layers$'
  if lvn_step "building native" "$logs/native-build.log" cmake --build --preset native -j "$jobs"; then
    run_tests native build/native junit -LE '^layers$' -j "$jobs"
  else
    results+=("failed:unit build")
  fi
else
  results+=("failed:native configuration")
fi

# 3. Each parser's fuzz corpus (tests/fuzz/corpus) replayed, then a short fuzz run from it;
# longer runs: scripts/fuzz.sh. Each fuzzer takes one core.
build fuzz "fuzz build" && run_tests fuzz build/fuzz junit -j "$jobs"

# 4. Windows tests under Wine, in a fresh prefix, on a private X server, then the release.
build windows "windows build" && run_tests windows build/win junit

python3 scripts/test_report.py --time $((SECONDS - started)) "${results[@]}"
