#!/bin/sh
# Builds the library and the host program natively, then runs the host
# program on a temporary copy of examples/ and shows what each call changed:
# first the export forms, as a host calls them, then the subcommands for
# people. Of the repository's own files only docs/ring-creases.svg, the
# preview picture the README shows, is written.
set -eu
cd "$(dirname "$0")/.."
repository=$PWD
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

# The subcommands for people run the same code, here on fresh copies. The
# crease transfer reports what it found and where the statement went; a dry
# run leaves the scene as it was.
cp "$repository/examples/cube.obj" "$repository/examples/cube.ma" .
show creases cube.obj cube.ma --smoothing-groups --dry-run
show creases cube.obj cube.ma --smoothing-groups

# ring.obj against a scene in which two of its faces were merged since the
# export: two crease edges are missing there. The transfer warns; --strict
# refuses and writes nothing; the picture shows the missing edges in blue.
show creases ring.obj ring-edited.ma --smoothing-groups --strict
show creases ring.obj ring-edited.ma --smoothing-groups --dry-run --json --preview "$repository/docs/ring-creases.svg"
show smooth-to-groups cube.obj cube-groups.obj
show help creases
