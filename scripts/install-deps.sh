#!/bin/sh
# Installs what the four builds and their tests need, on Debian, as root:
# compilers for 32-bit Linux and both Windows targets, qemu-user and the i386
# runtime to run the 32-bit Linux build, wine64 to run the Windows build,
# clang and its runtime for the fuzz harnesses, pytest and pip for the Python
# package, pkg-config for the test of a host project against the install tree,
# an XML parser and Python for the checks of the program's SVG and JSON
# output; and wine32 to run the 32-bit Windows build where this machine runs
# 32-bit x86 code natively.
set -eu
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
missing=
for package in cmake g++ make googletest util-linux binutils \
    g++-multilib qemu-user libc6:i386 libstdc++6:i386 libgcc-s1:i386 \
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64 wine wine64 \
    clang libclang-rt-14-dev pkgconf \
    python3-pytest python3-setuptools python3-wheel python3-pip \
    libxml2-utils python3 \
    "$@"; do
  installed "$package" || missing="$missing $package"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
fi

# wine32 cannot work without native 32-bit execution: elsewhere the 32-bit
# Windows build gets its static checks only.
if "$(dirname "$0")/native-i386.sh" && ! installed wine32:i386; then
  echo "installing: wine32:i386"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends wine32:i386
fi
