#!/usr/bin/env bash
# Sets up a fresh machine, builds corvane-cli and runs the size test.
#
#   bash scripts/demo.sh            the simulated drive bay of examples/bay.ini: no real drive
#                                   is touched
#   bash scripts/demo.sh DRIVE ...  a real drive (as corvane-cli list shows it, or a device
#                                   path): DESTROYS everything on it, after asking; further
#                                   arguments go to corvane-cli test (--full, --allow-fixed)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target corvane-cli
cli=build/linux/src/corvane-cli

if [ $# -gt 0 ]; then
    exec "$cli" test "$@"
fi

export CORVANE_SIM=${CORVANE_SIM:-$PWD/examples/bay.ini}
echo "== corvane-cli list   (drives of $CORVANE_SIM)"
"$cli" list
echo
echo "== corvane-cli info F:"
"$cli" info F:
for drive in E: F: G: H:; do
    echo
    echo "== corvane-cli test $drive --yes"
    set +e
    "$cli" test "$drive" --yes
    code=$?
    set -e
    echo "(exit code $code)"
done
echo
echo "The diagnostic log of the last run: ${TMPDIR:-/tmp}/Corvane.log"
