#!/bin/sh
# The POSIX library's visible symbols: the plug-in functions, the workers and
# helpers C++ callers use, the open folder and Pellando::HelloWorld -- but not
# PellandoPriv::HelloWorldPriv.
# usage: check_posix_symbols.sh NM LIBRARY NAME...
set -eu
nm=$1 library=$2
shift 2
fail() { echo "FAIL: $*"; exit 1; }
symbols=$("$nm" -D --defined-only -C "$library" | sed 's/^[0-9a-f]* [A-Za-z] //')
for name in "$@"; do
  printf '%s\n' "$symbols" | grep -Eq "^${name}(\(|$)" || fail "$name is not visible in $library"
done
if printf '%s\n' "$symbols" | grep -q 'HelloWorldPriv'; then
  fail "PellandoPriv::HelloWorldPriv is visible in $library"
fi
echo "ok: $# names visible, HelloWorldPriv hidden"
