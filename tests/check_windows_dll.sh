#!/bin/sh
# Static checks of a Windows build of the library (or of a program):
#   the file format (PE32 for i386, or PE32+ for x86-64),
#   the export table: exactly the names of the .def file, undecorated
#   (none for a program: DEF-FILE -),
#   the imports: the C runtime and KERNEL32 only.
# usage: check_windows_dll.sh OBJDUMP DLL-OR-EXE DEF-FILE|- FORMAT
set -eu
objdump=$1 dll=$2 def=$3 format=$4
fail() { echo "FAIL: $*"; exit 1; }

"$objdump" -f "$dll" | grep -q "file format $format" ||
  fail "$dll is not $format: $("$objdump" -f "$dll" | grep 'file format')"

expected=
if [ "$def" != - ]; then
  expected=$(sed -n '/^EXPORTS/,$p' "$def" | sed '1d; s/;.*//; s/[[:space:]]//g; /^$/d' | sort)
fi
# The "[Ordinal/Name Pointer] Table" lists one export a line: "[   0] Name".
actual=$("$objdump" -p "$dll" | sed -n '/Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort)
[ "$actual" = "$expected" ] || fail "exports differ from $def:
--- expected
$expected
--- actual
$actual"

imports=$("$objdump" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr 'A-Z' 'a-z' | sort -u)
for name in $imports; do
  case "$name" in
    kernel32.dll|msvcrt.dll) ;;
    *) fail "$dll imports $name (only msvcrt.dll and KERNEL32.dll are allowed)" ;;
  esac
done
echo "ok: $format, exports: $(echo $actual), imports: $(echo $imports)"
