#!/bin/sh
# Exits 0 when this machine runs 32-bit x86 programs natively, which wine32
# needs; 1 when it cannot. Decided by running one: a tiny static 32-bit
# program. An emulator registered with the kernel for such programs
# (qemu-user's binfmt_misc handler) would run it too, and wine32 would still
# not work; so the program compares the machine name it is told with the
# one the kernel reports to it, which an emulator replaces with the name of
# the machine it emulates. Exit status 7 is a native run.
# PELLANDO_NATIVE_I386=yes or no forces the answer, to try the other branch
# of the scripts that ask.
# usage: scripts/native-i386.sh
set -u
case "${PELLANDO_NATIVE_I386:-}" in
  yes) exit 0 ;;
  no) exit 1 ;;
esac
cd "$(dirname "$0")/.."
# In the checkout, not in /tmp, which may forbid running programs.
mkdir -p build
work=$(mktemp -d build/native-i386.XXXXXX)
trap 'rm -rf "$work"' EXIT
cat >"$work/probe.c" <<'EOF'
#include <string.h>
#include <sys/utsname.h>
int main(int argc, char** argv) {
    struct utsname name;
    return argc > 1 && uname(&name) == 0 && strcmp(name.machine, argv[1]) == 0 ? 7 : 8;
}
EOF
gcc -m32 -static -o "$work/probe" "$work/probe.c" 2>/dev/null || exit 1
"$work/probe" "$(uname -m)" 2>/dev/null
[ $? -eq 7 ]
