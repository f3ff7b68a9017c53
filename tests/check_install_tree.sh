#!/bin/bash
# The install tree as a user gets it: installed by cmake --install into a
# temporary prefix, or unpacked from the release archive that cpack makes of
# the build into a clean folder. It holds its files (an archive also its
# checksums, and nothing outside its top folder), and its pellando, run
# without --library, finds the library, tells the versions and transfers the
# creases of examples/. For an installed tree also the order of the places
# the program looks in, and --library winning over them.
# usage: check_install_tree.sh OPTIONS [--] [RUNNER...]
#   --build DIR           the build tree
#   --archive NAME        check the archive NAME (else the installed tree)
#   --program PATH        the program, relative to the tree's top
#   --library PATH        the library, relative to the tree's top
#   --files "PATH..."     the other files the tree must hold
#   --examples DIR        the repository's examples/
#   --version VERSION     the project's version
#   --answer N            the library's answer to Version
#   --python DIR          also import the Python package from DIR (relative
#                         to the tree's top) with this machine's Python, and
#                         have it call the library
#   --windows OBJDUMP DEF FORMAT
#                         Windows programs: paths handed to them become
#                         Z:\..., and the tree's .dll and .exe files get the
#                         static checks of check_windows_dll.sh
#   RUNNER                what runs the build's programs (qemu, wine), if not
#                         the machine itself. A Windows tree with no runner
#                         (the 32-bit one where wine32 cannot work) is
#                         checked statically only.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAIL: $*"; exit 1; }

build= archive= program= library= files= examples= version= answer= python= objdump= def= format=
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --archive) archive=$2; shift 2 ;;
    --program) program=$2; shift 2 ;;
    --library) library=$2; shift 2 ;;
    --files) files=$2; shift 2 ;;
    --examples) examples=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    --answer) answer=$2; shift 2 ;;
    --python) python=$2; shift 2 ;;
    --windows) objdump=$2 def=$3 format=$4; shift 4 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
runner=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

native() { if [ -n "$objdump" ]; then printf 'Z:%s' "$1" | tr / '\\'; else printf '%s' "$1"; fi; }

# The tree: installed, or made by cpack and unpacked.
if [ -n "$archive" ]; then
  cpack --config "$build/CPackConfig.cmake" -B "$work/packages" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
  [ -f "$work/packages/$archive" ] || fail "cpack made $(ls "$work/packages" | tr '\n' ' '), not $archive"
  mkdir "$work/unpacked"
  (cd "$work/unpacked" && cmake -E tar xf "$work/packages/$archive")
  name=${archive%.zip}
  name=${name%.tar.gz}
  [ "$(ls -A "$work/unpacked")" = "$name" ] ||
    fail "$archive holds $(ls -A "$work/unpacked" | tr '\n' ' '), not one folder $name"
  top=$work/unpacked/$name
  (cd "$top" && sha256sum --quiet --strict -c SHA256SUMS.txt) || fail "the checksums of $archive do not match"
  listed=$(sed -n 's/^[0-9a-f]\{64\}  //p' "$top/SHA256SUMS.txt")
  held=$(cd "$top" && find . -type f ! -name SHA256SUMS.txt | sed 's|^\./||' | LC_ALL=C sort)
  [ "$listed" = "$held" ] || fail "SHA256SUMS.txt does not list exactly the files of $archive:
--- listed
$listed
--- held
$held"
else
  cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install failed"; }
  top=$work/prefix
fi
for file in "$program" "$library" $files; do
  [ -f "$top/$file" ] || fail "the tree has no $file"
done

if [ -n "$objdump" ]; then
  # Every program and library of the tree: nothing but KERNEL32 and the C
  # runtime needed on the user's machine; the library's exports as listed.
  checked=
  while IFS= read -r binary; do
    if [ "$binary" = "$top/$library" ]; then exports=$def; else exports=-; fi
    sh "$here/check_windows_dll.sh" "$objdump" "$binary" "$exports" "$format" >"$work/static.log" ||
      { cat "$work/static.log"; exit 1; }
    checked="$checked ${binary#"$top/"}"
  done < <(find "$top" -type f \( -iname '*.exe' -o -iname '*.dll' \))
  if [ ${#runner[@]} = 0 ]; then
    echo "ok: files${archive:+, checksums} and static checks of$checked; not run (no wine32 here)"
    exit 0
  fi
fi

# run ARGUMENTS...: the tree's program; its output (CR removed) in $output,
# its exit status in $status.
run() {
  set +e
  output=$("${runner[@]}" "$top/$program" "$@" 2>&1)
  status=$?
  set -e
  output=${output//$'\r'/}
}
# expect STATUS PATTERN ARGUMENTS...: the exit status, and a line of the
# output matching the pattern.
expect() {
  local want=$1 pattern=$2
  shift 2
  run "$@"
  [ "$status" = "$want" ] || fail "exit status $status, not $want: pellando $*
$output"
  grep -Eq -- "$pattern" <<<"$output" || fail "no line matching '$pattern': pellando $*
$output"
}
# The library file --version names, as the program names it.
loaded() {
  run --version
  [ "$status" = 0 ] || fail "pellando --version: exit status $status
$output"
  sed -n 's/^library \(.*\): Version .*$/\1/p' <<<"$output"
}

# The versions, and one crease transfer on copies of the examples.
expect 0 "^pellando $version\$" --version
expect 0 "^library .*: Version $answer\$" --version
cp "$examples/cube.obj" "$examples/cube.ma" "$work/"
expect 0 '^3: scene written; number of groups$' GetCreases "$(native "$work/cube.obj")" 1 "$(native "$work/cube.ma")"
grep -q '^  setAttr ".cd" -type "dataPolyComponent" Index_Data Edge 10' "$work/cube.ma" ||
  fail "cube.ma has no new crease statement"
if [ -n "$python" ]; then
  answered=$(cd "$work" && PYTHONPATH="$top/$python" PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 -c \
    'import pellando; print(pellando.load()); print(pellando.version())' 2>&1) ||
    fail "the Python package of the tree cannot load the library: $answered"
  [ "$(head -n 1 <<<"$answered")" -ef "$top/$library" ] && [ "$(tail -n 1 <<<"$answered")" = "$answer" ] ||
    fail "the Python package of the tree answers: $answered"
fi
if [ -n "$archive" ]; then
  echo "ok: $archive"
  exit 0
fi

# Where the installed program looks, in order: beside itself, the install's
# library folder, the system's search (LD_LIBRARY_PATH; PATH under wine).
library_name=${library##*/}
program_dir=$top/${program%/*}
installed=("${runner[@]}")
search_also() {
  if [ -n "$objdump" ]; then
    runner=(env WINEPATH="$(native "$1")" "${installed[@]}")
  else
    runner=(env LD_LIBRARY_PATH="$1" "${installed[@]}")
  fi
}
is_installed() {
  if [ -n "$objdump" ]; then [ "$1" = "$(native "$top/$library")" ]; else [ "$1" -ef "$top/$library" ]; fi
}
mkdir "$work/elsewhere"
cp "$top/$library" "$work/elsewhere/"
search_also "$work/elsewhere"
is_installed "$(loaded)" || fail "--version names $(loaded), not the installed $library"
if [ "$program_dir/$library_name" != "$top/$library" ]; then
  cp "$top/$library" "$program_dir/"
  [ "$(loaded)" = "$(native "$program_dir/$library_name")" ] ||
    fail "a library beside the program does not come first: --version names $(loaded)"
  rm "$program_dir/$library_name"
fi
# --library wins, and a missing one is not replaced by another.
chosen=$(native "$work/elsewhere/$library_name")
run --library "$chosen" --version
grep -Fxq "library $chosen: Version $answer" <<<"$output" || fail "--library $chosen does not win:
$output"
expect 2 'pellando: ' --library "$(native "$work/missing/$library_name")" Version
# Not in the tree: the system's search, and when that fails too, every place named.
rm "$top/$library"
expect 0 "^library $library_name: Version $answer\$" --version
runner=("${installed[@]}")
expect 2 'cannot load the library from any of these places' Version
grep -Fq -- "$(native "$program_dir/$library_name")" <<<"$output" || fail "the error does not name the program's folder:
$output"
[ "$program_dir/$library_name" = "$top/$library" ] || grep -Fq -- "/${library%/*}/$library_name" <<<"$output" ||
  fail "the error does not name the install's library folder:
$output"
grep -Fq -- "$library_name (the system's search)" <<<"$output" || fail "the error does not name the system's search:
$output"
echo "ok: installed tree"
