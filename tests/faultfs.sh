#!/bin/sh
# Small file systems for the fault tests, made by ctest before them and
# removed after them:
#   DIR/full      a 512 KiB tmpfs: a disk that fills up;
#   DIR/readonly  a tmpfs mounted read-only, holding files the tests know:
#                 file.txt, scene.ma, target.obj, folder/{a.obj,b.txt}.
# Mounting needs root; elsewhere DIR/unavailable says why and the tests that
# need the mounts skip.
# usage: faultfs.sh setup|cleanup DIR
set -u
action=$1 dir=$2

cleanup() {
  for mount in "$dir/full" "$dir/readonly"; do
    mountpoint -q "$mount" 2>/dev/null && umount "$mount"
  done
  rm -rf "$dir"
}

case "$action" in
setup)
  cleanup
  mkdir -p "$dir/full" "$dir/readonly"
  if [ "$(id -u)" != 0 ] || ! mount -t tmpfs -o size=512k pellando-full "$dir/full" 2>/dev/null; then
    echo "cannot mount file systems here" >"$dir/unavailable"
    echo "fault file systems unavailable: the tests that need them skip"
    exit 0
  fi
  mount -t tmpfs -o size=256k pellando-readonly "$dir/readonly" || exit 1
  printf 'old content\n' >"$dir/readonly/file.txt"
  printf '\tsetAttr -s 3 ".ed[0:2]"  0 1 0 1 2 0 2 0 0;\n\tsetAttr ".cd" -type "dataPolyComponent" Index_Data Edge 0 ;\n' \
    >"$dir/readonly/scene.ma"
  printf 'v 0 0 0\nv 1 0 0\nv 1 1 0\ng a\nf 1 2 3\n' >"$dir/readonly/target.obj"
  mkdir "$dir/readonly/folder"
  printf 'a\n' >"$dir/readonly/folder/a.obj"
  printf 'b\n' >"$dir/readonly/folder/b.txt"
  mount -o remount,ro "$dir/readonly" || exit 1
  echo "fault file systems mounted in $dir"
  ;;
cleanup)
  cleanup
  ;;
*)
  echo "usage: $0 setup|cleanup DIR" >&2
  exit 2
  ;;
esac
