#!/bin/sh
# Installs what is missing, builds all four targets and runs every test:
# natively, under qemu-i386 (32-bit Linux) and under wine64 (Windows). The
# 32-bit Windows DLL gets its static checks, and runs its tests under wine32
# where this machine runs 32-bit x86 code natively. Then the whole suite
# again under AddressSanitizer + UBSan and under ThreadSanitizer, the Python
# package's tests, the release archives (build/packages), and each fuzz
# harness for FUZZ_SECONDS (default 30).
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# A wine prefix for each flavour in this checkout, and their servers stopped
# when we are done.
WINEPREFIX="$PWD/build/wine"
PELLANDO_WINE32_PREFIX="$PWD/build/wine32"
export WINEPREFIX PELLANDO_WINE32_PREFIX
trap 'for prefix in "$WINEPREFIX" "$PELLANDO_WINE32_PREFIX"; do
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; done' EXIT

status=0
summary=
for target in linux-x86_64 linux-i386 windows-x86_64 windows-i686 linux-x86_64-sanitize linux-x86_64-tsan; do
  echo "=== $target"
  scripts/build.sh "$target"
  how=
  if [ "$target" = windows-i686 ]; then
    if grep -qx "PELLANDO_WINE32:[A-Z]*=ON" "build/$target/CMakeCache.txt"; then
      how=" (under wine32)"
    else
      if scripts/native-i386.sh; then why="wine32 is not installed"; else why="this machine cannot run 32-bit x86 code natively"; fi
      echo "windows-i686: $why, so the 32-bit DLL was checked statically only"
      how=" (static checks only)"
    fi
  fi
  # gcc 12's ThreadSanitizer cannot place its shadow memory where a kernel
  # randomises mappings with more bits than it expects: its leg runs with
  # address randomisation off.
  runner=
  [ "$target" = linux-x86_64-tsan ] && runner="setarch $(uname -m) -R"
  if $runner ctest --test-dir "build/$target" -j2 --output-on-failure >"build/$target.log" 2>&1; then
    result=passed
  else
    result=FAILED
    status=1
    cat "build/$target.log"
  fi
  summary="$summary
$target: $result$how, $(grep -E 'tests passed|tests failed' "build/$target.log" | tail -n 1)"
done
echo "=== python"
# The Python package against the native build, leaving nothing in the checkout.
if PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 -m pytest -q -p no:cacheprovider python/tests >build/python.log 2>&1; then
  result=passed
else
  result=FAILED
  status=1
  cat build/python.log
fi
summary="$summary
python: $result, $(tail -n 1 build/python.log)"
echo "=== release archives"
if scripts/package.sh >build/package.log 2>&1; then
  result=passed
else
  result=FAILED
  status=1
  cat build/package.log
fi
summary="$summary
release archives: $result, $(sed -n 's|^CPack: - package: .*/||p' build/package.log | sed 's/ generated\.$//' | tr '\n' ' ')"
echo "=== fuzzing, ${FUZZ_SECONDS:-30} s a harness"
if scripts/fuzz.sh "${FUZZ_SECONDS:-30}" >build/fuzz.log 2>&1; then
  result=passed
else
  result=FAILED
  status=1
  cat build/fuzz.log
fi
summary="$summary
fuzzing: $result, $(grep -c '^Done' build/fuzz.log) harnesses, $(awk '/^stat::number_of_executed_units:/ { n += $2 } END { print n + 0 }' build/fuzz.log) runs"
echo "=== summary$summary"
exit $status
