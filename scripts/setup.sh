#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian 12 machine. Safe to run again:
# it only installs what is missing.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=step.sh
source "$top/scripts/step.sh"
log="$top/build/logs/setup.log"

packages=(
  cmake ninja-build g++ clang libgtest-dev googletest
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  nginx php-cli python3 openssl
  # libgnutls30: Wine's TLS, which libwine only recommends.
  wine wine64 libgnutls30 fonts-wine xvfb xauth x11-apps x11-utils imagemagick fonts-ipafont-gothic locales
  nsis zip unzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # Packaged services (nginx) must not start on port 80: the tests run their own.
  policy=/usr/sbin/policy-rc.d
  made_policy=""
  if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' >"$policy" && chmod +x "$policy" && made_policy=1
  fi
  status=0
  lvn_step "installing packages" "$log" sh -c 'apt-get update -qq &&
    apt-get install -y -qq --no-install-recommends "$@"' sh "${missing[@]}" || status=$?
  [ -n "$made_policy" ] && rm -f "$policy"
  [ $status -eq 0 ] || exit $status
fi

# Wine takes its ANSI code page and its UI language from the locale: ja_JP.UTF-8 gives
# code page 932 and Japanese, en_US.UTF-8 code page 1252 and English. Both are UTF-8 on the
# Unix side, so that file names hold any character.
for lvn_locale in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$lvn_locale\.utf-\?8$"; then
    echo "setup: generating $lvn_locale.UTF-8"
    sed -i "s/^# *\($lvn_locale.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$lvn_locale.UTF-8 UTF-8" /etc/locale.gen || echo "$lvn_locale.UTF-8 UTF-8" >> /etc/locale.gen
    lvn_step "generating the $lvn_locale.UTF-8 locale" "$log" locale-gen
  fi
done
