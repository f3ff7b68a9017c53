#!/bin/sh
# Files beyond 4 GiB on the 32-bit builds: the 32-bit Linux library (under
# qemu-i386) rewrites a 4.3 GB OBJ file and reads it for GetCreases, and must
# give the same bytes and results as the 64-bit library; where this machine
# runs 32-bit x86 code natively, the 32-bit Windows DLL (under wine32) must
# give the same bytes, Windows line ends and all, as the 64-bit Windows build
# (under wine64). Not part of CI (it writes about 13 GB and takes minutes).
# Files go to $BENCH_DIR, else /tmp.
# usage: scripts/check-large-files.sh [GIGABYTES]
set -eu
cd "$(dirname "$0")/.."
gigabytes=${1:-4.3}
scripts/build.sh linux-x86_64 >/dev/null
scripts/build.sh linux-i386 >/dev/null
scripts/build.sh windows-i686 >/dev/null
windows=no
if grep -qx "PELLANDO_WINE32:[A-Z]*=ON" build/windows-i686/CMakeCache.txt; then
  windows=yes
  scripts/build.sh windows-x86_64 >/dev/null
fi
work=$(mktemp -d "${BENCH_DIR:-/tmp}/pellando-large-XXXXXX")
# The wine prefixes live and die with the work folder, their servers first.
WINEPREFIX=$work/wine64
PELLANDO_WINE32_PREFIX=$work/wine32
export WINEPREFIX PELLANDO_WINE32_PREFIX
trap 'for prefix in "$WINEPREFIX" "$PELLANDO_WINE32_PREFIX"; do
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; done; rm -rf "$work"' EXIT

# One block of about 1 MB of OBJ lines, repeated: groups, smoothing groups,
# faces that reach back with relative references (in pairs that cancel out,
# so that the crease edges, which a 32-bit process must hold in memory, stay
# few).
block=$work/block.obj
awk 'BEGIN {
  for (i = 0; i < 2000; i++) {
    printf "g part%d\ns %d\nvt 0.5 0.5\n", i % 50, i % 7
    for (j = 0; j < 8; j++) printf "v %d.125 %d.25 %d.5\n", i, j, i + j
    printf "f -8 -7 -6 -5\nf -5/1 -6/1 -7/1 -8/1\nf 1 2 3\n"
  }
}' >"$block"
count=$(awk -v g="$gigabytes" -v b="$(wc -c <"$block")" 'BEGIN { printf "%d", g * 1e9 / b + 1 }')
i=0
# ... and at the end one face in a group of its own: its sides are creases.
{ while [ $i -lt "$count" ]; do cat "$block"; i=$((i + 1)); done; printf 's tail\nf 1 2 3\n'; } >"$work/big.obj"
size=$(wc -c <"$work/big.obj")
echo "big.obj: $size bytes"
[ "$size" -gt 4294967296 ] || { echo "FAIL: the file is not beyond 4 GiB"; exit 1; }
printf '\tsetAttr -s 3 ".ed[0:2]"  0 1 0 1 2 0 2 0 0;\n\tsetAttr ".cd" -type "dataPolyComponent" Index_Data Edge 0 ;\n' >"$work/scene.ma"
for copy in scene64 scene32 scenew64 scenew32; do cp "$work/scene.ma" "$work/$copy.ma"; done

run() {
  label=$1
  shift
  start=$(date +%s.%N)
  "$@"
  echo "  $label: $(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f s", e - s }')"
}
status=0
run "64-bit SmoothtoGroupOBJ" build/linux-x86_64/bin/pellando SmoothtoGroupOBJ "$work/big.obj" 0 "$work/out64.obj"
run "32-bit SmoothtoGroupOBJ" qemu-i386 -L / build/linux-i386/bin/pellando SmoothtoGroupOBJ "$work/big.obj" 0 "$work/out32.obj"
cmp "$work/out64.obj" "$work/out32.obj" && echo "  the same $(wc -c <"$work/out32.obj") bytes" || status=1
rm -f "$work/out64.obj"
run "32-bit SmoothtoGroupOBJ in place" qemu-i386 -L / build/linux-i386/bin/pellando SmoothtoGroupOBJ "$work/out32.obj" 0 "$work/out32.obj"
head -n 2 "$work/out32.obj" | tail -n 1 | grep -q '^# Exported from Pellando plugin test version' || status=1
rm -f "$work/out32.obj"
run "64-bit GetCreases" build/linux-x86_64/bin/pellando GetCreases "$work/big.obj" 1 "$work/scene64.ma"
run "32-bit GetCreases" qemu-i386 -L / build/linux-i386/bin/pellando GetCreases "$work/big.obj" 1 "$work/scene32.ma"
cmp "$work/scene64.ma" "$work/scene32.ma" && echo "  the same scenes" || status=1

if [ $windows = yes ]; then
  win() { printf 'Z:%s' "$1" | tr / '\\'; }
  run "64-bit Windows SmoothtoGroupOBJ" cmake/wine-run.sh build/windows-x86_64/bin/pellando.exe \
    SmoothtoGroupOBJ "$(win "$work/big.obj")" 0 "$(win "$work/outw64.obj")"
  run "32-bit Windows SmoothtoGroupOBJ" cmake/wine32-run.sh build/windows-i686/bin/pellando.exe \
    SmoothtoGroupOBJ "$(win "$work/big.obj")" 0 "$(win "$work/outw32.obj")"
  cmp "$work/outw64.obj" "$work/outw32.obj" && echo "  the same $(wc -c <"$work/outw32.obj") bytes" || status=1
  [ "$(head -n 1 "$work/outw32.obj" | od -An -tx1 | tr -d ' \n' | tail -c 4)" = 0d0a ] ||
    { echo "  FAIL: no Windows line ends"; status=1; }
  rm -f "$work/outw64.obj" "$work/outw32.obj"
  run "64-bit Windows GetCreases" cmake/wine-run.sh build/windows-x86_64/bin/pellando.exe \
    GetCreases "$(win "$work/big.obj")" 1 "$(win "$work/scenew64.ma")"
  run "32-bit Windows GetCreases" cmake/wine32-run.sh build/windows-i686/bin/pellando.exe \
    GetCreases "$(win "$work/big.obj")" 1 "$(win "$work/scenew32.ma")"
  cmp "$work/scenew64.ma" "$work/scenew32.ma" && echo "  the same scenes" || status=1
else
  echo "  the 32-bit Windows DLL was not run: this machine cannot run 32-bit x86 code natively (or wine32 is missing)"
fi
[ $status -eq 0 ] && echo "ok" || echo "FAIL"
exit $status
