#!/bin/bash
# The host program as a user drives it: results in words, exit statuses
# (0 success, 1 failure result, 2 usage error), the library bound by path.
# usage: check_host_program.sh PATH-STYLE EXAMPLES VERSION [EMULATOR...] PROGRAM
#   PATH-STYLE: posix, or windows (paths handed to the program become Z:\...)
set -eu
style=$1 examples=$2 version=$3
shift 3
pellando=("$@")
fail() { echo "FAIL: $*"; exit 1; }
native() { if [ "$style" = windows ]; then printf 'Z:%s' "$1" | tr / '\\'; else printf '%s' "$1"; fi; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# expect STATUS PATTERN ARGUMENTS...: the exit status, and a line of the
# output matching the pattern.
expect() {
  local want=$1 pattern=$2 output status
  shift 2
  set +e
  output=$("${pellando[@]}" "$@" 2>&1)
  status=$?
  set -e
  output=${output//$'\r'/}
  [ "$status" = "$want" ] || fail "exit status $status, not $want: pellando $*
$output"
  grep -Eq -- "$pattern" <<<"$output" || fail "no line matching '$pattern': pellando $*
$output"
}

cp "$examples/cube.obj" "$examples/cube.ma" "$work/"
in=$(native "$work/cube.obj") out=$(native "$work/out.obj")

expect 0 'SmoothtoGroupOBJ +IN.obj NUMBER OUT.obj' --help
expect 0 "^$version: version of this build" Version
expect 0 '^0: written$' SmoothtoGroupOBJ "$in" 0 "$out"
head -n 1 "$work/out.obj" | grep -q '^# Exported from Pellando plugin test version' || fail "out.obj has no header"
expect 1 '^-1: the input file cannot be opened$' SmoothtoGroupOBJ "$(native "$work/missing.obj")" 0 "$out"
expect 0 '^3: scene written; number of groups$' GetCreases "$in" 1 "$(native "$work/cube.ma")"
grep -q '^  setAttr ".cd" -type "dataPolyComponent" Index_Data Edge 10' "$work/cube.ma" || fail "cube.ma has no new crease statement"
printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n' >"$work/ungrouped.obj"
expect 1 '^-4: the mesh has no group boundary edges' GetCreases "$(native "$work/ungrouped.obj")" 0 "$(native "$work/cube.ma")"

# The vertex swap, and the folder exports on a folder of the test's own.
cp "$examples/cube.obj" "$work/swap-target.obj"
cp "$examples/cube-moved.obj" "$work/"
moved=$(native "$work/cube-moved.obj") target=$(native "$work/swap-target.obj")
expect 0 "^0: the target now holds the source's vertices$" SwapVertices "$moved" 0 "$target"
head -n 2 "$work/swap-target.obj" | tr -d '\r' | tr '\n' '|' | grep -q '^# written by Quillfer plugin for Orvex|v -1.0 0.0 1.0|$' ||
  fail "swap-target.obj does not start with the header and the moved vertices"
expect 1 '^-1: nothing was changed' SwapVertices "$moved" 0 "$(native "$work/ungrouped.obj")"
mkdir "$work/folder"
touch "$work/folder/a.obj" "$work/folder/b.txt" "$work/folder/README"
folder=$(native "$work/folder")
expect 0 '^b\.txt$' list "$folder"
expect 0 '^\.\.$' list "$folder"
expect 1 '^-1: the folder cannot be opened$' list "$(native "$work/missing")"
expect 0 '^0: the folder is open for listing' OpenFolder "$folder"
expect 1 '^-1: no folder is open$' GetFile
expect 1 '^-1: no folder is open$' CloseFolder
expect 0 '^0: deleted$' FileDelete "$(native "$work/folder/b.txt")"
expect 1 '^-1: it cannot be deleted' FileDelete "$(native "$work/folder/b.txt")"
expect 0 '^0: the files with an extension' EmptyFolder "$folder"
[ "$(ls -A "$work/folder")" = README ] || fail "EmptyFolder left $(ls -A "$work/folder" | tr '\n' ' ')"
expect 2 'takes one path' list
expect 2 'no export named'
expect 2 'no such export' NoSuchExport
expect 2 'takes TEXT NUMBER BUFFER' SmoothtoGroupOBJ "$in"
expect 2 'NUMBER is not a number' SmoothtoGroupOBJ "$in" x "$out"
expect 2 'takes no arguments' Version extra
expect 2 'pellando: ' --library "$(native "$work/missing-library")" Version
echo "ok"
