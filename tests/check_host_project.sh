#!/bin/sh
# A host project finds the installed header and library, through the CMake
# package (find_package(Pellando), the target Pellando::Pellando and
# Pellando_LIBRARY) and through pkg-config: the tree is installed into a
# temporary prefix and tests/host-project is built against it, both ways, and
# run.
# usage: check_host_project.sh BUILD VERSION
set -eu
build=$1 version=$2
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "cmake --install failed"; }

# find_package, asking for this version.
cmake -S "$here/host-project" -B "$work/cmake-host" -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DPELLANDO_WANTED="$version" >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log"; fail "find_package(Pellando $version) failed"; }
cmake --build "$work/cmake-host" >"$work/build.log" 2>&1 || { cat "$work/build.log"; fail "the host project does not build"; }
"$work/cmake-host/host" || fail "the host built with find_package does not load the library"
# The version file: a later major version is not this one.
if cmake -S "$here/host-project" -B "$work/cmake-later" -DCMAKE_PREFIX_PATH="$work/prefix" \
    -DPELLANDO_WANTED="$((${version%%.*} + 1))" >/dev/null 2>&1; then
  fail "find_package(Pellando $((${version%%.*} + 1))) accepts version $version"
fi

# pkg-config.
pc=$(find "$work/prefix" -name pellando.pc)
[ -n "$pc" ] || fail "the tree has no pellando.pc"
export PKG_CONFIG_PATH="${pc%/*}"
[ "$(pkg-config --modversion pellando)" = "$version" ] || fail "pkg-config says version $(pkg-config --modversion pellando)"
cc $(pkg-config --cflags pellando) -DPELLANDO_LIBRARY_FILE="\"$(pkg-config --variable=library pellando)\"" \
  -o "$work/pkg-config-host" "$here/host-project/host.c" -ldl || fail "the host does not build with pkg-config's flags"
"$work/pkg-config-host" || fail "the host built with pkg-config does not load the library"
echo "ok"
