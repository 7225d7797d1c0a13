#!/usr/bin/env bash
# A Wine drive letter whose device is an image file: the prefix's dosdevices entry "q::" links
# to it. The native suite's WineDrive test writes and reads blocks through the real Win32 calls
# and leaves the image it expects; the two must agree byte for byte.
#   wine_drive.sh BITS corvane_native_tests.exe
set -uo pipefail
bits=$1 suite=$2
here=$(cd "$(dirname "$0")" && pwd)
runner=$here/../../cmake/wine-run.sh
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-corvane}

work=$(mktemp -d)
link=$WINEPREFIX/dosdevices/q::
trap 'rm -f "$link"; rm -rf "$work"' EXIT
sectors=16384 # 8 MiB
truncate -s $((sectors * 512)) "$work/image.bin"
# The prefix exists once the runner has run; a first run makes it.
"$runner" "$bits" cmd /c exit 0 >/dev/null 2>&1
status=$?
[ $status -eq 77 ] && exit 77
mkdir -p "$WINEPREFIX/dosdevices"
rm -f "$link"
ln -s "$work/image.bin" "$link"

CORVANE_WINE_DRIVE=Q: CORVANE_WINE_SECTORS=$sectors \
CORVANE_WINE_EXPECTED="Z:${work//\//\\}\\expected.bin" \
    "$runner" "$bits" "$suite" --gtest_filter='WineDrive.*'
status=$?
[ $status -eq 0 ] || exit $status
if ! cmp "$work/image.bin" "$work/expected.bin"; then
    echo "wine drive: the image differs from what was written" >&2
    exit 1
fi
echo "wine drive: every block landed at its offset of the image"
