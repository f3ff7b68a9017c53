#!/bin/sh
# Runs one Windows program under wine64; ctest's emulator for the Windows build.
#
# Wine's trap: wine's server and background programs (services, devices),
# which a program start may bring up, inherit that start's output and outlive
# the program; whoever reads the output through a pipe (ctest, a CI log) then
# waits for them to go away. So the program's output goes to files, which are
# copied to ours once it has ended, and the server is started detached.
WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/pellando-wine-$(id -u)}
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
# PELLANDO_WINE=/usr/lib/wine/wine runs a 32-bit program (wine32).
wine=${PELLANDO_WINE:-/usr/lib/wine/wine64}
server=/usr/lib/wine/wineserver

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
