#!/bin/sh
# Runs one Windows program under wine; ctest's emulator for the Windows
# builds. 64-bit programs run under wine64 in $WINEPREFIX; 32-bit ones, through
# cmake/wine32-run.sh, under wine32 in a 32-bit prefix of their own
# ($PELLANDO_WINE32_PREFIX), so that neither flavour trips the other: a
# prefix is made for one or the other, and each prefix has its own server.
#
# Wine's trap: wine's server and background programs (services, devices),
# which a program start may bring up, inherit that start's output and outlive
# the program; whoever reads the output through a pipe (ctest, a CI log) then
# waits for them to go away. So the program's output goes to files, which are
# copied to ours once it has ended, and the server is started detached.
if [ "${PELLANDO_WINE_BITS:-64}" = 32 ]; then
  WINEPREFIX=${PELLANDO_WINE32_PREFIX:-${TMPDIR:-/tmp}/pellando-wine32-$(id -u)}
  # The server reads it when it makes a new prefix: a 32-bit one.
  WINEARCH=win32
  wine=/usr/lib/wine/wine
else
  WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/pellando-wine-$(id -u)}
  WINEARCH=win64
  wine=/usr/lib/wine/wine64
fi
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES
server=/usr/lib/wine/wineserver
if [ ! -x "$wine" ]; then
  echo "wine-run.sh: $wine is missing (package wine64, or wine32:i386 for 32-bit programs)" >&2
  exit 127
fi

mkdir -p "$WINEPREFIX"
# Stays up for a minute after its last program, which keeps later starts
# fast; a second start while it runs just exits.
setsid -w "$server" -p60 </dev/null >/dev/null 2>&1
# The first use makes the prefix, once: ctest starts several tests at a time.
if [ ! -f "$WINEPREFIX/.pellando-ready" ]; then
  flock "$WINEPREFIX/.pellando-lock" sh -c '
    [ -f "$WINEPREFIX/.pellando-ready" ] ||
      { "$0" wineboot -i </dev/null >/dev/null 2>&1 && touch "$WINEPREFIX/.pellando-ready"; }' "$wine"
fi

out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
"$wine" "$@" >"$out" 2>"$err"
status=$?
cat "$out"
cat "$err" >&2
exit $status
