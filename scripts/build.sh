#!/bin/sh
# Configures and builds one target in build/TARGET.
# usage: scripts/build.sh TARGET [CMAKE-ARGUMENTS...]
#   TARGET: linux-x86_64 (native), linux-i386, windows-x86_64, windows-i686,
#           linux-x86_64-sanitize (native, AddressSanitizer + UBSan),
#           linux-x86_64-tsan (native, ThreadSanitizer),
#           macos (native, on a Mac)
set -eu
cd "$(dirname "$0")/.."
target=$1
shift
type=Release
case "$target" in
  linux-x86_64) toolchain= ;;
  linux-x86_64-sanitize) toolchain= type=RelWithDebInfo; set -- -DPELLANDO_SANITIZE=ON "$@" ;;
  linux-x86_64-tsan) toolchain= type=RelWithDebInfo; set -- -DPELLANDO_TSAN=ON "$@" ;;
  linux-i386) toolchain=cmake/toolchains/linux-i386.cmake ;;
  windows-x86_64) toolchain=cmake/toolchains/mingw-x86_64.cmake ;;
  windows-i686)
    toolchain=cmake/toolchains/mingw-i686.cmake
    # Its tests run under wine32 where that can work; elsewhere it gets its
    # static checks only.
    wine32=OFF
    [ -x /usr/lib/wine/wine ] && scripts/native-i386.sh && wine32=ON
    set -- -DPELLANDO_WINE32:BOOL=$wine32 "$@" ;;
  macos) toolchain= ;;
  *) echo "unknown target: $target" >&2; exit 2 ;;
esac
cmake -S . -B "build/$target" -DCMAKE_BUILD_TYPE=$type \
  ${toolchain:+-DCMAKE_TOOLCHAIN_FILE=$toolchain} "$@" >/dev/null
cmake --build "build/$target" -j"$(nproc)"
