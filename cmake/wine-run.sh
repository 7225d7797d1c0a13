#!/usr/bin/env bash
# Runs a Windows executable under Wine for CTest: wine-run.sh BITS program [args...]
# Exits 77 (CTest's skip code here) when this machine cannot run Wine of that width, for
# example a kernel without 32-bit executable support, which the 32-bit Wine loader needs.
set -u
bits=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-corvane}
# A new prefix asks to install Mono and Gecko in a window; the tests need neither. A crashing
# test ends at once with its failure instead of starting the debugger, which would linger.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
if [ "$bits" = 32 ]; then
    loader=/usr/lib/wine/wine
else
    loader=/usr/lib/wine/wine64
fi
if [ ! -x "$loader" ]; then
    echo "wine-run: $loader is not installed; skipping $1" >&2
    exit 77
fi
# The 32-bit loader is an i386 program: on a kernel that cannot run those it fails at once
# ("Exec format error"), before any Wine process exists.
if ! "$loader" --version >/dev/null 2>&1; then
    echo "wine-run: this machine cannot run the ${bits}-bit Wine loader ($loader); skipping $1" >&2
    exit 77
fi
# One wineserver serves both widths; the 64-bit one where it is installed.
server=/usr/lib/wine/wineserver64
[ -x "$server" ] || server=/usr/lib/wine/wineserver32

# The prefix is made once, by one run at a time (CTest starts the suites in parallel). The
# wineserver and Wine's own services (started by wineboot) run detached from CTest's pipes:
# started by the test instead, they would inherit its output pipe and CTest would wait for
# them until the server ends.
mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9 # the lock's descriptor is closed for everything started here, which outlives it
    # Lingers 60 s after the last client, so back-to-back suites share the server and services.
    setsid "$server" -p60 </dev/null >/dev/null 2>&1 9>&- || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine-run: creating the Wine prefix $WINEPREFIX" >&2
        setsid -w "$loader" wineboot -i </dev/null >/dev/null 2>&1 9>&-
    else
        setsid -w "$loader" wineboot </dev/null >/dev/null 2>&1 9>&-
    fi
) 9>"$WINEPREFIX.lock"
exec "$loader" "$@"
