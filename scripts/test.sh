#!/usr/bin/env bash
# Checks the include directions between the folders of src/, then builds and runs every
# test: the core's unit tests natively (ASan, UBSan), a short fuzz run, the Windows tests
# and end-to-end tests under Wine on a private X server, and the release's installer and
# zip (tests/release).
# Nothing 32-bit runs: Wine only through its 64-bit loader, every Windows program PE32+.
# Prints one line per suite, a closing summary and the time taken; non-zero on any failure.
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
results=()
total_passed=0
total_failed=0
logs="$top/build/test-logs"
mkdir -p "$logs"

# Wine's wrappers choose its 32-bit loader when wine32 is installed: any call of theirs
# from a script or test is recorded here and fails, as it would where 32-bit cannot run.
wrappers="$logs/wine-wrappers"
rm -rf "$wrappers"
mkdir -p "$wrappers/bin"
: >"$wrappers/calls.log"
for name in wine wine-stable wineboot winepath wineserver winecfg wineconsole; do
  printf '#!/bin/sh\necho "$0 $*" >>"%s"\necho "$0: Wine only through its 64-bit loader" >&2\nexit 126\n' \
    "$wrappers/calls.log" >"$wrappers/bin/$name"
  chmod +x "$wrappers/bin/$name"
done
export PATH="$wrappers/bin:$PATH"

# Adds a suite's counts to the totals; true, after naming its log, when it failed. A crash
# or a time-out is a failure even when no check said so, and so is a run without checks.
tally() {
  local suite=$1 log=$2 status=$3 passed=$4 failed=$5
  if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
  if [ "$passed" -eq 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  results+=("$suite: $passed passed, $failed failed")
  [ "$failed" -eq 0 ] && return 1
  echo "---- $suite failed; its log: $log"
}

# Counts a GoogleTest run's results from its output (Wine prints CR LF).
record_gtest() {
  local suite=$1 log=$2 status=$3 passed failed
  passed=$(tr -d '\r' <"$log" | grep -c '^\[       OK \] ')
  failed=$(tr -d '\r' <"$log" | grep -c '^\[  FAILED  \] .* ms)$')
  if tally "$suite" "$log" "$status" "$passed" "$failed"; then
    tr -d '\r' <"$log" | grep -E -A12 '^\[ RUN|Failure|ERROR|Sanitizer|runtime error' | tail -n 80
  fi
}

# Counts a script's PASS and FAIL lines.
record_checks() {
  local suite=$1 log=$2 status=$3 passed failed
  passed=$(grep -c '^PASS ' "$log")
  failed=$(grep -c '^FAIL ' "$log")
  if tally "$suite" "$log" "$status" "$passed" "$failed"; then
    grep -v '^PASS ' "$log" | tail -n 40
  fi
}

record_step() {
  local suite=$1 status=$2
  if [ "$status" -eq 0 ]; then
    total_passed=$((total_passed + 1)); results+=("$suite: 1 passed, 0 failed")
  else
    total_failed=$((total_failed + 1)); results+=("$suite: 0 passed, 1 failed")
  fi
}

build() {
  local name=$1; shift
  echo "== building $name"
  lvn_step "configuring the $name build" "$logs/$name-configure.log" cmake "$@" &&
    lvn_step "building $name" "$logs/$name-build.log" cmake --build "${@: -1}" -j "$jobs"
}

# 1. Includes go the way the layers allow (docs/CONVENTIONS.md), before anything is built.
echo "== layers"
python3 scripts/check_layers.py >"$logs/layers.log" 2>&1
status=$?
record_step "includes follow the layers (scripts/check_layers.py)" $status
[ $status -eq 0 ] || lvn_fail "an include goes against the layers" "$logs/layers.log"

# 2. Core unit tests, natively.
if build native -S . -G Ninja -DCMAKE_BUILD_TYPE=Debug -B build/native; then
  echo "== unit tests"
  timeout 600 build/native/unit_tests --gtest_color=no >"$logs/unit.log" 2>&1
  record_gtest unit "$logs/unit.log" $?
else
  record_step "unit build" 1
fi

# The benchmarks are not run here, only built, so that none rots unseen: the native one in
# its own configuration (Release, no sanitizers); the Windows ones come with the win build.
echo "== building the native benchmark"
scripts/bench_history.sh --build-only >"$logs/bench-build.log" 2>&1
status=$?
record_step "the native benchmark builds (scripts/bench_history.sh)" $status
[ $status -eq 0 ] || tail -n 30 "$logs/bench-build.log"

# 3. Each parser's fuzz corpus (tests/fuzz/corpus) replayed, then a short fuzz run from it;
# longer runs: scripts/fuzz.sh.
if CC=clang CXX=clang++ build fuzz -S . -G Ninja -DLVN_FUZZ=ON -DCMAKE_BUILD_TYPE=Release -B build/fuzz; then
  for target in build/fuzz/*_fuzz; do
  [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    kept="tests/fuzz/corpus/$name"
    echo "== replaying and fuzzing $name"
    mapfile -t inputs < <(find "$kept" -type f 2>/dev/null)
    status=1
    [ ${#inputs[@]} -gt 0 ] && { "$target" -rss_limit_mb=2048 "${inputs[@]}" >"$logs/$name-replay.log" 2>&1; status=$?; }
    record_step "$name replay (${#inputs[@]} inputs)" $status
    [ $status -ne 0 ] && tail -n 30 "$logs/$name-replay.log"
    corpus="build/fuzz-corpus/$name"
    mkdir -p "$corpus"
    "$target" "$corpus" "$kept" -max_total_time="${LVN_FUZZ_SECONDS:-20}" \
      -rss_limit_mb=2048 -artifact_prefix=build/fuzz/ >"$logs/$name.log" 2>&1
    status=$?
    record_step "$name" $status
    [ $status -ne 0 ] && tail -n 30 "$logs/$name.log"
  done
else
  record_step "fuzz build" 1
fi

# 4. Windows tests under Wine, in a fresh prefix, on a private X server.
if build win -S . -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
     -DCMAKE_BUILD_TYPE=Release -B build/win; then
  export LVN_BUILD="$top/build/win" LVN_SERVERS="$top/build/servers"
  # shellcheck source=wine_env.sh
  source "$top/scripts/wine_env.sh"
  # shellcheck source=servers.sh
  source "$top/scripts/servers.sh"
  trap 'lvn_wine_stop; lvn_servers_stop' EXIT
  echo "== preparing Wine and the lookup servers"
  tests/tools/pe_machine.py build/win/bin/*.exe >"$logs/pe-machine.log" 2>&1
  status=$?
  record_step "every Windows program built is 64-bit (PE32+)" $status
  [ $status -eq 0 ] || lvn_fail "a Windows program is not PE32+" "$logs/pe-machine.log"
  # Text in the system's code page would read wrong on a Windows of another language.
  python3 scripts/check_imports.py build/win/bin/lorvane.exe build/win/liblvn_win.a \
    build/win/CMakeFiles/lorvane.dir/src/app/*.obj >"$logs/imports.log" 2>&1
  status=$?
  record_step "lorvane.exe imports no ANSI text function" $status
  [ $status -eq 0 ] || lvn_fail "lorvane.exe imports an ANSI text function" "$logs/imports.log"
  # The prefix trusts the test CA, as a user's Windows trusts a public one. The program's
  # default lookup host, the name on the TLS servers' certificates, is the fault server:
  # a hosts file of the run's own, seen only by the processes of a private mount namespace.
  if lvn_servers_start && lvn_start_xvfb && lvn_wine_init && lvn_trust_test_ca; then
    echo "== win32_tests"
    lvn_with_test_hosts timeout 900 "$WINELOADER" build/win/bin/win32_tests.exe --gtest_color=no \
      >"$logs/win32_tests.log" 2>&1
    record_gtest win32 "$logs/win32_tests.log" $?
    # Wine's loader is told to look beside a program first for the DLLs a planted copy
    # could replace, as Windows does. The English interface's tests run below.
    echo "== e2e_tests"
    lvn_with_test_hosts env WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$LVN_PLANTED_DLLS=n,b" \
      timeout 1200 "$WINELOADER" build/win/bin/e2e_tests.exe --gtest_color=no \
      --gtest_filter='-English.*' >"$logs/e2e_tests.log" 2>&1
    record_gtest e2e "$logs/e2e_tests.log" $?
    # The windows again at 150 % and 200 % display scale: one program start each. The
    # prefix goes back to 96 DPI afterwards.
    for dpi in 144 192; do
      echo "== e2e_tests at $dpi DPI"
      status=1
      : >"$logs/e2e_dpi$dpi.log"
      if lvn_set_dpi "$dpi"; then
        lvn_with_test_hosts env LVN_TEST_DPI="$dpi" timeout 300 "$WINELOADER" \
          build/win/bin/e2e_tests.exe --gtest_color=no --gtest_filter='DisplayScale.*' \
          >"$logs/e2e_dpi$dpi.log" 2>&1
        status=$?
      fi
      record_gtest "e2e at $dpi DPI" "$logs/e2e_dpi$dpi.log" $status
    done
    lvn_set_dpi 96
    # An English Windows: code page 1252, an English user interface language.
    echo "== e2e_tests in English"
    lvn_with_test_hosts env LC_ALL=en_US.UTF-8 timeout 300 "$WINELOADER" \
      build/win/bin/e2e_tests.exe --gtest_color=no --gtest_filter='English.*' \
      >"$logs/e2e_english.log" 2>&1
    record_gtest "e2e in English" "$logs/e2e_english.log" $?
  else
    record_step "wine and server setup" 1
  fi
  lvn_wine_stop
  lvn_servers_stop
else
  record_step "windows build" 1
fi

# 5. The release as a user gets it, in a Wine prefix of its own.
echo "== release"
timeout 900 tests/release/release_test.sh >"$logs/release.log" 2>&1
record_checks release "$logs/release.log" $?

[ -s "$wrappers/calls.log" ] && lvn_fail "a script or test called Wine's wrappers" "$wrappers/calls.log"
record_step "Wine ran only through its 64-bit loader" "$([ -s "$wrappers/calls.log" ] && echo 1 || echo 0)"

echo
printf '%s\n' "${results[@]}"
echo "Total time: $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"
echo "Summary: $total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
