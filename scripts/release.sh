#!/usr/bin/env bash
# Builds the release from a clean build folder and writes it to dist/:
#   lorvane-<version>-setup.exe     the installer
#   lorvane-<version>-portable.zip  Lorvane/ with the program, its help, the lookup pages, readme.txt
#                                   and a commented lvn.ini, which makes it a portable copy
#   SHA256SUMS                      of both
# <version> is the CMake project version, as in the exe's version resource.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
# 512 KiB: the program with its update targets, their page and their sender is 468 KiB.
size_limit=524288

# shellcheck source=step.sh
source "$top/scripts/step.sh"
lvn_name_failures
"$top/scripts/setup.sh"

# The release preset's build folder, made afresh.
build="$top/build/release"
rm -rf "$build"
mkdir -p "$build"
echo "== building lorvane.exe in build/release"
lvn_step "configuring the release build" "$build/configure.log" cmake --preset release
lvn_step "building lorvane.exe for the release" "$build/build.log" \
  cmake --build --preset release -j "$(nproc)"

header="$build/generated/lvn_version.h"
version=$(sed -n 's/^#define LVN_VERSION_TEXT "\(.*\)"$/\1/p' "$header")
copyright=$(sed -n 's/^#define LVN_COPYRIGHT "\(.*\)"$/\1/p' "$header")
[ -n "$version" ] && [ -n "$copyright" ] || { echo "no version in $header"; exit 1; }

stage="$build/stage/Lorvane"
mkdir -p "$stage"
x86_64-w64-mingw32-strip --strip-all -o "$stage/lorvane.exe" "$build/bin/lorvane.exe"
unstripped=$(stat -c %s "$build/bin/lorvane.exe")
size=$(stat -c %s "$stage/lorvane.exe")
echo "lorvane.exe $version: $size bytes ($((size / 1024)) KiB) stripped, $unstripped before; limit $size_limit"
if [ "$size" -gt "$size_limit" ]; then
  echo "lorvane.exe is larger than $size_limit bytes"
  exit 1
fi
cp -r "$build/bin/help" "$stage/help"
cp -r server "$stage/server"
# Notepad on a Japanese Windows reads Shift-JIS with CR LF.
sed -e "s/@VERSION@/$version/" -e "s/@COPYRIGHT@/$copyright/" installer/readme.txt |
  iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$stage/readme.txt"
# The zip is a portable copy: lvn.ini beside lorvane.exe keeps the data in its folder.
iconv -f UTF-8 -t CP932 installer/portable-lvn.ini | sed 's/$/\r/' >"$stage/lvn.ini"

# The help files by name: the installer writes and removes only these, since the folder it
# installs into may hold other programs' files.
help_files="$build/help_files.nsh"
{
  echo "; Written by scripts/release.sh from the staged help folder."
  echo '!macro LVN_HELP_FILES OP DIR'
  for file in "$stage"/help/*; do
    name=$(basename "$file")
    # Taken into NSIS strings as they are.
    if [ ! -f "$file" ] || [[ ! $name =~ ^[A-Za-z0-9._-]+$ ]]; then
      echo "help/$name: the installer takes only files, named with letters, digits, . _ -" >&2
      exit 1
    fi
    echo "  !insertmacro \${OP} \"\${DIR}\" \"$name\""
  done
  echo '!macroend'
} >"$help_files"

mkdir -p dist
setup="lorvane-$version-setup.exe"
zip="lorvane-$version-portable.zip"
rm -f "dist/$setup" "dist/$zip" dist/SHA256SUMS

echo "== writing dist/$zip"
(cd "$build/stage" && zip -q -X -r "$top/dist/$zip" Lorvane)

echo "== writing dist/$setup"
lvn_step "making the installer with makensis" "$build/makensis.log" \
  makensis -V2 -INPUTCHARSET UTF8 "-DVERSION=$version" "-DCOPYRIGHT=$copyright" \
  "-DSTAGE=$stage" "-DHELP_FILES=$help_files" "-DOUTFILE=$top/dist/$setup" installer/lorvane.nsi

(cd dist && sha256sum "$setup" "$zip" >SHA256SUMS)
echo "== dist/"
ls -l dist
