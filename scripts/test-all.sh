#!/bin/sh
# Installs what is missing, builds all four targets and runs every test:
# natively, under qemu-i386 (32-bit Linux) and under wine64 (Windows); the
# 32-bit Windows DLL, which cannot run here, gets its static checks.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# One wine prefix for this checkout, and its server stopped when we are done.
WINEPREFIX="$PWD/build/wine"
export WINEPREFIX
trap 'WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

status=0
summary=
for target in linux-x86_64 linux-i386 windows-x86_64 windows-i686; do
  echo "=== $target"
  scripts/build.sh "$target"
  if ctest --test-dir "build/$target" -j2 --output-on-failure >"build/$target.log" 2>&1; then
    result=passed
  else
    result=FAILED
    status=1
    cat "build/$target.log"
  fi
  summary="$summary
$target: $result, $(grep -E 'tests passed|tests failed' "build/$target.log" | tail -n 1)"
done
echo "=== summary$summary"
exit $status
