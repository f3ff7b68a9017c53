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

# The faces of cube.obj grouped by smoothing group ("s 1", "s 2", "s off"):
# the edges where the groups meet become the crease edges of cube.ma.
show GetCreases cube.obj 1 cube.ma
diff -u "$OLDPWD/examples/cube.ma" cube.ma || true

# The vertices of cube-moved.obj put into cube.obj: its texture coordinates,
# normals, groups and faces stay; its comments go.
show SwapVertices cube-moved.obj 0 cube.obj
diff -u "$OLDPWD/examples/cube.obj" cube.obj || true

# The folder as the host lists it: OpenFolder, GetFile until -3, CloseFolder.
show list .
