#!/usr/bin/env bash
# Runs a Windows executable under Wine for CTest: wine-run.sh BITS program [args...]
# Exits 77 (CTest's skip code here) when this machine cannot run Wine of that width, for
# example a kernel without 32-bit executable support, which the 32-bit Wine loader needs.
set -u
bits=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-corvane}
if [ "$bits" = 32 ]; then
    loader=/usr/lib/wine/wine
else
    loader=/usr/lib/wine/wine64
fi
if [ ! -x "$loader" ]; then
    echo "wine-run: $loader is not installed; skipping $1" >&2
    exit 77
fi
# The 32-bit loader is an i386 program: on a kernel that cannot run those it fails at once.
if ! "$loader" --version >/dev/null 2>&1; then
    echo "wine-run: this machine cannot run the ${bits}-bit Wine loader ($loader); skipping $1" >&2
    exit 77
fi
# A wineserver and a booted prefix detached from CTest's pipes; otherwise CTest waits for
# the wineserver that the first run leaves behind.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    setsid "$loader" wineboot -i </dev/null >/dev/null 2>&1
fi
setsid "/usr/lib/wine/wineserver${bits}" -p </dev/null >/dev/null 2>&1 || true
exec "$loader" "$@"
