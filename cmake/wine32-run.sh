#!/bin/sh
# Runs one 32-bit Windows program under wine32, in a 32-bit prefix of its
# own; ctest's emulator for the 32-bit Windows build where this machine runs
# 32-bit x86 code natively. See wine-run.sh.
PELLANDO_WINE_BITS=32 exec "$(dirname "$0")/wine-run.sh" "$@"
