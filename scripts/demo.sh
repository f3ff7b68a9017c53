#!/bin/sh
# Builds the library and the host program natively, then runs the host
# program on a temporary copy of examples/ and shows what each call changed.
# The repository's own files are never touched.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build/demo -DCMAKE_BUILD_TYPE=Release -DPELLANDO_TESTS=OFF >/dev/null
cmake --build build/demo -j"$(nproc)" >/dev/null
pellando=$PWD/build/demo/bin/pellando

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R examples/. "$work"
cd "$work"

show() {
  echo
  echo "\$ pellando $*"
  "$pellando" "$@" || true
}

show Version
show SmoothtoGroupOBJ cube.obj 0 cube-groups.obj
diff -u cube.obj cube-groups.obj || true
