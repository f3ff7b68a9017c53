#!/bin/bash
# The subcommands for people as a user drives them: the crease report (plain
# and JSON), the dry run, the warnings and --strict, the preview picture, the
# help; and every subcommand against its export on the same files. A
# stand-in library shows that the export forms still call the library they
# load while the subcommands run the code built into the program.
# usage: check_subcommands.sh PATH-STYLE EXAMPLES VERSION STUB-LIBRARY [EMULATOR...] PROGRAM
#   PATH-STYLE: posix, or windows (paths handed to the program become Z:\...)
set -eu
style=$1 examples=$2 version=$3 stub=$4
shift 4
pellando=("$@")
fail() { echo "FAIL: $*"; exit 1; }
native() { if [ "$style" = windows ]; then printf 'Z:%s' "$1" | tr / '\\'; else printf '%s' "$1"; fi; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python=/usr/bin/python3

# run ARGUMENTS...: the program's exit status in $status, its output in
# $work/out and $work/err (CR LF made LF).
run() {
  set +e
  "${pellando[@]}" "$@" >"$work/out.raw" 2>"$work/err.raw"
  status=$?
  set -e
  tr -d '\r' <"$work/out.raw" >"$work/out"
  tr -d '\r' <"$work/err.raw" >"$work/err"
}
shown() { printf 'pellando %s\n--- stdout\n%s\n--- stderr\n%s\n' "$*" "$(cat "$work/out")" "$(cat "$work/err")"; }
# expect STATUS ARGUMENTS...: the exit status.
expect() {
  local want=$1
  shift
  run "$@"
  [ "$status" = "$want" ] || fail "exit status $status, not $want: $(shown "$@")"
}
# has FILE PATTERN...: each pattern matches a line of $work/FILE.
has() {
  local file=$1 pattern
  shift
  for pattern in "$@"; do
    grep -Eq -- "$pattern" "$work/$file" || fail "no line of $file matching '$pattern' after: $(cat "$work/out") $(cat "$work/err")"
  done
}
json() { "$python" -c "import json, sys; d = json.load(open(sys.argv[1])); $1" "$work/out"; }
same() { cmp -s "$1" "$2" || fail "$1 and $2 differ"; }

cp "$examples/cube.obj" "$examples/cube.ma" "$examples/cube-moved.obj" "$work/"
obj=$(native "$work/cube.obj")

# --- The report, on Maya's own layout; the file as the export writes it.
cp "$work/cube.ma" "$work/export.ma"
expect 0 GetCreases "$obj" 1 "$(native "$work/export.ma")"
expect 0 creases "$obj" "$(native "$work/cube.ma")" --smoothing-groups
has out '^mesh +.*cube\.obj: 8 vertices, 3 smoothing groups, 10 crease edges$' \
  '^scene +.*cube\.ma: mesh node "pCubeShape1", 8 vertices, 12 edges$' \
  '^creases +10 written, 0 dropped' \
  '^statement +replaced line 37 \(the old statement listed 0 edges\)$' \
  '^result +3: scene written; number of groups$'
[ ! -s "$work/err" ] || fail "warnings for a matching pair: $(cat "$work/err")"
same "$work/cube.ma" "$work/export.ma"
# Again: the statement written the first time is replaced, over its two lines.
expect 0 creases "$obj" "$(native "$work/cube.ma")" --smoothing-groups
has out '^statement +replaced lines 37-38 \(the old statement listed 10 edges\)$'
same "$work/cube.ma" "$work/export.ma"
# By groups, as GetCreases with 0.
cp "$examples/cube.ma" "$work/groups.ma"
cp "$examples/cube.ma" "$work/groups-export.ma"
expect 0 creases "$obj" "$(native "$work/groups.ma")"
has out '3 groups, 6 crease edges$' '^result +3: scene written'
expect 0 GetCreases "$obj" 0 "$(native "$work/groups-export.ma")"
same "$work/groups.ma" "$work/groups-export.ma"

# --- JSON, parsed by a JSON parser.
cp "$examples/cube.ma" "$work/json.ma"
expect 0 creases "$obj" "$(native "$work/json.ma")" --smoothing-groups --json
json 'assert (d["groups"], d["crease_edges"], d["written"], d["dropped"], d["scene_edges"]) == (3, 10, 10, 0, 12), d
assert (d["scene_mesh_node"], d["scene_vertices"], d["mesh_vertices"]) == ("pCubeShape1", 8, 8), d
assert (d["statement"], d["first_line"], d["last_line"], d["old_edges"]) == ("replaced", 37, 37, 0), d
assert (d["result"], d["scene_changed"], d["dry_run"], d["warnings"], d["preview"]) == (3, True, False, [], None), d' ||
  fail "JSON report: $(cat "$work/out")"

# --- A dry run: the report of the real run, the scene byte for byte, no file made.
cp "$examples/cube.ma" "$work/dry.ma"
before=$(ls -A "$work")
expect 0 creases "$obj" "$(native "$work/dry.ma")" --smoothing-groups --dry-run
has out '^statement +would replace line 37 .*dry run: the scene was left untouched$' '^creases +10 written, 0 dropped'
same "$work/dry.ma" "$examples/cube.ma"
[ "$(ls -A "$work")" = "$before" ] || fail "a dry run left files: $(ls -A "$work")"

# --- A mismatched pair: a scene whose mesh lost the edges 0-1 and 2-3 (one
# of them a crease edge) and has a ninth vertex. Warnings; --strict writes nothing (no preview either).
sed -e 's/"\.ed\[0:11\]"  0 1 0 2 3 0/".ed[0:11]"  0 6 0 2 5 0/' -e 's/-s 8 "\.vt\[0:7\]"/-s 9 ".vt[0:8]"/' \
  "$examples/cube.ma" >"$work/edited.ma"
cp "$work/edited.ma" "$work/edited-original.ma"
expect 1 creases "$obj" "$(native "$work/edited.ma")" --smoothing-groups --strict --preview "$(native "$work/strict.svg")"
has err 'warning: 1 of the 10 crease edges is not in the edge list of the scene.s mesh "pCubeShape1"' \
  'warning: the mesh has 8 vertices but the scene.s mesh "pCubeShape1" has 9 vertices' \
  '--strict: nothing was written'
has out '^creases +9 written, 1 dropped' '^statement +would replace line 37 .*nothing written \(--strict\)$'
same "$work/edited.ma" "$work/edited-original.ma"
[ ! -e "$work/strict.svg" ] || fail "--strict refused but wrote the preview"
[ "$(ls -A "$work" | grep -c edited)" = 2 ] || fail "--strict left files: $(ls -A "$work")"
expect 1 creases "$obj" "$(native "$work/edited.ma")" --smoothing-groups --strict --json
json 'assert (d["written"], d["dropped"], d["scene_changed"], len(d["warnings"])) == (9, 1, False, 2), d' ||
  fail "JSON report of a refused run: $(cat "$work/out")"
same "$work/edited.ma" "$work/edited-original.ma"
# Without --strict the same warnings, and the scene written as the export writes it.
cp "$work/edited-original.ma" "$work/edited-export.ma"
expect 0 creases "$obj" "$(native "$work/edited.ma")" --smoothing-groups
has err 'warning: 1 of the 10 crease edges' 'warning: the mesh has 8 vertices'
expect 0 GetCreases "$obj" 1 "$(native "$work/edited-export.ma")"
same "$work/edited.ma" "$work/edited-export.ma"

# --- The preview of a flat strip of three quads (z = 0, so the front view
# shows every edge apart): groups a (two quads) and b (one); the scene lacks
# the crease edge 6-7. One bold segment per written crease edge, one in the
# second colour for the dropped one.
printf 'v 0 0 0\nv 1 0 0\nv 2 0 0\nv 3 0 0\nv 0 1 0\nv 1 1 0\nv 2 1 0\nv 3 1 0\ng a\nf 1 2 6 5\nf 2 3 7 6\ng b\nf 3 4 8 7\n' >"$work/strip.obj"
{
  printf '//Maya ASCII 2024 scene\ncreateNode mesh -n "stripShape" -p "strip";\n'
  printf '\tsetAttr -s 8 ".vt[0:7]"  0 0 0 1 0 0 2 0 0 3 0 0 0 1 0 1 1 0 2 1 0 3 1 0;\n'
  printf '\tsetAttr -s 9 ".ed[0:8]"  0 1 0 1 2 0 2 3 0 4 5 0 5 6 0 0 4 0 5 1 0 2 6 0 3 7 0;\n'
  printf '\tsetAttr ".cd" -type "dataPolyComponent" Index_Data Edge 0 ;\n'
} >"$work/strip.ma"
expect 0 creases "$(native "$work/strip.obj")" "$(native "$work/strip.ma")" --preview "$(native "$work/strip.svg")"
has out '^creases +8 written, 1 dropped' '^preview +.*strip\.svg$'
has err 'warning: 1 of the 9 crease edges is not in the edge list of the scene.s mesh "stripShape"'
xmllint --noout "$work/strip.svg" || fail "strip.svg is not well-formed XML"
segments() {
  xmllint --xpath "//*[local-name()='g'][@id='$1']/*[local-name()='path'][@class='$2']/@d" "$work/strip.svg" 2>/dev/null |
    grep -o M | wc -l
}
[ "$(segments front written)" = 8 ] || fail "front view: $(segments front written) bold segments, not 8"
[ "$(segments front dropped)" = 1 ] || fail "front view: $(segments front dropped) dropped segments, not 1"
[ "$(segments front mesh)" = 10 ] || fail "front view: $(segments front mesh) mesh edges, not 10"
grep -q 'strip.obj into strip.ma, mesh node stripShape' "$work/strip.svg" || fail "the legend names no files"
# A dry run still draws what was asked for, and leaves the scene.
cp "$work/strip.ma" "$work/strip-original.ma"
expect 0 creases "$(native "$work/strip.obj")" "$(native "$work/strip.ma")" --dry-run --preview "$(native "$work/dry.svg")"
xmllint --noout "$work/dry.svg" || fail "dry.svg is not well-formed XML"
same "$work/strip.ma" "$work/strip-original.ma"

# --- Failures answer the export's code, with exit status 1.
printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n' >"$work/ungrouped.obj"
expect 1 creases "$(native "$work/ungrouped.obj")" "$(native "$work/cube.ma")"
has out '^result +-4: the mesh has no crease edges'
expect 1 creases "$(native "$work/missing.obj")" "$(native "$work/cube.ma")" --json
json 'assert (d["result"], d["scene_read"], d["groups"]) == (-1, False, None), d' || fail "JSON of a failure: $(cat "$work/out")"

# --- The other subcommands against their exports on the same files.
expect 0 smooth-to-groups "$obj" "$(native "$work/smooth.obj")"
has out '^groups +3 smoothing group lines \("s"\) became group lines' '^comments +3 old group lines' '^dropped +10 lines'
expect 0 SmoothtoGroupOBJ "$obj" 0 "$(native "$work/smooth-export.obj")"
same "$work/smooth.obj" "$work/smooth-export.obj"
cp "$work/cube.obj" "$work/in-place.obj"
expect 0 smooth-to-groups "$(native "$work/in-place.obj")"
has out '\(in place\)$'
same "$work/in-place.obj" "$work/smooth-export.obj"
expect 1 smooth-to-groups "$(native "$work/missing.obj")" "$(native "$work/smooth.obj")"
has err '^-1: .*missing\.obj cannot be opened or read'

cp "$examples/cube.obj" "$work/swap.obj"
cp "$examples/cube.obj" "$work/swap-export.obj"
moved=$(native "$work/cube-moved.obj")
expect 0 swap-vertices "$moved" "$(native "$work/swap.obj")"
has out '^vertices +8 vertex positions of .*cube-moved\.obj'
expect 0 SwapVertices "$moved" 0 "$(native "$work/swap-export.obj")"
same "$work/swap.obj" "$work/swap-export.obj"
cp "$work/ungrouped.obj" "$work/small.obj"
expect 1 swap-vertices "$moved" "$(native "$work/small.obj")"
has err '^-1: nothing was changed: .*small\.obj has 3 vertex lines, .*cube-moved\.obj 8$'
same "$work/small.obj" "$work/ungrouped.obj"

mkdir "$work/folder" "$work/folder/sub"
touch "$work/folder/a.obj" "$work/folder/b.txt" "$work/folder/README"
folder=$(native "$work/folder")
expect 0 list "$folder"
sort "$work/out" >"$work/listed"
run list "$(native "$work/missing")"
[ "$status" = 1 ] || fail "list of a missing folder: $(shown list missing)"
has err '^-1: the folder cannot be opened$'
printf '.\n..\nREADME\na.obj\nb.txt\nsub\n' | sort >"$work/expected"
same "$work/listed" "$work/expected"
expect 0 empty "$folder"
has out '^deleted +a\.obj$' '^deleted +b\.txt$' '^stays +README$' '^stays +sub$'
[ "$(ls -A "$work/folder" | sort | tr '\n' ' ')" = "README sub " ] || fail "empty left $(ls -A "$work/folder")"
expect 1 empty "$(native "$work/missing")"
touch "$work/folder/c.obj"
expect 0 delete "$(native "$work/folder/c.obj")"
[ ! -e "$work/folder/c.obj" ] || fail "delete left the file"
expect 1 delete "$(native "$work/folder/c.obj")"
has err '^-1: .*c\.obj cannot be deleted'
expect 0 version
has out "^pellando [0-9]" "^library built into this program: Version $version\$"
release=$(head -n 1 "$work/out")
expect 0 --version
[ "$(head -n 1 "$work/out")" = "$release" ] || fail "version and --version name different releases"

# --- Which code runs: the export form calls the library it loads; the
# subcommands call the code built into the program.
library=$(native "$stub")
expect 0 --library "$library" Version
has out '^77: version of this build$'
cp "$examples/cube.ma" "$work/stub.ma"
expect 0 --library "$library" GetCreases "$obj" 1 "$(native "$work/stub.ma")"
has out '^42: '
same "$work/stub.ma" "$examples/cube.ma"
expect 0 version
has out "^library built into this program: Version $version\$"

# --- Help and usage errors.
expect 0 help
has out '^  creases ' '^  smooth-to-groups ' '^  swap-vertices ' '^  list ' '^  delete ' '^  empty ' '^  version '
for command in creases smooth-to-groups swap-vertices list delete empty version; do
  expect 0 help "$command"
  has out "^usage: pellando $command" '^Example:$' "^  pellando $command"
done
expect 0 creases --help
has out '^usage: pellando creases MESH\.obj SCENE\.ma'
expect 0 --help
has out '^  creases ' 'SmoothtoGroupOBJ +IN\.obj NUMBER OUT\.obj'
expect 2 help nothing
expect 2 creases "$obj"
has err 'takes MESH\.obj SCENE\.ma'
expect 2 creases "$obj" "$obj" --no-such-option
has err 'no such option: --no-such-option'
expect 2 creases "$obj" "$obj" --preview
has err '--preview needs FILE\.svg'
expect 2 creases "$obj" "$(native "$work/cube.ma")" --preview "$(native "$work/cube.ma")"
has err 'the preview would replace the mesh or the scene'
same "$work/cube.ma" "$work/export.ma"
expect 2 version extra
expect 2 list
has err 'takes one path'
echo "ok"
