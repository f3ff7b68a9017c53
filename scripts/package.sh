#!/bin/sh
# Makes the release archives in build/packages, each with a .sha256 file
# beside it: for each target its build (scripts/build.sh, the same build tree
# the tests run on) and cpack's archive of its install tree.
# usage: scripts/package.sh [TARGET...]
#   default: windows-i686 (the zip) and linux-x86_64 (the tar.gz); on a Mac,
#   macos (the tar.gz of its layout)
set -eu
cd "$(dirname "$0")/.."
if [ $# = 0 ]; then
  if [ "$(uname)" = Darwin ]; then set -- macos; else set -- windows-i686 linux-x86_64; fi
fi
for target in "$@"; do
  echo "=== $target"
  scripts/build.sh "$target" >/dev/null
  mkdir -p build/packages
  log=build/packages/cpack-$target.log
  cpack --config "build/$target/CPackConfig.cmake" -B build/packages >"$log" 2>&1 || { cat "$log"; exit 1; }
  grep -E 'package: |checksum file: ' "$log"
done
